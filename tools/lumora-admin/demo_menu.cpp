// Demo roles that show the role-based menu from different sides: a question author who only writes and
// imports questions, a marker who only scores exams, and 系统帮助 / 退出系统 for every demo role, so
// each account can reach the help and leave through the menu. Password 123456 like the other demo
// people.

#include "DemoData.h"

#include "data/uAssistor.h"
#include "data/udmMain.h"

namespace {

struct Role
{
    int key;
    const char *name;
    const char *entries;
};

const Role kRoles[] = {
    {6, "命题专家", "0403 040302 040303 0406 040605 040606"},
    {7, "阅卷教师", "0404 040405 0406 040605 040606"},
};

struct Person
{
    int key;
    const char *name;
    const char *account;
    const char *employeeNo;
    int dept;
    int role;
    const char *sex;
};

const Person kPeople[] = {
    {10, "孙立平", "sunlp", "BD2002", 6, 6, "1"},
    {11, "吴秀兰", "wuxl", "PX0003", 1, 7, "0"},
};

// Every role reaches help and exit through the menu.
const char *const kCommon[] = {"0406", "040605", "040606"};

QString u(const char *s)
{
    return QString::fromUtf8(s);
}

bool loadMenuRoles(TdmMain &dm, QString &error)
{
    QStringList sql;
    for (const Role &r : kRoles) {
        if (demoHasRows(dm, QStringLiteral("select jslsh from js where jslsh = %1").arg(r.key)))
            continue;
        sql << QStringLiteral("insert into js (jslsh, jsmc) values (%1, %2)")
                   .arg(r.key)
                   .arg(demoText(dm, u(r.name)));
        for (const QString &code : u(r.entries).split(QLatin1Char(' ')))
            sql << QStringLiteral("insert into jsgnqx (cdbh, jslsh) values ('%1', %2)").arg(code).arg(r.key);
    }
    // The roles of the organisation step (2 … 5) get help and exit where they lack them.
    for (int role = 2; role <= 5; ++role) {
        if (!demoHasRows(dm, QStringLiteral("select jslsh from js where jslsh = %1").arg(role)))
            continue;
        for (const char *code : kCommon) {
            if (!demoHasRows(dm, QStringLiteral("select jslsh from jsgnqx where jslsh = %1 and cdbh = '%2'")
                                     .arg(role)
                                     .arg(u(code))))
                sql << QStringLiteral("insert into jsgnqx (cdbh, jslsh) values ('%1', %2)")
                           .arg(u(code))
                           .arg(role);
        }
    }
    const QString stored = TAssistor::EncodePassword(QStringLiteral("123456"));
    for (const Person &p : kPeople) {
        if (demoHasRows(
                dm, QStringLiteral("select rylsh from ry where dlzh = %1").arg(demoText(dm, u(p.account)))) ||
            demoHasRows(dm, QStringLiteral("select rylsh from ry where rylsh = %1").arg(p.key)))
            continue;
        sql << QStringLiteral("insert into ry (rylsh, bmlsh, jslsh, ryxm, dlzh, dlmm, zggh, xb, hf, zzqklsh, "
                              "sfjzpxy, sfjxjyry, sfkpsczgj, sftkgly) values (%1, %2, %3, %4, %5, %6, %7, "
                              "'%8', '1', 1, '0', '0', '0', '0')")
                   .arg(p.key)
                   .arg(p.dept)
                   .arg(p.role)
                   .arg(demoText(dm, u(p.name)), demoText(dm, u(p.account)), demoText(dm, stored),
                        demoText(dm, u(p.employeeNo)), u(p.sex));
    }
    if (sql.isEmpty())
        return true;
    return dm.execBatch(sql, error);
}

const DemoStep step(110, "菜单演示：命题专家、阅卷教师", loadMenuRoles);

} // namespace
