#pragma once

#include <QString>

class ClientDataSet;
class DataGrid;

// The flat list of a trade's abilities (category, item, description per level), as the all-abilities
// grid of 能力管理 and the chooser 选择能力项 show it.
namespace AbilityList {

// "select a.nlzlxh, a.nlzlmc, b.nlxbh, b.nlxmc, djlsh, nlxdjms, nlxdjgxlsh, b.nlxbm from nlzl a, nlx b,
// nlxdjgxb c where ... and a.zyzllsh = <trade>", restricted to one level when level > 0, ordered by
// category, item and level when ordered.
QString Sql(int tradeKey, int level, bool ordered);

// Runs sql into ds and adds the shown texts as columns: nlzl_show ("2  种类"), nlx_show ("203  名称"),
// nlbm_show ("203-Ⅱ"), djmc (level name). The item code is the stored nlxbm (category sequence number and
// item number as typed). False when the query failed.
bool Load(const QString &sql, ClientDataSet *ds);

// The grid columns: 序号, 能力种类, 能力项, [等级,] 能力编码, 能力描述 (rows grow with the text).
void SetupGrid(DataGrid *grid, ClientDataSet *ds, bool withLevel);

} // namespace AbilityList
