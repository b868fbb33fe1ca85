#include "BankFixture.h"
#include "app/uSubSystemRegistry.h"
#include "bank/ufrmKm.h"
#include "data/udmCommon.h"
#include "data/udmMain.h"
#include "platform/ClientDataSet.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QProcess>

// The demo outline lumora-admin loads: complete enough to author questions and draw papers on.
class TestDemoOutline : public QObject
{
    Q_OBJECT
private slots:
    void outlineIsComplete();
    void formsOpenFromTheMenu_data();
    void formsOpenFromTheMenu();
};

namespace {
int Run(const QStringList &args, QString *output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(qEnvironmentVariable("LUMORA_BIN_DIR") + QStringLiteral("/lumora-admin"), args);
    if (!p.waitForFinished(60000))
        return -1;
    *output = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
} // namespace

void TestDemoOutline::outlineIsComplete()
{
    ScriptedDialogs dialogs;
    TestDb db(false, TestDb::Empty);
    REQUIRE_TESTDB(db);
    const QStringList target =
        db.engine() == DbEngine::Postgres ? QStringList{"--pg", db.target()} : QStringList{db.target()};
    QString out;
    QCOMPARE(Run(QStringList{"init-db"} + target, &out), 0);
    QCOMPARE(Run(QStringList{"demo-data"} + target, &out), 0);
    QVERIFY2(out.contains(QStringLiteral("题库大纲")), qPrintable(out));
    QCOMPARE(Run(QStringList{"demo-data"} + target, &out), 0); // again: nothing doubled

    DataModuleScope scope(db.connectAgain());
    QCOMPARE(DbRows("select zyzlmc from zyzl order by zyzllsh"), (QStringList{"变电运行", "配电线路"}));
    // Every trade has subjects on every level and category.
    QCOMPARE(
        DbRows(
            "select zyzllsh, count(distinct djlsh * 10 + lblsh) from km group by zyzllsh order by zyzllsh"),
        (QStringList{"1|9", "2|9"}));
    // Every subject has modules; some modules belong to several subjects, one to both trades.
    QCOMPARE(DbScalar("select count(*) from km where kmlsh not in (select kmlsh from kmmkgxb)"),
             QStringLiteral("0"));
    QVERIFY(DbScalar("select count(*) from (select mklsh from kmmkgxb group by mklsh having count(*) > 1) x")
                .toInt() >= 3);
    QVERIFY(DbScalar("select count(*) from (select a.mklsh from kmmkgxb a, km b where a.kmlsh = b.kmlsh "
                     "group by a.mklsh having count(distinct b.zyzllsh) > 1) x")
                .toInt() >= 1);
    QCOMPARE(DbScalar("select count(*) from (select mklsh, kmlsh from kmmkgxb group by mklsh, kmlsh "
                      "having count(*) > 1) x"),
             QStringLiteral("0"));
    // Abilities: descriptions on all three levels with codes formed as the ability form forms them.
    QCOMPARE(DbRows("select distinct djlsh from nlxdjgxb order by djlsh"), (QStringList{"1", "2", "3"}));
    QCOMPARE(DbScalar("select count(*) from nlx where nlxlsh not in (select nlxlsh from nlxdjgxb)"),
             QStringLiteral("0"));
    QCOMPARE(
        DbRows("select a.nlxbm, c.nlxdjbm from nlx a, nlzl b, nlxdjgxb c where a.nlzllsh = b.nlzllsh and "
               "a.nlxlsh = c.nlxlsh and b.nlzlxh = '2' and b.zyzllsh = 1 and a.nlxbh = 1 order by c.djlsh"),
        (QStringList{"201|201-Ⅰ", "201|201-Ⅱ", "201|201-Ⅲ"}));
    // Subjects are linked only to descriptions of their own trade and level.
    QVERIFY(DbScalar("select count(*) from kmnlxgxb").toInt() > 0);
    QCOMPARE(
        DbScalar("select count(*) from kmnlxgxb d, km k, nlxdjgxb a, nlx b, nlzl c where d.kmlsh = k.kmlsh "
                 "and d.nlxdjgxlsh = a.nlxdjgxlsh and a.nlxlsh = b.nlxlsh and b.nlzllsh = c.nlzllsh and "
                 "(a.djlsh <> k.djlsh or c.zyzllsh <> k.zyzllsh)"),
        QStringLiteral("0"));

    // The subject form shows the outline.
    TfrmKm form;
    form.show();
    Choose(&form, "cbZyzl", "变电运行");
    Choose(&form, "cbDj", "Ⅱ级");
    Choose(&form, "cbLb", "操作类");
    auto *cdsKm = form.findChild<ClientDataSet *>("cdsKm");
    QCOMPARE(cdsKm->asString("kmmc"), QStringLiteral("倒闸操作"));
    QCOMPARE(form.findChild<ClientDataSet *>("cdsNlxbm")->recordCount(), 2);
    QVERIFY(dialogs.texts().isEmpty());
}

void TestDemoOutline::formsOpenFromTheMenu_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");
    QTest::newRow("trades") << "TfrmZyzl"
                            << "工种管理";
    QTest::newRow("subjects") << "TfrmKm"
                              << "科目管理";
    QTest::newRow("modules") << "TfrmMk"
                             << "模块管理";
    QTest::newRow("abilities") << "TfrmNl"
                               << "能力管理";
}

// The menu creates a form by the class name stored in its entry.
void TestDemoOutline::formsOpenFromTheMenu()
{
    QFETCH(QString, className);
    QFETCH(QString, caption);
    ScriptedDialogs dialogs;
    TestDb db;
    REQUIRE_TESTDB(db);
    QCOMPARE(DbScalar("select mknm from gncd where cdmc = " + QStringLiteral("'%1'").arg(caption)),
             className);
    const SubSystemFactory factory = FindSubSystemClass(className);
    QVERIFY(factory);
    std::unique_ptr<QWidget> form(factory(nullptr));
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), caption);
    form->show();
    QVERIFY(dialogs.texts().isEmpty());
}

QTEST_MAIN(TestDemoOutline)
#include "tst_demooutline.moc"
