#include "DatabaseSetup.h"

#include "data/Schema.h"
#include "data/uAssistor.h"
#include "data/udmMain.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace DatabaseSetup {

namespace {

struct MenuEntry
{
    const char *code;
    const char *caption;
    const char *module; // "" for a group or an entry that opens no module
};

// Groups have 4-character codes under "04", items 6 characters under their group; entries without a
// module (groups, 系统帮助, 退出系统) get sfydymk '0'. 040202/040203 and
// 040302/040303 are the entries that write the ManualPaper and PaperInput registry flags.
const MenuEntry kMenu[] = {
    {"0401", "基础数据", ""},
    {"040101", "工种管理", "TfrmZyzl"},
    {"040102", "科目管理", "TfrmKm"},
    {"040103", "模块管理", "TfrmMk"},
    {"040104", "能力管理", "TfrmNl"},
    {"0402", "组卷管理", ""},
    {"040201", "组卷计划", "TfrmZjjh"},
    {"040202", "人工组卷", "TfrmManualPaper"},
    {"040203", "试卷管理", "TfrmPaperManage"},
    {"0403", "题库管理", ""},
    {"040301", "题库统计", "TfrmQuesStat"},
    {"040302", "题库制作", "TfrmQuesMake"},
    {"040303", "试题批量导入", "TfrmQuesImport"},
    {"040304", "试题审核", "TfrmQuesAudit"},
    {"040305", "大内容试题修订", "TfrmBigQuesEdit"},
    {"0404", "考试管理", ""},
    {"040401", "考试计划", "TfrmKsjh"},
    {"040402", "指定考试试卷", "TfrmZdkssj"},
    {"040403", "指定考试人员", "TfrmZdksry"},
    {"040404", "考试登录界面", "TfrmLoginExam"},
    {"040405", "考试评分", "TfrmKspf"},
    {"0405", "在线练习", ""},
    {"040501", "选择练习类别", "TfrmXzlxlb"},
    {"0406", "系统管理", ""},
    {"040601", "部门岗位", "TfrmBmgw"},
    {"040602", "人员管理", "TfrmRy"},
    {"040603", "角色权限管理", "TfrmJsqxgl"},
    {"040604", "题库权限设置", "TfrmTkqx"},
    {"040605", "系统帮助", ""},
    {"040606", "退出系统", ""},
};

struct Lookup
{
    const char *table;
    const char *key;
    const char *name;
    const char *rows; // names separated by '|', keys 1, 2, 3 ... in this order
};

const Lookup kLookups[] = {
    {"dj", "djlsh", "djmc", "Ⅰ级|Ⅱ级|Ⅲ级"},
    {"lb", "lblsh", "lbmc", "理论类|操作类|综合类"},
    {"xl", "xllsh", "xlmc", "初中及以下|高中|中专|大专|本科|研究生|博士生"},
    {"zc", "zclsh", "zcmc", "技术员|助理工程师|工程师|高级工程师|教授级高级工程师"},
    {"zcdj", "zcdjlsh", "zcdjmc", "初级|中级|高级|未评审"},
    {"gj", "gjlsh", "gjmc", "初级|中级|高级"},
    {"rylx", "rylxlsh", "rylxmc", "管理人员|专业技术人员|技能人员|其他人员"},
    {"glrylx", "glrylxlsh", "glrylxmc", "行政管理人员|党群管理人员|经营管理人员|生产管理人员"},
    {"jndj", "jndjlsh", "jndjmc", "初级工|中级工|高级工|技师"},
    {"zzqkb", "zzqklsh", "zzqk", "在职|退休|内部退养|长期病假|协议保留劳动关系"},
};

struct QuestionType
{
    int code;
    const char *name;
    int order;
    double score;
};

// 1, 2, 5 and 12 are the objective types; 4 and 6 get 3 answer lines in a paper, types above 6 get 6.
const QuestionType kTypes[] = {
    {1, "判断题", 1, 1}, {2, "单选题", 2, 1},    {5, "多选题", 3, 2},   {12, "排序题", 4, 2},
    {3, "填空题", 5, 1}, {4, "名词解释", 6, 3},  {6, "简答题", 7, 5},   {7, "计算题", 8, 10},
    {9, "识图题", 9, 5}, {10, "绘图题", 10, 10}, {8, "论述题", 11, 10},
};

const char *const kDifficulties[] = {"易", "较易", "中等", "较难", "难"};

QString lit(DbEngine e, const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return (e == DbEngine::SqlServer ? QStringLiteral("N'") : QStringLiteral("'")) + s + QLatin1Char('\'');
}

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

QStringList referenceStatements(DbEngine e)
{
    QStringList out;
    for (const Lookup &l : kLookups) {
        const QStringList names = u(l.rows).split(QLatin1Char('|'));
        for (int i = 0; i < names.size(); ++i)
            out << QStringLiteral("insert into %1 (%2, %3) values (%4, %5)")
                       .arg(u(l.table), u(l.key), u(l.name))
                       .arg(i + 1)
                       .arg(lit(e, names[i]));
    }
    for (const QuestionType &t : kTypes)
        out << QStringLiteral("insert into tx (txlsh, txmc, xssx, mrfz) values (%1, %2, %3, %4)")
                   .arg(t.code)
                   .arg(lit(e, u(t.name)))
                   .arg(t.order)
                   .arg(t.score);
    for (int i = 0; i < 5; ++i)
        out << QStringLiteral("insert into nd (ndlsh, ndmc, xssx) values (%1, %2, %1)")
                   .arg(i + 1)
                   .arg(lit(e, u(kDifficulties[i])));
    for (const MenuEntry &m : kMenu) {
        const QString code = u(m.code);
        const bool group = code.size() == 4;
        const bool opens = *m.module != '\0';
        out << QStringLiteral("insert into gncd (cdbh, sjcdbh, cdmc, mknm, sfydymk, sfsy) "
                              "values ('%1', '%2', %3, '%4', '%5', '1')")
                   .arg(code, group ? QStringLiteral("04") : code.left(4), lit(e, u(m.caption)), u(m.module),
                        opens ? QStringLiteral("1") : QStringLiteral("0"));
    }
    out << QStringLiteral("insert into js (jslsh, jsmc) values (1, %1)")
               .arg(lit(e, QStringLiteral("系统管理员")));
    for (const MenuEntry &m : kMenu)
        out << QStringLiteral("insert into jsgnqx (cdbh, jslsh) values ('%1', 1)").arg(u(m.code));
    out << QStringLiteral(
               "insert into ry (rylsh, ryxm, dlzh, dlmm, jslsh, zzqklsh, xb, hf, sfjzpxy, sfjxjyry, "
               "sfkpsczgj, sftkgly) values (1, %1, 'admin', %2, 1, 1, '1', '0', '0', '0', '0', '1')")
               .arg(lit(e, QStringLiteral("系统管理员")),
                    lit(e, TAssistor::EncodePassword(kInitialAdminPassword)));
    return out;
}

QStringList existingTables(TdmMain &dm)
{
    QStringList found;
    const QStringList present = dm.database().tables(QSql::Tables);
    for (const Schema::Table &t : Schema::tables()) {
        for (const QString &p : present) {
            if (p.compare(t.name, Qt::CaseInsensitive) == 0 ||
                p.endsWith(QLatin1Char('.') + t.name, Qt::CaseInsensitive)) {
                found << t.name;
                break;
            }
        }
    }
    return found;
}

bool createDatabase(TdmMain &dm, bool force, QString &error)
{
    error.clear();
    if (!dm.isConnected()) {
        error = dm.connectionError();
        return false;
    }
    const QStringList existing = existingTables(dm);
    if (!existing.isEmpty() && !force) {
        error = QStringLiteral("数据库中已有表（%1），未做任何修改。要重建请加 --force（原有数据将被删除）。")
                    .arg(existing.join(QStringLiteral(", ")));
        return false;
    }
    QStringList statements;
    if (!existing.isEmpty())
        statements << Schema::dropStatements(dm.engine());
    statements << Schema::createStatements(dm.engine()) << referenceStatements(dm.engine());
    return dm.execBatch(statements, error);
}

} // namespace DatabaseSetup
