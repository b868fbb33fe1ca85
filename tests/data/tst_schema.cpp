#include "data/DataAccess.h"
#include "data/DatabaseSetup.h"
#include "data/Schema.h"
#include "data/uAssistor.h"
#include "data/udmMain.h"
#include "platform/ClientDataSet.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QFile>
#include <QSet>
#include <QTest>

// A new database: its tables, reference rows and administrator; the refusal to overwrite one; the
// stored password form; the dialect's expressions run on the engine itself.
class TestSchema : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void everyTableAndColumn();
    void referenceRows();
    void menuAndAdministrator();
    void refusesExistingDatabase();
    void sqlServerScriptIsCurrent();
    void passwordTransform_data();
    void passwordTransform();
    void dialectExpressions_data();
    void dialectExpressions();
    void tableOfSql_data();
    void tableOfSql();

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TestDb> m_db;
    static QString one(const QString &sql);
};

void TestSchema::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_db = std::make_unique<TestDb>();
    REQUIRE_TESTDB(*m_db);
}

void TestSchema::cleanup()
{
    m_db.reset();
    m_dialogs.reset();
}

QString TestSchema::one(const QString &sql)
{
    ClientDataSet ds;
    if (!OpenSql(sql, &ds) || ds.isEmpty())
        return QStringLiteral("<failed>");
    return ds.isNull(ds.fieldName(0)) ? QStringLiteral("<null>") : ds.asString(ds.fieldName(0));
}

void TestSchema::everyTableAndColumn()
{
    QCOMPARE(DatabaseSetup::existingTables(*dmMain()).size(), Schema::tables().size());
    for (const Schema::Table &t : Schema::tables()) {
        QStringList cols;
        for (const Schema::Column &c : t.columns)
            cols << c.name;
        ClientDataSet ds;
        QVERIFY2(
            OpenSql(QStringLiteral("select %1 from %2 where 1 = 0").arg(cols.join(QLatin1Char(',')), t.name),
                    &ds),
            qPrintable(t.name));
    }
    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(Schema::findTable(QStringLiteral("ST"))->key, QStringLiteral("stlsh"));
    QVERIFY(Schema::findTable(QStringLiteral("jsgnqx"))->key.isEmpty());
    // A key is a key: a second row with the same serial number is refused.
    QString err;
    QVERIFY(!ExecSql(QStringLiteral("insert into nd (ndlsh, ndmc, xssx) values (1, 'x', 9)"), err));
}

void TestSchema::referenceRows()
{
    QCOMPARE(one(QStringLiteral("select count(*) from dj")), QStringLiteral("3"));
    QCOMPARE(one(QStringLiteral("select lbmc from lb where lblsh = 2")), QStringLiteral("操作类"));
    QCOMPARE(one(QStringLiteral("select djmc from dj where djlsh = 3")), QStringLiteral("Ⅲ级"));
    QCOMPARE(one(QStringLiteral("select txmc from tx where txlsh = 12")), QStringLiteral("排序题"));
    QCOMPARE(one(QStringLiteral("select count(*) from tx where txlsh in (1, 2, 5, 12)")),
             QStringLiteral("4"));
    QCOMPARE(one(QStringLiteral("select count(*) from tx where txlsh > 6")), QStringLiteral("5"));
    QCOMPARE(one(QStringLiteral("select count(*) from tx where mrfz is null or mrfz <= 0")),
             QStringLiteral("0"));
    QCOMPARE(one(QStringLiteral("select ndmc from nd where xssx = 5")), QStringLiteral("难"));
    QCOMPARE(one(QStringLiteral("select xlmc from xl where xllsh = 7")), QStringLiteral("博士生"));
    QCOMPARE(one(QStringLiteral("select jndjmc from jndj where jndjlsh = 4")), QStringLiteral("技师"));
    QCOMPARE(one(QStringLiteral("select zzqk from zzqkb where zzqklsh = 5")),
             QStringLiteral("协议保留劳动关系"));
    // Lookup keys run 1, 2, 3 ... so list position + 1 is the key.
    for (const char *t : {"xl", "zc", "zcdj", "gj", "rylx", "glrylx", "jndj", "zzqkb"}) {
        const QString table = QString::fromLatin1(t);
        const QString key =
            table == QLatin1String("zzqkb") ? QStringLiteral("zzqklsh") : table + QStringLiteral("lsh");
        QCOMPARE(one(QStringLiteral("select max(%1) - count(*) from %2").arg(key, table)),
                 QStringLiteral("0"));
    }
}

void TestSchema::menuAndAdministrator()
{
    ClientDataSet menu;
    QVERIFY(OpenSql(QStringLiteral("select * from gncd where  sfsy = '1' order by cdbh"), &menu));
    QSet<QString> modules;
    QStringList noModule;
    for (menu.first(); !menu.eof(); menu.next()) {
        const QString code = menu.asString(QStringLiteral("cdbh"));
        QVERIFY(code.size() == 4 || code.size() == 6);
        QCOMPARE(menu.asString(QStringLiteral("sjcdbh")),
                 code.size() == 4 ? QStringLiteral("04") : code.left(4));
        if (code.size() == 6 && menu.asString(QStringLiteral("sfydymk")) != QLatin1String("0"))
            modules.insert(menu.asString(QStringLiteral("mknm")));
        else if (code.size() == 6)
            noModule << menu.asString(QStringLiteral("cdmc"));
    }
    QCOMPARE(modules.size(), 22);
    QVERIFY(modules.contains(QStringLiteral("TfrmLoginExam")));
    QCOMPARE(noModule, (QStringList{"系统帮助", "退出系统"}));
    QVERIFY(menu.locate(QStringLiteral("cdbh"), QStringLiteral("040202")));
    QCOMPARE(menu.asString(QStringLiteral("mknm")), QStringLiteral("TfrmManualPaper"));

    // The role 系统管理员 holds every entry, and admin logs in with the stored form of its password.
    QCOMPARE(one(QStringLiteral(
                 "select count(*) from jsgnqx a, js b where a.jslsh = b.jslsh and b.jsmc = '系统管理员'")),
             one(QStringLiteral("select count(*) from gncd")));
    const QString stored = TAssistor::EncodePassword(DatabaseSetup::kInitialAdminPassword);
    QCOMPARE(
        one(QStringLiteral("select rylsh from ry where dlzh = 'admin' and dlmm = %1").arg(QuotedStr(stored))),
        QStringLiteral("1"));
}

void TestSchema::refusesExistingDatabase()
{
    QString err;
    ExecSql(QStringLiteral("insert into dhb (hs) values ('keep')"), err);
    QVERIFY(!DatabaseSetup::createDatabase(*dmMain(), false, err));
    QVERIFY(err.contains(QStringLiteral("--force")));
    QCOMPARE(one(QStringLiteral("select hs from dhb")), QStringLiteral("keep"));
    QVERIFY2(DatabaseSetup::createDatabase(*dmMain(), true, err), qPrintable(err));
    QCOMPARE(one(QStringLiteral("select count(*) from dhb")), QStringLiteral("0"));
    QCOMPARE(one(QStringLiteral("select count(*) from ry")), QStringLiteral("1"));
}

void TestSchema::sqlServerScriptIsCurrent()
{
    QFile f(qEnvironmentVariable("LUMORA_SOURCE_DIR") + QStringLiteral("/src/data/schema/sqlserver.sql"));
    QVERIFY2(f.open(QIODevice::ReadOnly), "src/data/schema/sqlserver.sql is missing");
    QCOMPARE(QString::fromUtf8(f.readAll()),
             Schema::sqlServerScript()); // regenerate: lumora-admin schema-sql
}

void TestSchema::passwordTransform_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("storedHex"); // bytes of the stored text as Latin-1 / GBK; "" = not checked
    QTest::newRow("abc as older clients store it") << "abc"
                                                   << "61605f";
    QTest::newRow("digits") << "123456"
                            << "34333231302f";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("Chinese") << "电力考试"
                             << "";
    QTest::newRow("mixed") << "admin管理员2024"
                           << "";
    QTest::newRow("single Chinese character") << "电"
                                              << "";
    QTest::newRow("full-width and symbols") << "ＡＢ°±×"
                                            << "";
    QTest::newRow("blank inside") << "pass word"
                                  << "";
}

void TestSchema::passwordTransform()
{
    QFETCH(QString, plain);
    QFETCH(QString, storedHex);
    const QString stored = TAssistor::EncodePassword(plain);
    QCOMPARE(TAssistor::DecodePassword(stored), plain);
    if (!storedHex.isEmpty())
        QCOMPARE(stored.toLatin1().toHex(), storedHex.toLatin1());
    if (!plain.isEmpty()) {
        // The stored form goes through the database unchanged, so a login can compare it.
        QString err;
        QVERIFY(ExecSql(QStringLiteral("update ry set dlmm = %1 where dlzh = 'admin'").arg(QuotedStr(stored)),
                        err));
        QCOMPARE(one(QStringLiteral("select count(*) from ry where dlmm = %1").arg(QuotedStr(stored))),
                 QStringLiteral("1"));
        QCOMPARE(TAssistor::DecodePassword(one(QStringLiteral("select dlmm from ry where dlzh = 'admin'"))),
                 plain);
    }
}

void TestSchema::dialectExpressions_data()
{
    QTest::addColumn<QString>("expression"); // built from the live dialect in the test
    QTest::addColumn<QString>("expected");
    QTest::newRow("concat") << "concat"
                            << "ab1";
    QTest::newRow("length") << "length"
                            << "3";
    QTest::newRow("ltrim") << "ltrim"
                           << "x ";
    QTest::newRow("trim") << "trim"
                          << "x";
    QTest::newRow("ifNull") << "ifNull"
                            << "替代";
    QTest::newRow("castInt") << "castInt"
                             << "42";
    QTest::newRow("dateText") << "dateText"
                              << "2011-06-13";
    QTest::newRow("timeOfDay") << "timeOfDay"
                               << "08:05";
    QTest::newRow("minutesBetween") << "minutes"
                                    << "90";
    QTest::newRow("dateLiteral") << "dateLiteral"
                                 << "2011-06-13";
}

void TestSchema::dialectExpressions()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    const Dialect &d = dmMain()->dialect();
    const QDateTime t(QDate(2011, 6, 13), QTime(8, 5, 30));
    const QHash<QString, QString> exprs{
        {QStringLiteral("concat"),
         d.concat({QStringLiteral("'a'"), QStringLiteral("'b'"), d.castText(QStringLiteral("1"))})},
        {QStringLiteral("length"), d.length(QStringLiteral("'电力x'"))},
        {QStringLiteral("ltrim"), d.ltrim(QStringLiteral("'  x '"))},
        {QStringLiteral("trim"), d.trim(QStringLiteral("'  x '"))},
        {QStringLiteral("ifNull"), d.ifNull(QStringLiteral("null"), QStringLiteral("'替代'"))},
        {QStringLiteral("castInt"), d.castInt(QStringLiteral("'42'"))},
        {QStringLiteral("dateText"), d.dateText(d.dateTimeLiteral(t))},
        {QStringLiteral("timeOfDay"), d.timeOfDayText(d.dateTimeLiteral(t))},
        {QStringLiteral("minutes"),
         d.minutesBetween(d.dateTimeLiteral(t), d.dateTimeLiteral(t.addSecs(90 * 60 + 20)))},
        {QStringLiteral("dateLiteral"), d.dateText(d.dateLiteral(t.date()))},
    };
    QCOMPARE(one(QStringLiteral("select ") + exprs.value(expression) + QStringLiteral(" as v")), expected);
    QCOMPARE(one(d.limitRows(QStringLiteral("select txlsh from tx order by txlsh desc"), 1)),
             QStringLiteral("12"));
}

void TestSchema::tableOfSql_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("table");
    QTest::newRow("plain") << "select * from zyzl order by zyzlmc"
                           << "zyzl";
    QTest::newRow("join with alias") << "select a.*, b.mkmc from st a, mk b where a.mklsh = b.mklsh"
                                     << "st";
    QTest::newRow("upper case, schema, brackets") << "SELECT * FROM dbo.[ksjh] WHERE 1=0"
                                                  << "ksjh";
    QTest::newRow("line break") << "select *\nfrom\n  sj where sjlsh = 1"
                                << "sj";
    QTest::newRow("no from") << "select 1"
                             << "";
}

void TestSchema::tableOfSql()
{
    QFETCH(QString, sql);
    QFETCH(QString, table);
    QCOMPARE(TdmMain::tableOfSql(sql), table);
}

QTEST_MAIN(TestSchema)
#include "tst_schema.moc"
