// Demo organisation: departments and posts of a power-supply training centre, roles with their menus,
// and people with accounts (password 123456, see README.md).

#include "DemoData.h"

#include "data/uAssistor.h"
#include "data/udmMain.h"

#include <QDate>

namespace {

const char *const kDemoPassword = "123456";

struct Dept
{
    int key;
    int parent; // 0: top level
    const char *name;
    const char *code;
    bool production;
    int order;
    const char *about;
};

const Dept kDepts[] = {
    {1, 0, "培训中心", "PX", false, 1, "负责技能培训、题库建设与技能鉴定考试"},
    {2, 0, "变电运行工区", "BD", true, 2, "220kV及以下变电站运行维护"},
    {3, 0, "输电线路工区", "SD", true, 3, "输电线路巡视、检修与带电作业"},
    {4, 0, "人力资源部", "RL", false, 4, "人员、岗位与培训计划管理"},
    {5, 2, "变电运行一班", "BD01", true, 1, "城东变电站运行值班"},
    {6, 2, "继电保护班", "BD02", true, 2, "保护装置校验与定值管理"},
    {7, 3, "带电作业班", "SD01", true, 1, "10kV至220kV带电作业"},
};

struct Post
{
    int key;
    int dept;
    const char *name;
    const char *nature;
    const char *code;
};

const Post kPosts[] = {
    {1, 1, "培训专责", "管理", "PX-01"},     {2, 1, "题库管理员", "管理", "PX-02"},
    {3, 5, "值班长", "生产", "BD01-01"},     {4, 5, "值班员", "生产", "BD01-02"},
    {5, 6, "继电保护工", "生产", "BD02-01"}, {6, 7, "带电作业工", "生产", "SD01-01"},
    {7, 4, "人事专责", "管理", "RL-01"},
};

struct Role
{
    int key;
    const char *name;
    const char *entries; // menu codes, groups included
};

const Role kRoles[] = {
    {2, "题库管理员", "0401 040101 040102 040103 040104 0403 040301 040302 040303 040304 040305"},
    {3, "考务管理员", "0402 040201 040202 040203 0404 040401 040402 040403 040405"},
    {4, "考生", "0404 040404 0405 040501"},
    {5, "人事管理员", "0406 040601 040602"},
};

struct Person
{
    int key;
    const char *name;
    const char *account;
    const char *employeeNo;
    int dept;
    int post;
    int role;
    const char *sex; // '1' male
    int education;   // xl
    int personType;  // rylx
    int skill;       // jndj, 0 none
    const char *phone;
    const char *started; // date of starting work
    bool bankAdmin;      // sftkgly
    bool trainer;        // sfjzpxy
};

const Person kPeople[] = {
    {2, "张建国", "zhangjg", "PX0001", 1, 2, 2, "1", 5, 2, 0, "13807310001", "1996-07-15", true, true},
    {3, "李明", "liming", "PX0002", 1, 1, 3, "1", 5, 1, 0, "13807310002", "2001-08-01", false, true},
    {4, "周慧敏", "zhouhm", "RL0001", 4, 7, 5, "0", 6, 1, 0, "13807310003", "2008-07-10", false, false},
    {5, "王芳", "wangfang", "BD1001", 5, 4, 4, "0", 4, 3, 2, "13807310011", "2012-07-20", false, false},
    {6, "赵磊", "zhaolei", "BD1002", 5, 3, 4, "1", 5, 3, 3, "13807310012", "2006-03-01", false, false},
    {7, "陈静", "chenjing", "BD2001", 6, 5, 4, "0", 5, 3, 2, "13807310013", "2015-07-06", false, false},
    {8, "刘洋", "liuyang", "SD1001", 7, 6, 4, "1", 3, 3, 1, "13807310014", "2018-09-01", false, false},
    {9, "黄志强", "huangzq", "SD1002", 7, 6, 4, "1", 4, 3, 4, "13807310015", "1999-04-12", false, true},
};

QString u(const char *s)
{
    return QString::fromUtf8(s);
}

bool loadOrganisation(TdmMain &dm, QString &error)
{
    if (demoHasRows(dm, QStringLiteral("select bmlsh from bm")))
        return true; // an organisation is there already: leave it alone
    const Dialect &d = dm.dialect();
    QStringList sql;
    for (const Dept &x : kDepts) {
        int level = 0;
        for (int p = x.parent; p; ++level)
            p = kDepts[p - 1].parent;
        sql << QStringLiteral("insert into bm (bmlsh, bm_bmlsh, bmmc, bmdm, sfsczz, jb, xssx, bmms) "
                              "values (%1, %2, %3, %4, '%5', %6, %7, %8)")
                   .arg(x.key)
                   .arg(x.parent ? QString::number(x.parent) : QStringLiteral("null"))
                   .arg(demoText(dm, u(x.name)), demoText(dm, u(x.code)))
                   .arg(x.production ? 1 : 0)
                   .arg(level)
                   .arg(x.order)
                   .arg(demoText(dm, u(x.about)));
    }
    for (const Post &p : kPosts)
        sql << QStringLiteral("insert into gw (gwlsh, bmlsh, gwmc, gwxz, gwdm, xssx, gwms) values (%1, %2, "
                              "%3, %4, %5, %1, null)")
                   .arg(p.key)
                   .arg(p.dept)
                   .arg(demoText(dm, u(p.name)), demoText(dm, u(p.nature)), demoText(dm, u(p.code)));
    for (const Role &r : kRoles) {
        if (demoHasRows(dm, QStringLiteral("select jslsh from js where jslsh = %1").arg(r.key)))
            continue;
        sql << QStringLiteral("insert into js (jslsh, jsmc) values (%1, %2)")
                   .arg(r.key)
                   .arg(demoText(dm, u(r.name)));
        for (const QString &code : u(r.entries).split(QLatin1Char(' ')))
            sql << QStringLiteral("insert into jsgnqx (cdbh, jslsh) values ('%1', %2)").arg(code).arg(r.key);
    }
    const QString stored = TAssistor::EncodePassword(u(kDemoPassword));
    for (const Person &p : kPeople) {
        const QDate started = QDate::fromString(u(p.started), QStringLiteral("yyyy-MM-dd"));
        sql << QStringLiteral(
                   "insert into ry (rylsh, bmlsh, gwlsh, jslsh, ryxm, dlzh, dlmm, zggh, xb, hf, zzqklsh, "
                   "xllsh, "
                   "rylxlsh, glrylxlsh, jndjlsh, lxdh, cjgzsj, lbqysj, sfjzpxy, sfjxjyry, sfkpsczgj, "
                   "sftkgly, "
                   "pxyjb, mz, zzmm) values (%1, %2, %3, %4, %5, %6, %7, %8, '%9', '1', 1, %10, %11, %12, "
                   "%13, %14, %15, %15, '%16', '0', '0', '%17', %18, %19, %20)")
                   .arg(p.key)
                   .arg(p.dept)
                   .arg(p.post)
                   .arg(p.role)
                   .arg(demoText(dm, u(p.name)), demoText(dm, u(p.account)), demoText(dm, stored),
                        demoText(dm, u(p.employeeNo)), u(p.sex))
                   .arg(p.education)
                   .arg(p.personType)
                   .arg(p.personType == 1 ? QStringLiteral("4") : QStringLiteral("null"))
                   .arg(p.skill ? QString::number(p.skill) : QStringLiteral("null"))
                   .arg(demoText(dm, u(p.phone)), d.dateTimeLiteral(started.startOfDay()))
                   .arg(p.trainer ? 1 : 0)
                   .arg(p.bankAdmin ? 1 : 0)
                   .arg(p.trainer ? QStringLiteral("1") : QStringLiteral("null"))
                   .arg(demoText(dm, QStringLiteral("汉族")), demoText(dm, QStringLiteral("群众")));
    }
    // The administrator belongs to the training centre.
    sql << QStringLiteral("update ry set bmlsh = 1, gwlsh = 1 where dlzh = 'admin'");
    return dm.execBatch(sql, error);
}

const DemoStep step(100, "组织机构：部门、岗位、角色、人员", loadOrganisation);

} // namespace
