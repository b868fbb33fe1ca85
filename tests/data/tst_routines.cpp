#include "data/DataAccess.h"
#include "data/udmMain.h"
#include "platform/ClientDataSet.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QComboBox>
#include <QSet>
#include <QTest>
#include <QThread>

// The data access routines against a real database: every case runs on SQLite and, in the ".pg" run,
// on PostgreSQL.
class TestRoutines : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openSqlInvalidKeepsTarget();
    void execSqlReportsError();
    void execBatchIsAllOrNothing();
    void getMaxId();
    void getServerTimeAndFailures();
    void serverConnectionLost();
    void applyInsertUpdateDelete();
    void applyWithoutChanges();
    void applyConflictFromSecondDataSet_data();
    void applyConflictFromSecondDataSet();
    void applyIsAllOrNothing();
    void applyRetries_data();
    void applyRetries();
    void applyErrorBeforeAnyRow();
    void applyComparesTableColumnsOnly();
    void applyTakesFreeKeyOnClash();
    void dateTimesRoundTrip();
    void textsSurviveUnchanged_data();
    void textsSurviveUnchanged();
    void fillComboSkipsBlankRows();
    void locateValue_data();
    void locateValue();
    void copyRowsIntoShape();
    void concurrentInsertsNeverClash();

private:
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    static void addZyzl(int key, const QString &name);
};

void TestRoutines::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_db = std::make_unique<TestDb>();
    REQUIRE_TESTDB(*m_db);
    dmMain()->setRetryWait([](int) {});
}

void TestRoutines::cleanup()
{
    m_db.reset();
    m_dialogs.reset();
}

void TestRoutines::addZyzl(int key, const QString &name)
{
    QString err;
    QVERIFY2(ExecSql(QStringLiteral("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (%1, %2, 1)")
                         .arg(key)
                         .arg(QuotedStr(name)),
                     err),
             qPrintable(err));
}

void TestRoutines::openSqlInvalidKeepsTarget()
{
    ClientDataSet ds;
    QVERIFY(OpenSql(QStringLiteral("select * from nd order by ndlsh"), &ds));
    QCOMPARE(ds.recordCount(), 5);
    ds.moveTo(3);
    const QString bad = QStringLiteral("select * fromm nd");
    QVERIFY(!OpenSql(bad, &ds));
    QCOMPARE(m_dialogs->shown.size(), 1);
    const QString text = m_dialogs->lastText();
    QVERIFY2(text.startsWith(bad + QStringLiteral("\n\r")), qPrintable(text));
    QVERIFY(text.size() > bad.size() + 2); // the database's message follows
    QCOMPARE(m_dialogs->shown[0].caption, QStringLiteral("系统提示："));
    QCOMPARE(ds.recordCount(), 5);
    QCOMPARE(ds.fieldCount(), 3);
    QCOMPARE(ds.asString(QStringLiteral("ndmc")), QStringLiteral("中等"));

    // A statement that returns no rows is not a query.
    QVERIFY(!OpenSql(QStringLiteral("delete from dhb"), &ds));
    QCOMPARE(ds.recordCount(), 5);
}

void TestRoutines::execSqlReportsError()
{
    QString err = QStringLiteral("old");
    QVERIFY(ExecSql(QStringLiteral("update nd set xssx = xssx"), err));
    QVERIFY(err.isEmpty());
    const QString bad = QStringLiteral("update nosuchtable set a = 1");
    QVERIFY(!ExecSql(bad, err));
    QVERIFY(!err.isEmpty());
    QCOMPARE(m_dialogs->lastText(), bad + QStringLiteral("\n\r") + err);
    // Two statements in one text: never half-run in silence (SQLite refuses, PostgreSQL runs both).
    const bool ran =
        ExecSql(QStringLiteral("insert into dhb (hs) values ('1'); insert into dhb (hs) values ('2')"), err);
    ClientDataSet ds;
    QVERIFY(OpenSql(QStringLiteral("select count(*) as n from dhb"), &ds));
    QCOMPARE(ds.asInt(QStringLiteral("n")), ran ? 2 : 0);
    if (!ran)
        QVERIFY2(err.contains(QLatin1String("multiple statements")), qPrintable(err));
}

void TestRoutines::execBatchIsAllOrNothing()
{
    QString err;
    QVERIFY(!ExecBatch({QStringLiteral("insert into dhb (hs) values ('a')"),
                        QStringLiteral("insert into nosuch values (1)")},
                       err));
    ClientDataSet ds;
    QVERIFY(OpenSql(QStringLiteral("select count(*) as n from dhb"), &ds));
    QCOMPARE(ds.asInt(QStringLiteral("n")), 0);
    QVERIFY(ExecBatch({QStringLiteral("insert into dhb (hs) values ('a')"),
                       QStringLiteral("insert into dhb (hs) values ('b')")},
                      err));
    QVERIFY(OpenSql(QStringLiteral("select count(*) as n from dhb"), &ds));
    QCOMPARE(ds.asInt(QStringLiteral("n")), 2);
}

void TestRoutines::getMaxId()
{
    bool ok = false;
    QCOMPARE(GetMaxId(QStringLiteral("zyzl"), QStringLiteral("zyzllsh"), &ok), 0);
    QVERIFY(ok);
    addZyzl(7, QStringLiteral("变电运行"));
    addZyzl(12, QStringLiteral("继电保护"));
    QCOMPARE(GetMaxId(QStringLiteral("zyzl"), QStringLiteral("zyzllsh"), &ok), 12);
    QCOMPARE(GetMaxId(QString(), QStringLiteral("zyzllsh"), &ok), 0);
    QVERIFY(ok);
    QVERIFY(m_dialogs->shown.isEmpty());
    // A failed query is reported, never taken for a stale number.
    QCOMPARE(GetMaxId(QStringLiteral("nosuch"), QStringLiteral("id"), &ok), -1);
    QVERIFY(!ok);
    QCOMPARE(m_dialogs->shown.size(), 1);
}

void TestRoutines::getServerTimeAndFailures()
{
    bool ok = false;
    const QDateTime t = GetServerTime(&ok);
    QVERIFY(ok);
    QVERIFY(t.isValid());
    QVERIFY(qAbs(t.secsTo(QDateTime::currentDateTime())) < 24 * 3600);

    // A database that is not there: every routine reports it, none pretends.
    SetDmMain(std::make_unique<TdmMain>(DbEngine::Sqlite, m_db->folder() + QStringLiteral("/gone.db"),
                                        nullptr, false));
    QVERIFY(!dmMain()->isConnected());
    m_dialogs->clear();
    QVERIFY(!GetServerTime(&ok).isValid());
    QVERIFY(!ok);
    QCOMPARE(GetMaxId(QStringLiteral("zyzl"), QStringLiteral("zyzllsh"), &ok), -1);
    QVERIFY(!ok);
    ClientDataSet ds;
    QVERIFY(!OpenSql(QStringLiteral("select * from nd"), &ds));
    QCOMPARE(m_dialogs->shown.size(), 3);
    QVERIFY(m_dialogs->lastText().contains(QStringLiteral("gone.db")));
    ds.createEmpty({QStringLiteral("hs")});
    ds.append();
    ds.setValue(0, QStringLiteral("x"));
    ds.post();
    QString err;
    QVERIFY(!ApplyDelta(QStringLiteral("select * from dhb"), &ds, err));
    QVERIFY(!err.isEmpty());
}

void TestRoutines::serverConnectionLost()
{
    if (m_db->engine() != DbEngine::Postgres)
        QSKIP("only a server connection can go away");
    auto admin = m_db->connectAgain();
    QString err;
    QVERIFY2(admin->execSql(QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity "
                                           "where datname = current_database() and pid <> pg_backend_pid()"),
                            err),
             qPrintable(err));
    QTest::qWait(300);
    ClientDataSet ds;
    QVERIFY(!OpenSql(QStringLiteral("select * from nd"), &ds)); // reported, not a crash
    QCOMPARE(m_dialogs->shown.size(), 1);
    QVERIFY(m_dialogs->lastText().startsWith(QStringLiteral("select * from nd\n\r")));
    QVERIFY(OpenSql(QStringLiteral("select * from nd"), &ds)); // the next step works again
    QCOMPARE(ds.recordCount(), 5);
    QVERIFY(ExecSql(QStringLiteral("update nd set xssx = xssx"), err));
}

void TestRoutines::applyInsertUpdateDelete()
{
    addZyzl(1, QStringLiteral("甲"));
    addZyzl(2, QStringLiteral("乙"));
    addZyzl(3, QStringLiteral("丙"));
    const QString sql = QStringLiteral("select * from zyzl order by zyzllsh");
    ClientDataSet ds;
    QVERIFY(OpenSql(sql, &ds));
    ds.moveTo(1);
    ds.setValue(QStringLiteral("zyzlmc"), QStringLiteral("甲改"));
    ds.post();
    ds.moveTo(2);
    ds.remove();
    ds.append();
    ds.setValue(QStringLiteral("zyzllsh"), 4);
    ds.setValue(QStringLiteral("zyzlmc"), QStringLiteral("丁"));
    ds.post();
    QString err;
    QVERIFY2(ApplyDelta(sql, &ds, err), qPrintable(err));
    QVERIFY(!ds.hasChanges());
    QVERIFY(err.isEmpty());

    ClientDataSet check;
    QVERIFY(OpenSql(sql, &check));
    QStringList rows;
    for (check.first(); !check.eof(); check.next())
        rows << check.asString(QStringLiteral("zyzllsh")) + check.asString(QStringLiteral("zyzlmc")) +
                    (check.isNull(QStringLiteral("gwlxlsh")) ? QStringLiteral("-")
                                                             : check.asString(QStringLiteral("gwlxlsh")));
    QCOMPARE(rows, (QStringList{"1甲改1", "3丙1", "4丁-"}));

    // The accepted rows are the new "fetched" values: a second edit finds its row.
    ds.moveTo(1);
    ds.setValue(QStringLiteral("gwlxlsh"), 2);
    ds.post();
    QVERIFY2(ApplyDelta(sql, &ds, err), qPrintable(err));
}

void TestRoutines::applyWithoutChanges()
{
    ClientDataSet ds;
    QVERIFY(OpenSql(QStringLiteral("select * from nd"), &ds));
    int statements = 0;
    dmMain()->setFaultInjector([&](const QString &) {
        ++statements;
        return QSqlError();
    });
    QString err = QStringLiteral("old");
    QVERIFY(ApplyDelta(QStringLiteral("select * from nd"), &ds, err));
    QVERIFY(err.isEmpty());
    ds.edit();
    ds.setValue(QStringLiteral("ndmc"), QStringLiteral("易"));
    ds.post(); // the same value again: nothing to write
    QVERIFY(ApplyDelta(QStringLiteral("select * from nd"), &ds, err));
    QCOMPARE(statements, 0);
}

void TestRoutines::applyConflictFromSecondDataSet_data()
{
    QTest::addColumn<bool>("otherDeletes");
    QTest::addColumn<bool>("weDelete");
    QTest::newRow("both edit") << false << false;
    QTest::newRow("row deleted, we edit") << true << false;
    QTest::newRow("row edited, we delete") << false << true;
}

void TestRoutines::applyConflictFromSecondDataSet()
{
    QFETCH(bool, otherDeletes);
    QFETCH(bool, weDelete);
    addZyzl(1, QStringLiteral("甲"));
    const QString sql = QStringLiteral("select * from zyzl");
    ClientDataSet mine, theirs;
    QVERIFY(OpenSql(sql, &mine));
    QVERIFY(OpenSql(sql, &theirs));
    QString err;
    if (otherDeletes)
        theirs.remove();
    else
        theirs.setValue(QStringLiteral("zyzlmc"), QStringLiteral("他人改"));
    theirs.post();
    QVERIFY2(ApplyDelta(sql, &theirs, err), qPrintable(err));

    if (weDelete)
        mine.remove();
    else
        mine.setValue(QStringLiteral("zyzlmc"), QStringLiteral("我改"));
    mine.post();
    QVERIFY(!ApplyDelta(sql, &mine, err));
    QVERIFY(err.contains(QStringLiteral("其他用户")));
    QCOMPARE(dmMain()->UpdateErrorText, err);
    QVERIFY(!mine.hasChanges()); // the failing change was taken back
    QCOMPARE(mine.asString(QStringLiteral("zyzlmc")), QStringLiteral("甲"));
    QVERIFY(m_dialogs->shown.isEmpty()); // ApplyDelta shows nothing itself

    ClientDataSet check;
    QVERIFY(OpenSql(sql, &check));
    QCOMPARE(check.recordCount(), otherDeletes ? 0 : 1);
    if (!otherDeletes)
        QCOMPARE(check.asString(QStringLiteral("zyzlmc")), QStringLiteral("他人改"));
}

void TestRoutines::applyIsAllOrNothing()
{
    addZyzl(1, QStringLiteral("甲"));
    const QString sql = QStringLiteral("select * from zyzl order by zyzllsh");
    ClientDataSet mine, theirs;
    QVERIFY(OpenSql(sql, &mine));
    QVERIFY(OpenSql(sql, &theirs));
    QString err;
    theirs.setValue(QStringLiteral("zyzlmc"), QStringLiteral("他人改"));
    theirs.post();
    QVERIFY(ApplyDelta(sql, &theirs, err));

    // Pending: an insert that would succeed, then an edit that conflicts.
    mine.append();
    mine.setValue(QStringLiteral("zyzllsh"), 2);
    mine.setValue(QStringLiteral("zyzlmc"), QStringLiteral("乙"));
    mine.post();
    mine.first();
    mine.setValue(QStringLiteral("zyzlmc"), QStringLiteral("我改"));
    mine.post();
    QVERIFY(!ApplyDelta(sql, &mine, err));

    ClientDataSet check;
    QVERIFY(OpenSql(sql, &check));
    QCOMPARE(check.recordCount(), 1); // the insert was rolled back with the rest
    QCOMPARE(mine.changeCount(), 1);  // ... and is still pending; only the edit was taken back
    QCOMPARE(mine.delta().first().kind, ClientDataSet::ChangeKind::Insert);

    QVERIFY2(ApplyDelta(sql, &mine, err), qPrintable(err));
    QVERIFY(OpenSql(sql, &check));
    QCOMPARE(check.recordCount(), 2); // written once, not twice
}

void TestRoutines::applyRetries_data()
{
    QTest::addColumn<QString>("native");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("failures"); // injected failures before the write succeeds
    QTest::addColumn<bool>("applied");
    QTest::addColumn<int>("attempts");
    const bool pg = TestDb::onPostgres();
    const QString code = pg ? QStringLiteral("40P01") : QStringLiteral("5");
    const QString text = pg ? QStringLiteral("deadlock detected") : QStringLiteral("database is locked");
    QTest::newRow("deadlock every time") << code << text << 100 << false << 10;
    QTest::newRow("deadlock twice") << code << text << 2 << true << 3;
    if (pg)
        QTest::newRow("serialization failure") << "40001"
                                               << "could not serialize access" << 1 << true << 2;
    QTest::newRow("other error at once") << "1"
                                         << "no such column: x" << 100 << false << 1;
}

void TestRoutines::applyRetries()
{
    QFETCH(QString, native);
    QFETCH(QString, message);
    QFETCH(int, failures);
    QFETCH(bool, applied);
    QFETCH(int, attempts);
    QList<int> waits;
    dmMain()->setRetryWait([&](int ms) { waits << ms; });
    int left = failures;
    dmMain()->setFaultInjector([&](const QString &sql) {
        if (sql.startsWith(QLatin1String("insert")) && left > 0) {
            --left;
            return QSqlError(QString(), message, QSqlError::StatementError, native);
        }
        return QSqlError();
    });
    ClientDataSet ds;
    QVERIFY(OpenSql(QStringLiteral("select * from dhb"), &ds));
    ds.append();
    ds.setValue(0, QStringLiteral("x"));
    ds.post();
    QString err;
    QCOMPARE(ApplyDelta(QStringLiteral("select * from dhb"), &ds, err), applied);
    QCOMPARE(dmMain()->lastApplyAttempts(), attempts);
    QCOMPARE(waits, QList<int>(attempts - 1, TdmMain::kRetryWaitMs));
    if (!applied)
        QCOMPARE(err, message);
}

void TestRoutines::applyErrorBeforeAnyRow()
{
    ClientDataSet ds;
    QVERIFY(OpenSql(QStringLiteral("select * from dhb"), &ds));
    ds.append();
    ds.setValue(0, QStringLiteral("x"));
    ds.post();
    QString err;
    QVERIFY(!ApplyDelta(QStringLiteral("select 1 as hs"), &ds, err)); // no table to write to
    QVERIFY(!err.isEmpty());
    ds.append();
    ds.setValue(0, QStringLiteral("x"));
    ds.post();
    QVERIFY(!ApplyDelta(QStringLiteral("select * from nosuchtable"), &ds, err));
    QVERIFY(err.contains(QStringLiteral("nosuchtable")));
}

void TestRoutines::applyComparesTableColumnsOnly()
{
    QString err;
    QVERIFY(ExecSql(QStringLiteral("insert into mk (mklsh, mkbm, mkmc) values (1, 'M1', '安全规程')"), err));
    // fs and llr stay null: the WHERE must say "is null" for them.
    QVERIFY(ExecSql(
        QStringLiteral("insert into st (stlsh, mklsh, txlsh, ndlsh, stzt) values (1, 1, 1, 1, '0')"), err));
    QVERIFY(ExecSql(
        QStringLiteral("insert into st (stlsh, mklsh, txlsh, ndlsh, stzt) values (2, 1, 1, 1, '0')"), err));
    const QString sql =
        QStringLiteral("select a.*, b.mkmc from st a, mk b where a.mklsh = b.mklsh order by a.stlsh");
    ClientDataSet ds;
    QVERIFY(OpenSql(sql, &ds));
    ds.setValue(QStringLiteral("stnr"),
                QByteArray("\x00\x01\xff blob", 8)); // blobs are written, never compared
    ds.setValue(QStringLiteral("fs"), 2.5);
    ds.setValue(QStringLiteral("stzt"), QStringLiteral("1"));
    ds.setValue(QStringLiteral("mkmc"), QStringLiteral("只改显示列"));
    ds.post();
    QVERIFY2(ApplyDelta(sql, &ds, err), qPrintable(err));
    ds.next();
    ds.setValue(QStringLiteral("mkmc"), QStringLiteral("只改显示列")); // nothing of st changed
    ds.post();
    QVERIFY2(ApplyDelta(sql, &ds, err), qPrintable(err));

    // The written row is found again by its new values, 0.1-type fractions and blobs included.
    ds.first();
    ds.setValue(QStringLiteral("fs"), 0.3);
    ds.post();
    QVERIFY2(ApplyDelta(sql, &ds, err), qPrintable(err));
    ds.setValue(QStringLiteral("stzt"), QStringLiteral("2"));
    ds.post();
    QVERIFY2(ApplyDelta(sql, &ds, err), qPrintable(err));

    ClientDataSet check;
    QVERIFY(OpenSql(QStringLiteral("select * from st order by stlsh"), &check));
    QCOMPARE(check.asString(QStringLiteral("stzt")), QStringLiteral("2"));
    QCOMPARE(check.asFloat(QStringLiteral("fs")), 0.3);
    QCOMPARE(check.asBytes(QStringLiteral("stnr")), QByteArray("\x00\x01\xff blob", 8));
    QVERIFY(OpenSql(QStringLiteral("select mkmc from mk"), &check));
    QCOMPARE(check.asString(QStringLiteral("mkmc")), QStringLiteral("安全规程"));
}

void TestRoutines::applyTakesFreeKeyOnClash()
{
    const QString sql = QStringLiteral("select * from zyzl where 1 = 0");
    ClientDataSet first, second;
    QVERIFY(OpenSql(sql, &first));
    QVERIFY(OpenSql(sql, &second));
    const int key = GetMaxId(QStringLiteral("zyzl"), QStringLiteral("zyzllsh")) + 1;
    for (ClientDataSet *ds : {&first, &second}) {
        ds->append();
        ds->setValue(QStringLiteral("zyzllsh"), key); // both clients took the same key
        ds->setValue(QStringLiteral("zyzlmc"), ds == &first ? QStringLiteral("先") : QStringLiteral("后"));
        ds->post();
    }
    QString err;
    QVERIFY2(ApplyDelta(sql, &first, err), qPrintable(err));
    QVERIFY2(ApplyDelta(sql, &second, err), qPrintable(err));
    QCOMPARE(second.asInt(QStringLiteral("zyzllsh")), key + 1); // the row tells the key it got
    ClientDataSet check;
    QVERIFY(OpenSql(QStringLiteral("select * from zyzl order by zyzllsh"), &check));
    QCOMPARE(check.recordCount(), 2);
    check.last();
    QCOMPARE(check.asString(QStringLiteral("zyzlmc")), QStringLiteral("后"));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestRoutines::dateTimesRoundTrip()
{
    const QString sql = QStringLiteral("select * from ksjh order by ksjhlsh");
    const QDate day(2011, 6, 13);
    ClientDataSet ds;
    QVERIFY(OpenSql(sql, &ds));
    ds.append();
    ds.setValue(QStringLiteral("ksjhlsh"), 1);
    ds.setValue(QStringLiteral("ksmc"), QStringLiteral("变电运行Ⅰ级考试"));
    ds.setValue(QStringLiteral("zdrq"), GetServerTime());
    ds.setValue(QStringLiteral("ksksrq"), QDateTime(day, QTime(0, 0)));
    ds.setValue(QStringLiteral("ksjsrq"),
                QDateTime(day.addDays(2), QTime(23, 59, 59, 500))); // kept to the second
    ds.post();
    QString err;
    QVERIFY2(ApplyDelta(sql, &ds, err), qPrintable(err));
    ds.setValue(QStringLiteral("ksys"), 90); // found again by its date-times as the data set holds them
    ds.post();
    QVERIFY2(ApplyDelta(sql, &ds, err), qPrintable(err));

    // A date-time the server stamped itself is found again after it is read.
    QVERIFY(ExecSql(QStringLiteral("update ksjh set ksjtsj = ") + dmMain()->dialect().now(), err));
    QVERIFY(OpenSql(sql, &ds));
    QCOMPARE(ds.asDateTime(QStringLiteral("ksksrq")), QDateTime(day, QTime(0, 0)));
    QCOMPARE(ds.asDateTime(QStringLiteral("ksjsrq")), QDateTime(day.addDays(2), QTime(23, 59, 59)));
    ds.setValue(QStringLiteral("ksmc"), QStringLiteral("改名"));
    ds.post();
    QVERIFY2(ApplyDelta(sql, &ds, err), qPrintable(err));

    const Dialect &d = dmMain()->dialect();
    ClientDataSet check;
    QVERIFY(OpenSql(QStringLiteral("select ksjhlsh from ksjh where ksksrq <= %1 and ksjsrq >= %1")
                        .arg(d.dateTimeLiteral(QDateTime(day.addDays(1), QTime(12, 0)))),
                    &check));
    QCOMPARE(check.recordCount(), 1);
}

void TestRoutines::textsSurviveUnchanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("apostrophe") << "O'Brien's 'quoted'";
    QTest::newRow("backslash") << "C:\\temp\\new\\n \\' end\\";
    QTest::newRow("double quotes") << "\"引号\" and ;-- comment";
    QTest::newRow("emoji") << QStringLiteral("考试😀✅𠀀");
    QTest::newRow("2000 characters") << QString(1000, QChar(0x7535)) + QString(1000, QLatin1Char('x'));
    QTest::newRow("blanks kept") << "  前后空格  ";
}

void TestRoutines::textsSurviveUnchanged()
{
    QFETCH(QString, text);
    QString err;
    // Through a literal ...
    QVERIFY2(
        ExecSql(QStringLiteral("insert into bm (bmlsh, bmmc, bmms) values (1, 'a', %1)").arg(QuotedStr(text)),
                err),
        qPrintable(err));
    // ... and through the write-back.
    const QString sql = QStringLiteral("select * from bm order by bmlsh");
    ClientDataSet ds;
    QVERIFY(OpenSql(sql, &ds));
    ds.append();
    ds.setValue(QStringLiteral("bmlsh"), 2);
    ds.setValue(QStringLiteral("bmmc"), text.left(20));
    ds.setValue(QStringLiteral("bmms"), text);
    ds.post();
    QVERIFY2(ApplyDelta(sql, &ds, err), qPrintable(err));
    ds.first();
    ds.setValue(QStringLiteral("bmdm"), QStringLiteral("D1")); // found again by its short text
    ds.post();
    QVERIFY2(ApplyDelta(sql, &ds, err), qPrintable(err));

    ClientDataSet check;
    QVERIFY(OpenSql(QStringLiteral("select * from bm where bmms = %1 order by bmlsh").arg(QuotedStr(text)),
                    &check));
    QCOMPARE(check.recordCount(), 2);
    check.last();
    QCOMPARE(check.asString(QStringLiteral("bmms")), text);
    QCOMPARE(check.asString(QStringLiteral("bmmc")), text.left(20));
}

void TestRoutines::fillComboSkipsBlankRows()
{
    addZyzl(1, QStringLiteral("变电运行"));
    addZyzl(2, QStringLiteral("   "));
    addZyzl(3, QString());
    addZyzl(4, QStringLiteral(" 线路 "));
    QString err;
    QVERIFY(ExecSql(QStringLiteral("insert into zyzl (zyzllsh) values (5)"), err)); // null name
    ClientDataSet scratch;
    QStringList keys{QStringLiteral("stale")};
    QComboBox combo;
    combo.addItem(QStringLiteral("旧"));
    const QString sql = QStringLiteral("select * from zyzl order by zyzllsh");
    FillCombo(sql, &scratch, &keys, QStringLiteral("zyzllsh"), &combo, QStringLiteral("zyzlmc"));
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.itemText(0), QStringLiteral("变电运行"));
    QCOMPARE(combo.itemText(1), QStringLiteral(" 线路 ")); // added untrimmed
    QCOMPARE(keys, (QStringList{"1", "4"}));

    FillCombo(sql, &scratch, static_cast<QStringList *>(nullptr), QString(), &combo,
              QStringLiteral("zyzlmc"));
    QCOMPARE(combo.count(), 2);
    FillCombo(sql, &scratch, &keys, QStringLiteral("zyzllsh"), static_cast<QComboBox *>(nullptr),
              QStringLiteral("zyzlmc"));
    QCOMPARE(keys, (QStringList{"1", "4"})); // no combo: nothing at all happens

    // A failed query lists nothing rather than the scratch set's previous rows.
    FillCombo(QStringLiteral("select * from nosuch"), &scratch, &keys, QStringLiteral("zyzllsh"), &combo,
              QStringLiteral("zyzlmc"));
    QCOMPARE(combo.count(), 0);
    QVERIFY(keys.isEmpty());
}

void TestRoutines::locateValue_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("recNo");
    QTest::newRow("number") << "txlsh"
                            << "12" << true << 4;
    QTest::newRow("number written as decimal") << "txlsh"
                                               << "5.0" << true << 3;
    QTest::newRow("text") << "txmc"
                          << "简答题" << true << 7;
    QTest::newRow("text differs by blank") << "txmc"
                                           << "简答题 " << false << 2;
    QTest::newRow("no such value") << "txlsh"
                                   << "99" << false << 2;
    QTest::newRow("empty value") << "txlsh"
                                 << "" << false << 2;
    QTest::newRow("not a number") << "txlsh"
                                  << "abc" << false << 2;
}

void TestRoutines::locateValue()
{
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(bool, found);
    QFETCH(int, recNo);
    ClientDataSet ds;
    QVERIFY(OpenSql(QStringLiteral("select * from tx order by xssx"), &ds));
    ds.moveTo(2);
    QCOMPARE(LocateValue(&ds, column, value), found);
    QCOMPARE(ds.recNo(), recNo);
}

void TestRoutines::copyRowsIntoShape()
{
    ClientDataSet source, target;
    QVERIFY(OpenSql(QStringLiteral("select txlsh as zyzllsh, txmc as zyzlmc, xssx from tx order by xssx"),
                    &source));
    source.moveTo(3);
    int scrolls = 0;
    target.setAfterScroll([&] { ++scrolls; });
    CopyRows(QStringLiteral("select hs as xz, hs as zyzllsh, hs as zyzlmc from dhb where 1 = 0"), &source,
             &target);
    QCOMPARE(target.fieldCount(), 3);
    QCOMPARE(target.recordCount(), source.recordCount());
    QCOMPARE(target.recNo(), 1);
    QCOMPARE(scrolls, 1);                         // only the final move to the first row
    QVERIFY(target.isNull(QStringLiteral("xz"))); // not in the source
    QCOMPARE(target.asString(QStringLiteral("zyzllsh")), QStringLiteral("1"));
    QCOMPARE(target.asString(QStringLiteral("zyzlmc")), QStringLiteral("判断题"));
    QCOMPARE(source.recNo(), 3);
    target.setValue(QStringLiteral("xz"), QStringLiteral("1"));
    target.post();
    QCOMPARE(target.asString(QStringLiteral("xz")), QStringLiteral("1"));
}

void TestRoutines::concurrentInsertsNeverClash()
{
    // Two clients, each with its own connection, insert with "largest key + 1" at the same time.
    constexpr int perClient = 25;
    const QString target = m_db->target();
    const DbEngine engine = m_db->engine();
    QStringList errors[2];
    auto work = [&](int client) {
        TdmMain dm(engine, target, nullptr, false);
        dm.setShowErrors(false);
        dm.setRetryWait([](int) { QThread::msleep(20); });
        const QString sql = QStringLiteral("select * from zyzl where 1 = 0");
        for (int i = 0; i < perClient; ++i) {
            ClientDataSet ds;
            if (!dm.openSql(sql, &ds)) {
                errors[client] << QStringLiteral("open failed");
                return;
            }
            bool ok = false;
            const int key = dm.getMaxId(QStringLiteral("zyzl"), QStringLiteral("zyzllsh"), &ok) + 1;
            ds.append();
            ds.setValue(QStringLiteral("zyzllsh"), key);
            ds.setValue(QStringLiteral("zyzlmc"), QStringLiteral("客户%1-%2").arg(client).arg(i));
            ds.post();
            QString err;
            if (!ok || !dm.applyDelta(sql, &ds, err))
                errors[client] << err;
        }
    };
    std::unique_ptr<QThread> a(QThread::create(work, 0));
    std::unique_ptr<QThread> b(QThread::create(work, 1));
    a->start();
    b->start();
    QVERIFY(a->wait(120000));
    QVERIFY(b->wait(120000));
    QVERIFY2(errors[0].isEmpty() && errors[1].isEmpty(),
             qPrintable((errors[0] + errors[1]).join(QLatin1Char('\n'))));
    ClientDataSet check;
    QVERIFY(OpenSql(QStringLiteral("select count(*) as n, count(distinct zyzllsh) as k from zyzl"), &check));
    QCOMPARE(check.asInt(QStringLiteral("n")), 2 * perClient);
    QCOMPARE(check.asInt(QStringLiteral("k")), 2 * perClient);
}

QTEST_MAIN(TestRoutines)
#include "tst_routines.moc"
