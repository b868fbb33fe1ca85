#include "app/uEditCycle.h"
#include "data/DataAccess.h"
#include "data/udmMain.h"
#include "platform/ClientDataSet.h"
#include "support/DbRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QLineEdit>
#include <QSqlError>
#include <QTest>

// The cycle on the smallest form there is: one edit box for zyzlmc over the trade list.
class TestEditCycle : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void saveOnEmptyListInsertsKeyOne();
    void uniqueness_data();
    void uniqueness();
    void failedInsertKeepsTextAndRetries();
    void failedEditKeepsRow();
    void abandonedBlankRowIsNeverWritten();
    void removeAsksAndReportsFailure();
    void cancelRestoresRow();

private:
    void build();
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<QLineEdit> m_edit;
    std::unique_ptr<ClientDataSet> m_ds;
    std::unique_ptr<TEditCycle> m_cycle;
    int m_rowChanges = 0;
};

void TestEditCycle::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_db = std::make_unique<TestDb>();
    REQUIRE_TESTDB(*m_db);
    dmMain()->setRetryWait([](int) {});
    build();
}

void TestEditCycle::cleanup()
{
    m_cycle.reset();
    m_ds.reset();
    m_edit.reset();
    m_db.reset();
    m_dialogs.reset();
}

void TestEditCycle::build()
{
    m_edit = std::make_unique<QLineEdit>();
    m_ds = std::make_unique<ClientDataSet>();
    m_cycle =
        std::make_unique<TEditCycle>(m_ds.get(), QStringLiteral("zyzl"), QStringLiteral("zyzllsh"), nullptr);
    m_cycle->setFirstEdit(m_edit.get());
    m_cycle->setMessages({QStringLiteral("保存完成！"), QStringLiteral("保存出现异常！原因："),
                          QStringLiteral("确认要删除吗？"), QStringLiteral("删除出现异常！原因：")});
    m_cycle->onRowChange = [this] {
        ++m_rowChanges;
        m_edit->setText(m_ds->asString(QStringLiteral("zyzlmc")));
    };
    m_cycle->validate = [this] {
        if (m_edit->text().trimmed().isEmpty()) {
            ShowInfo(QStringLiteral("名称不能为空"));
            return false;
        }
        return true;
    };
    m_cycle->setUniqueCheck([this] { return m_edit->text().trimmed(); },
                            [](const QString &v) {
                                return QStringLiteral("select zyzlmc from zyzl where zyzlmc = ") +
                                       QuotedStr(v);
                            },
                            [this](const QString &old) { m_edit->setText(old); }, QStringLiteral("已存在"));
    m_cycle->writeRow = [this] {
        m_ds->setValue(QStringLiteral("zyzlmc"), m_edit->text().trimmed());
        m_ds->setValue(QStringLiteral("gwlxlsh"), 0);
        return true;
    };
    m_rowChanges = 0;
}

void TestEditCycle::saveOnEmptyListInsertsKeyOne()
{
    QVERIFY(m_cycle->open(QStringLiteral("select * from zyzl")));
    QCOMPARE(m_rowChanges, 1); // once after the load, also for an empty list
    m_edit->setText(QStringLiteral("  变电运行 "));
    QVERIFY(m_cycle->save()); // no "新增" first
    QCOMPARE(DbRows("select zyzllsh, zyzlmc from zyzl"), QStringList{"1|变电运行"});
    QCOMPARE(m_dialogs->texts(), QStringList{"保存完成！"});
    QCOMPARE(m_cycle->remembered(), QStringLiteral("变电运行"));
    QVERIFY(!m_ds->hasChanges());

    m_cycle->add();
    QVERIFY(m_edit->text().isEmpty());
    QVERIFY(m_cycle->remembered().isEmpty());
    QVERIFY(m_cycle->isNewRow());
    m_edit->setText(QStringLiteral("O'Brien"));
    QVERIFY(m_cycle->save());
    QCOMPARE(DbRows("select zyzllsh, zyzlmc from zyzl order by zyzllsh"),
             (QStringList{"1|变电运行", "2|O'Brien"}));
    QCOMPARE(m_cycle->currentKey(), 2);
}

void TestEditCycle::uniqueness_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("boxAfter");
    QTest::newRow("row keeps its own name") << 1 << "甲" << true << "甲";
    QTest::newRow("rename to another row's name") << 1 << "乙" << false << "甲";
    QTest::newRow("new row reuses a name") << 0 << "乙" << false << "";
    QTest::newRow("new row, new name") << 0 << "丙" << true << "丙";
}

void TestEditCycle::uniqueness()
{
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, boxAfter);
    QVERIFY(DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (1, '甲', 0)"));
    QVERIFY(DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (2, '乙', 0)"));
    QVERIFY(m_cycle->open(QStringLiteral("select * from zyzl order by zyzllsh")));
    if (row)
        QVERIFY(m_ds->moveTo(row));
    else
        m_cycle->add();
    const QStringList before = DbRows("select * from zyzl order by zyzllsh");
    m_edit->setText(typed);
    QCOMPARE(m_cycle->save(), accepted);
    QCOMPARE(m_edit->text(), boxAfter);
    if (!accepted) {
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("已存在"));
        QCOMPARE(DbRows("select * from zyzl order by zyzllsh"), before);
    } else {
        QCOMPARE(DbScalar("select count(*) from zyzl where zyzlmc = " + QuotedStr(typed)),
                 QStringLiteral("1"));
    }
}

void TestEditCycle::failedInsertKeepsTextAndRetries()
{
    QVERIFY(m_cycle->open(QStringLiteral("select * from zyzl")));
    m_cycle->add();
    m_edit->setText(QStringLiteral("配电线路"));
    dmMain()->setFaultInjector([](const QString &sql) {
        return sql.startsWith(QLatin1String("insert"))
                   ? QSqlError(QString(), "disk full", QSqlError::StatementError)
                   : QSqlError();
    });
    QVERIFY(!m_cycle->save());
    QVERIFY(m_dialogs->lastText().startsWith(QStringLiteral("保存出现异常！原因：")));
    QVERIFY(m_dialogs->lastText().contains(QStringLiteral("disk full")));
    QCOMPARE(m_edit->text(), QStringLiteral("配电线路")); // nothing the user typed is lost
    QCOMPARE(DbScalar("select count(*) from zyzl"), QStringLiteral("0"));
    QCOMPARE(m_ds->state(), ClientDataSet::Insert);

    dmMain()->setFaultInjector({});
    QVERIFY(m_cycle->save());
    QCOMPARE(DbRows("select zyzllsh, zyzlmc from zyzl"), QStringList{"1|配电线路"});
    QCOMPARE(m_ds->recordCount(), 1);
}

void TestEditCycle::failedEditKeepsRow()
{
    QVERIFY(DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (1, '甲', 0)"));
    QVERIFY(m_cycle->open(QStringLiteral("select * from zyzl")));
    // Another client renamed the trade meanwhile: the update finds no row.
    QVERIFY(DbExec("update zyzl set zyzlmc = '丁' where zyzllsh = 1"));
    m_edit->setText(QStringLiteral("戊"));
    QVERIFY(!m_cycle->save());
    QVERIFY(m_dialogs->lastText().startsWith(QStringLiteral("保存出现异常！原因：")));
    QCOMPARE(m_edit->text(), QStringLiteral("戊"));
    QCOMPARE(m_ds->asString("zyzlmc"), QStringLiteral("甲"));
    QCOMPARE(DbScalar("select zyzlmc from zyzl"), QStringLiteral("丁"));
}

void TestEditCycle::abandonedBlankRowIsNeverWritten()
{
    QVERIFY(DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (1, '甲', 0)"));
    QVERIFY(m_cycle->open(QStringLiteral("select * from zyzl")));
    m_cycle->add();
    m_cycle->add(); // twice: still one blank row
    QCOMPARE(m_ds->recordCount(), 2);
    QVERIFY(m_ds->moveTo(1)); // the user leaves the blank row
    QCOMPARE(m_ds->recordCount(), 1);
    QVERIFY(!m_ds->hasChanges());
    QCOMPARE(m_edit->text(), QStringLiteral("甲"));
    m_edit->setText(QStringLiteral("甲一"));
    QVERIFY(m_cycle->save());
    QCOMPARE(DbRows("select zyzllsh, zyzlmc from zyzl"), QStringList{"1|甲一"});
}

void TestEditCycle::removeAsksAndReportsFailure()
{
    QVERIFY(DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (1, '甲', 0)"));
    QVERIFY(DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (2, '乙', 0)"));
    QVERIFY(m_cycle->open(QStringLiteral("select * from zyzl order by zyzllsh")));
    m_dialogs->answerCancel();
    QVERIFY(!m_cycle->remove());
    QCOMPARE(DbScalar("select count(*) from zyzl"), QStringLiteral("2"));

    dmMain()->setFaultInjector([](const QString &sql) {
        return sql.startsWith(QLatin1String("delete"))
                   ? QSqlError(QString(), "locked", QSqlError::StatementError)
                   : QSqlError();
    });
    m_dialogs->answerOk();
    QVERIFY(!m_cycle->remove());
    QVERIFY(m_dialogs->lastText().startsWith(QStringLiteral("删除出现异常！原因：")));
    QCOMPARE(m_ds->recordCount(), 2);

    dmMain()->setFaultInjector({});
    m_dialogs->answerOk();
    const int before = m_rowChanges;
    QVERIFY(m_cycle->remove());
    QCOMPARE(DbRows("select zyzlmc from zyzl"), QStringList{"乙"});
    QCOMPARE(m_edit->text(), QStringLiteral("乙"));
    QCOMPARE(m_rowChanges, before + 1); // the refresh runs once, after the delete
    QVERIFY(m_dialogs->unexpected.isEmpty());
}

void TestEditCycle::cancelRestoresRow()
{
    QVERIFY(DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (1, '甲', 0)"));
    QVERIFY(m_cycle->open(QStringLiteral("select * from zyzl")));
    m_cycle->add();
    m_edit->setText(QStringLiteral("未保存"));
    m_cycle->cancel();
    QCOMPARE(m_ds->recordCount(), 1);
    QCOMPARE(m_edit->text(), QStringLiteral("甲"));
    QCOMPARE(m_cycle->remembered(), QStringLiteral("甲"));
}

QTEST_MAIN(TestEditCycle)
#include "tst_editcycle.moc"
