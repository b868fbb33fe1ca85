// Demo outline of the question bank: two trades of the power-supply field, a subject for every level and
// category of each, modules (some shared between subjects, one across both trades), and an ability outline
// per trade with descriptions on all three levels, linked to the subjects that train them.

#include "DemoData.h"

#include "data/udmMain.h"

namespace {

QString u(const char *s)
{
    return QString::fromUtf8(s);
}

const char *const kRoman[] = {"Ⅰ", "Ⅱ", "Ⅲ"};

struct Subject
{
    int level;    // 1..3
    int category; // 1 理论类, 2 操作类, 3 综合类
    const char *code;
    const char *name;
    int assess; // khfslsh
    int train;  // pxfslsh
    int hours;
    const char *modules; // module numbers of the trade's module table, space separated
};

struct Module
{
    const char *code;
    const char *name;
};

struct Item
{
    const char *number; // as typed: "01"
    const char *name;
    const char *levels[3]; // description at Ⅰ, Ⅱ, Ⅲ
};

struct Category
{
    const char *seq; // nlzlxh
    const char *name;
    QList<Item> items;
};

struct Trade
{
    const char *name;
    int postType;
    QList<Module> modules;
    QList<Subject> subjects;
    QList<Category> abilities;
};

const QList<Module> kSharedModules = {
    {"GY-01", "电力安全工作规程"},
    {"GY-02", "电工基础"},
};

// Module numbers: 1 and 2 are the shared modules above, 3.. the trade's own.
const QList<Trade> kTrades = {
    {"变电运行",
     1,
     {{"BD-M01", "变电设备结构与原理"},
      {"BD-M02", "设备巡视检查"},
      {"BD-M03", "电气主接线"},
      {"BD-M04", "倒闸操作票填写"},
      {"BD-M05", "倒闸操作实施"},
      {"BD-M06", "继电保护及自动装置"},
      {"BD-M07", "事故及异常处理"},
      {"BD-M08", "运行管理制度"}},
     {{1, 1, "BD101", "电工基础与变电设备", 1, 1, 40, "2 3"},
      {1, 2, "BD121", "变电设备巡视", 2, 2, 24, "4 3"},
      {1, 3, "BD131", "变电运行安全基础", 4, 1, 16, "1 4"},
      {2, 1, "BD201", "变电站电气主接线", 1, 3, 32, "5 3"},
      {2, 2, "BD221", "倒闸操作", 2, 5, 40, "6 7 1"},
      {2, 3, "BD231", "变电运行规程与操作", 4, 2, 24, "6 7 10"},
      {3, 1, "BD301", "继电保护与自动装置原理", 1, 4, 32, "8"},
      {3, 2, "BD321", "事故及异常处理", 6, 2, 40, "9 8"},
      {3, 3, "BD331", "变电站运行管理", 5, 4, 24, "10 9"}},
     {{"1",
       "设备巡视",
       {{"01",
         "一次设备巡视",
         {"能按巡视路线检查变压器、断路器、隔离开关的外观、声音、温度和油位",
          "能发现一次设备的发热、放电、渗漏油等缺陷并正确判断其严重程度",
          "能组织特殊巡视，分析缺陷发展趋势并提出处理意见"}},
        {"02",
         "二次设备巡视",
         {"能检查保护屏、测控屏的信号灯、压板和把手位置", "能核对保护装置定值区、压板投退与运行方式是否相符",
          "能分析二次回路异常信号并提出处理措施"}}}},
      {"2",
       "倒闸操作",
       {{"01",
         "操作票填写",
         {"能按操作任务填写简单的单一设备停送电操作票", "能填写线路、母线、变压器的停送电操作票",
          "能审核复杂倒闸操作票并指出错误"}},
        {"02",
         "操作实施",
         {"能在监护下完成隔离开关、断路器的单项操作", "能担任监护人完成线路及变压器的倒闸操作",
          "能指挥母线倒换、旁路代路等复杂操作"}}}},
      {"3",
       "事故处理",
       {{"01",
         "异常判断",
         {"能识别常见告警信号并及时汇报", "能根据保护动作信息判断故障范围",
          "能综合分析复杂事故的原因并制定处理方案"}}}}}},
    {"配电线路",
     1,
     {{"PD-M01", "配电线路基础知识"},
      {"PD-M02", "登杆与高处作业"},
      {"PD-M03", "导线架设与紧线"},
      {"PD-M04", "配电变压器安装"},
      {"PD-M05", "线路巡视与缺陷管理"},
      {"PD-M06", "带电作业技术"},
      {"PD-M07", "故障查找与处理"}},
     {{1, 1, "PD101", "配电线路基础知识", 1, 1, 32, "2 3"},
      {1, 2, "PD121", "登杆作业", 2, 2, 24, "4 1"},
      {1, 3, "PD131", "配电线路安全工作规程", 4, 1, 16, "1 3"},
      {2, 1, "PD201", "配电线路设计与施工", 1, 3, 32, "5 3"},
      {2, 2, "PD221", "配电变压器安装与检修", 2, 5, 40, "6 5"},
      {2, 3, "PD231", "配电线路运行维护", 4, 2, 24, "7 6"},
      {3, 1, "PD301", "配电网规划与可靠性", 1, 4, 24, "7"},
      {3, 2, "PD321", "带电作业", 6, 2, 48, "8 1"},
      {3, 3, "PD331", "配电线路故障分析与处理", 5, 4, 32, "9 7"}},
     {{"1",
       "线路施工",
       {{"01",
         "登杆作业",
         {"能正确使用脚扣、安全带完成登杆和杆上站位", "能在杆上完成横担、绝缘子的安装",
          "能组织多人配合的杆上作业并做好安全监护"}},
        {"02",
         "导线架设",
         {"能完成导线展放和绑扎", "能按弧垂表完成紧线和弧垂观测", "能编制导线架设施工方案"}}}},
      {"2",
       "运行维护",
       {{"01",
         "线路巡视",
         {"能按周期巡视线路并记录缺陷", "能判断缺陷等级并提出处理建议", "能分析线路运行数据并制定维护计划"}},
        {"02",
         "故障处理",
         {"能在指导下查找线路接地故障", "能独立查找并隔离短路和接地故障", "能组织大面积停电故障的抢修"}}}}}},
};

bool loadBank(TdmMain &dm, QString &error)
{
    if (demoHasRows(dm, QStringLiteral("select zyzllsh from zyzl")) ||
        demoHasRows(dm, QStringLiteral("select kmlsh from km")))
        return true; // an outline is there already: leave it alone
    bool ok = true;
    auto next = [&](const char *table, const char *key) {
        bool good = false;
        const int max = dm.getMaxId(u(table), u(key), &good);
        ok = ok && good;
        return max + 1;
    };
    int trade = next("zyzl", "zyzllsh"), subject = next("km", "kmlsh"), module = next("mk", "mklsh");
    int category = next("nlzl", "nlzllsh"), item = next("nlx", "nlxlsh"),
        description = next("nlxdjgxb", "nlxdjgxlsh");
    if (!ok) {
        error = QStringLiteral("cannot read the highest keys");
        return false;
    }

    QStringList sql;
    QList<int> shared;
    for (const Module &m : kSharedModules) {
        sql << QStringLiteral("insert into mk (mklsh, mkbm, mkmc) values (%1, %2, %3)")
                   .arg(module)
                   .arg(demoText(dm, u(m.code)), demoText(dm, u(m.name)));
        shared << module++;
    }
    for (const Trade &t : kTrades) {
        const int tradeKey = trade++;
        sql << QStringLiteral("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (%1, %2, %3)")
                   .arg(tradeKey)
                   .arg(demoText(dm, u(t.name)))
                   .arg(t.postType);
        QList<int> modules = shared;
        for (const Module &m : t.modules) {
            sql << QStringLiteral("insert into mk (mklsh, mkbm, mkmc) values (%1, %2, %3)")
                       .arg(module)
                       .arg(demoText(dm, u(m.code)), demoText(dm, u(m.name)));
            modules << module++;
        }

        // Abilities: the descriptions of each level, kept for the subject links below.
        QList<int> byLevel[3];
        for (const Category &c : t.abilities) {
            const int categoryKey = category++;
            sql << QStringLiteral(
                       "insert into nlzl (nlzllsh, zyzllsh, nlzlxh, nlzlmc) values (%1, %2, %3, %4)")
                       .arg(categoryKey)
                       .arg(tradeKey)
                       .arg(demoText(dm, u(c.seq)), demoText(dm, u(c.name)));
            for (const Item &i : c.items) {
                const int itemKey = item++;
                const QString code = u(c.seq) + u(i.number);
                sql << QStringLiteral(
                           "insert into nlx (nlxlsh, nlzllsh, nlxbh, nlxbm, nlxmc) values (%1, %2, %3, "
                           "%4, %5)")
                           .arg(itemKey)
                           .arg(categoryKey)
                           .arg(u(i.number).toInt())
                           .arg(demoText(dm, code), demoText(dm, u(i.name)));
                for (int level = 1; level <= 3; ++level) {
                    sql << QStringLiteral(
                               "insert into nlxdjgxb (nlxdjgxlsh, nlxlsh, djlsh, nlxdjbm, nlxdjms) "
                               "values (%1, %2, %3, %4, %5)")
                               .arg(description)
                               .arg(itemKey)
                               .arg(level)
                               .arg(demoText(dm, code + QLatin1Char('-') + u(kRoman[level - 1])),
                                    demoText(dm, u(i.levels[level - 1])));
                    byLevel[level - 1] << description++;
                }
            }
        }

        int n = 0;
        for (const Subject &s : t.subjects) {
            const int subjectKey = subject++;
            sql << QStringLiteral(
                       "insert into km (kmlsh, zyzllsh, djlsh, lblsh, kmbm, kmmc, khfslsh, pxfslsh, "
                       "pxxs) values (%1, %2, %3, %4, %5, %6, %7, %8, %9)")
                       .arg(subjectKey)
                       .arg(tradeKey)
                       .arg(s.level)
                       .arg(s.category)
                       .arg(demoText(dm, u(s.code)), demoText(dm, u(s.name)))
                       .arg(s.assess)
                       .arg(s.train)
                       .arg(s.hours);
            for (const QString &m : u(s.modules).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                sql << QStringLiteral("insert into kmmkgxb (mklsh, kmlsh) values (%1, %2)")
                           .arg(modules.at(m.toInt() - 1))
                           .arg(subjectKey);
            // Each subject trains two of the descriptions of its level, in turn.
            const QList<int> &offered = byLevel[s.level - 1];
            for (int k = 0; k < 2 && k < offered.size(); ++k)
                sql << QStringLiteral("insert into kmnlxgxb (kmlsh, nlxdjgxlsh) values (%1, %2)")
                           .arg(subjectKey)
                           .arg(offered.at((n + k) % offered.size()));
            ++n;
        }
    }
    return dm.execBatch(sql, error);
}

const DemoStep step(50, "题库大纲：工种、科目、模块、能力", loadBank);

} // namespace
