#include "bank/uAbilityList.h"

#include "app/uCodeLists.h"
#include "data/DataAccess.h"
#include "platform/ClientDataSet.h"
#include "platform/SharedServices.h"
#include "platform/widgets/DataGrid.h"

#include <QHeaderView>

namespace AbilityList {

QString Sql(int tradeKey, int level, bool ordered)
{
    QString sql =
        QStringLiteral("select a.nlzlxh, a.nlzlmc, b.nlxbh, b.nlxmc, djlsh, nlxdjms, nlxdjgxlsh, b.nlxbm "
                       "from nlzl a, nlx b, nlxdjgxb c where a.nlzllsh = b.nlzllsh and "
                       "b.nlxlsh = c.nlxlsh  and a.zyzllsh = ") +
        QString::number(tradeKey);
    if (level > 0)
        sql += QStringLiteral(" and c.djlsh = ") + QString::number(level);
    if (ordered)
        sql += QStringLiteral(" order by nlzlxh, nlxbh, djlsh");
    return sql;
}

bool Load(const QString &sql, ClientDataSet *ds)
{
    ClientDataSet fetched;
    if (!OpenSql(sql, &fetched))
        return false;
    QList<ClientDataSet::Field> fields = fetched.fields();
    for (const char *name : {"nlzl_show", "nlx_show", "nlbm_show", "djmc"})
        fields << ClientDataSet::Field{QLatin1String(name), QMetaType::QString};
    QList<QVariantList> rows;
    const QString gap = QStringLiteral("  ");
    for (fetched.first(); !fetched.eof(); fetched.next()) {
        QVariantList row;
        for (int c = 0; c < fetched.fieldCount(); ++c)
            row << fetched.value(c);
        const QString xh = fetched.asString(QStringLiteral("nlzlxh"));
        // The item's stored code: the number column would drop the leading zero of "03".
        QString bh = fetched.asString(QStringLiteral("nlxbm"));
        if (bh.isEmpty())
            bh = xh + fetched.asString(QStringLiteral("nlxbh"));
        const int level = fetched.asInt(QStringLiteral("djlsh"));
        row << xh + gap + fetched.asString(QStringLiteral("nlzlmc"));
        row << bh + gap + fetched.asString(QStringLiteral("nlxmc"));
        row << bh + QLatin1Char('-') + RomanNumeral(level);
        const int at = CodeLists::IndexOfCode(level, CodeLists::Levels());
        row << (at >= 0 ? CodeLists::Levels().at(at) : QString());
        rows << row;
    }
    ds->disableScroll();
    ds->setRows(fields, rows);
    ds->enableScroll();
    return true;
}

void SetupGrid(DataGrid *grid, ClientDataSet *ds, bool withLevel)
{
    grid->setDataSet(ds);
    grid->addRowNumberColumn();
    grid->addColumn(QStringLiteral("nlzl_show"), QStringLiteral("能力种类"), 150);
    grid->addColumn(QStringLiteral("nlx_show"), QStringLiteral("能力项"), 180);
    if (withLevel)
        grid->addColumn(QStringLiteral("djmc"), QStringLiteral("等级"), 60);
    grid->addColumn(QStringLiteral("nlbm_show"), QStringLiteral("能力编码"), 90);
    grid->addColumn(QStringLiteral("nlxdjms"), QStringLiteral("能力描述"), 320);
    grid->setWordWrap(true);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

} // namespace AbilityList
