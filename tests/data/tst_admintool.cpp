#include "data/DataAccess.h"
#include "data/uAssistor.h"
#include "data/udmCommon.h"
#include "data/udmMain.h"
#include "platform/ClientDataSet.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QProcess>
#include <QTest>

// lumora-admin as an administrator runs it: a new database, demo data, and the refusals.
class TestAdminTool : public QObject
{
    Q_OBJECT
private slots:
    void initDbAndDemoData();
    void usageErrors_data();
    void usageErrors();

private:
    static int run(const QStringList &args, QString *output = nullptr);
    static QStringList targetArgs(const TestDb &db);
};

int TestAdminTool::run(const QStringList &args, QString *output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(qEnvironmentVariable("LUMORA_BIN_DIR") + QStringLiteral("/lumora-admin"), args);
    if (!p.waitForFinished(60000))
        return -1;
    if (output)
        *output = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QStringList TestAdminTool::targetArgs(const TestDb &db)
{
    return db.engine() == DbEngine::Postgres ? QStringList{QStringLiteral("--pg"), db.target()}
                                             : QStringList{db.target()};
}

void TestAdminTool::initDbAndDemoData()
{
    ScriptedDialogs dialogs;
    TestDb db(false, TestDb::Empty);
    REQUIRE_TESTDB(db);
    QString out;
    QCOMPARE(run(QStringList{QStringLiteral("init-db")} + targetArgs(db), &out), 0);
    QCOMPARE(run(QStringList{QStringLiteral("demo-data")} + targetArgs(db), &out), 0);
    QVERIFY(out.contains(QStringLiteral("组织机构")));
    QCOMPARE(run(QStringList{QStringLiteral("demo-data")} + targetArgs(db), &out),
             0);                                                                     // again: nothing doubled
    QCOMPARE(run(QStringList{QStringLiteral("init-db")} + targetArgs(db), &out), 1); // refused, data kept
    QVERIFY(out.contains(QStringLiteral("--force")));

    DataModuleScope scope(db.connectAgain());
    ClientDataSet ds;
    QVERIFY(OpenSql(QStringLiteral("select count(*) as n, count(distinct dlzh) as accounts from ry"), &ds));
    // admin, the eight people of the organisation and the two of the menu demo roles.
    QCOMPARE(ds.asInt(QStringLiteral("n")), 11);
    QCOMPARE(ds.asInt(QStringLiteral("accounts")), 11);
    // A demo account logs in as the login dialog checks it, and sees its role's menu.
    QVERIFY(OpenSql(QStringLiteral("select * from ry where dlzh = 'wangfang' and dlmm = %1")
                        .arg(QuotedStr(TAssistor::EncodePassword(QStringLiteral("123456")))),
                    &ds));
    QCOMPARE(ds.recordCount(), 1);
    QVERIFY(
        OpenSql(QStringLiteral(
                    "select a.* from gncd a, jsgnqx b, ry c where a.cdbh = b.cdbh and b.jslsh = c.jslsh and "
                    " c.rylsh = %1 order by a.cdbh")
                    .arg(ds.asInt(QStringLiteral("rylsh"))),
                &ds));
    QVERIFY(ds.locate(QStringLiteral("mknm"), QStringLiteral("TfrmLoginExam")));
    // Departments form a tree: children one level below their parent.
    QVERIFY(OpenSql(
        QStringLiteral("select count(*) from bm a, bm b where a.bm_bmlsh = b.bmlsh and a.jb <> b.jb + 1"),
        &ds));
    QCOMPARE(ds.asInt(ds.fieldName(0)), 0);

    QCOMPARE(
        run(QStringList{QStringLiteral("init-db")} + targetArgs(db) + QStringList{QStringLiteral("--force")},
            &out),
        0);
    QVERIFY(OpenSql(QStringLiteral("select count(*) as n from ry"), &ds));
    QCOMPARE(ds.asInt(QStringLiteral("n")), 1);
    QVERIFY(dialogs.shown.isEmpty());
}

void TestAdminTool::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("help") << QStringList{"--help"} << 0;
    QTest::newRow("nothing") << QStringList{} << 2;
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2;
    QTest::newRow("init-db without target") << QStringList{"init-db"} << 2;
    QTest::newRow("--pg without conninfo") << QStringList{"demo-data", "--pg"} << 2;
    QTest::newRow("demo-data on a missing file") << QStringList{"demo-data", "/nonexistent/korvax.db"} << 1;
    QTest::newRow("unreachable server") << QStringList{"init-db", "--pg", "host=/nonexistent dbname=x"} << 1;
    QTest::newRow("schema-sql") << QStringList{"schema-sql", "postgres"} << 0;
}

void TestAdminTool::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QString out;
    QCOMPARE(run(args, &out), exitCode);
    QVERIFY(!out.trimmed().isEmpty()); // always says something
}

QTEST_MAIN(TestAdminTool)
#include "tst_admintool.moc"
