#include "BankFixture.h"
#include "bank/ufrmMk.h"
#include "bank/ufrmXzkmbm.h"
#include "data/udmMain.h"
#include "platform/ClientDataSet.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QSqlError>

class TestMk : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void newModuleLinkedToCurrentSubject();
    void subjectListWrittenOncePerPair();
    void removeFromListNeedsSelection();
    void refusals_data();
    void refusals();
    void deleteLeavesEverySubject();
    void failedRelationKeepsOldLinks();
    void chooserListsTradeAndLevel();

private:
    void open();
    void addModule(const QString &code, const QString &name);
    void chooseSubject(const QString &trade, const QString &subject);
    QListWidget *list() { return Ctl<QListWidget>(m_form.get(), "lbKmmkgx"); }
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<TfrmMk> m_form;
};

void TestMk::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_db = std::make_unique<TestDb>();
    REQUIRE_TESTDB(*m_db);
    QVERIFY(AddTrades());
    QVERIFY(AddSubject(1, 1, 1, 1, "BD-1", "变电设备"));
    QVERIFY(AddSubject(2, 1, 1, 2, "BD-2", "倒闸操作"));
    QVERIFY(AddSubject(3, 2, 1, 1, "PD-1", "配电线路基础"));
    QVERIFY(AddSubject(4, 2, 2, 1, "PD-2", "配电线路运行"));
}

void TestMk::cleanup()
{
    m_form.reset();
    m_db.reset();
    m_dialogs.reset();
}

void TestMk::open()
{
    m_form = std::make_unique<TfrmMk>();
    m_form->show();
    QVERIFY(!Ctl<QWidget>(m_form.get(), "pnlBtn")->isEnabled());
    Choose(m_form.get(), "cbZyzl", "变电运行");
    QVERIFY(Ctl<QWidget>(m_form.get(), "pnlBtn")->isEnabled());
}

void TestMk::addModule(const QString &code, const QString &name)
{
    Click(m_form.get(), "btnAdd");
    Ctl<QLineEdit>(m_form.get(), "edtMkbm")->setText(code);
    Ctl<QLineEdit>(m_form.get(), "edtMkmc")->setText(name);
}

// 新增所属科目编码 through the chooser.
void TestMk::chooseSubject(const QString &trade, const QString &subject)
{
    m_dialogs->onDialog([=](QWidget *w) {
        auto *dlg = qobject_cast<TfrmXzkmbm *>(w);
        Choose(dlg, "cbZyzl", trade);
        if (!dlg->cdsKm->locate("kmmc", subject))
            qWarning("subject %s not offered", qPrintable(subject));
        Click(dlg, "btnOK");
        return dlg->result();
    });
    m_form->findChild<QAction *>("N1")->trigger();
}

void TestMk::newModuleLinkedToCurrentSubject()
{
    open();
    addModule(" M1 ", "设备巡视'一");
    QCOMPARE(list()->count(), 0);
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存模块信息成功！"));
    QCOMPARE(DbRows("select mklsh, mkbm, mkmc from mk"), QStringList{"1|M1|设备巡视'一"});
    QCOMPARE(DbRows("select mklsh, kmlsh from kmmkgxb"), QStringList{"1|1"});
    QCOMPARE(list()->count(), 1);
    QCOMPARE(list()->item(0)->text(), QStringLiteral("变电运行\\变电设备"));

    // Another subject does not list the module; back on the first it is there again.
    auto *cdsKm = m_form->findChild<ClientDataSet *>("cdsKm");
    auto *cdsMk = m_form->findChild<ClientDataSet *>("cdsMk");
    QVERIFY(cdsKm->moveTo(2));
    QCOMPARE(cdsMk->recordCount(), 0);
    QVERIFY(Ctl<QLineEdit>(m_form.get(), "edtMkbm")->text().isEmpty());
    QVERIFY(cdsKm->moveTo(1));
    QCOMPARE(cdsMk->recordCount(), 1);
    QCOMPARE(Ctl<QLineEdit>(m_form.get(), "edtMkmc")->text(), QStringLiteral("设备巡视'一"));

    // Renaming keeps the links.
    Ctl<QLineEdit>(m_form.get(), "edtMkmc")->setText(QStringLiteral("设备巡视"));
    Click(m_form.get(), "btnSave");
    QCOMPARE(DbRows("select mklsh, mkmc from mk"), QStringList{"1|设备巡视"});
    QCOMPARE(DbRows("select mklsh, kmlsh from kmmkgxb"), QStringList{"1|1"});
    QVERIFY(m_dialogs->unexpected.isEmpty());
}

void TestMk::subjectListWrittenOncePerPair()
{
    open();
    addModule("M1", "共用模块");
    chooseSubject("配电线路", "配电线路基础");
    chooseSubject("变电运行", "变电设备"); // the current subject itself
    QCOMPARE(list()->count(), 2);
    chooseSubject("配电线路", "配电线路基础"); // already listed: refused
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("该科目已在所属科目编码中，不能重复增加！"));
    QCOMPARE(list()->count(), 2);
    QCOMPARE(list()->item(0)->text(), QStringLiteral("配电线路\\配电线路基础"));
    Click(m_form.get(), "btnSave");
    QCOMPARE(DbRows("select mklsh, kmlsh from kmmkgxb order by kmlsh"), (QStringList{"1|1", "1|3"}));
    Click(m_form.get(), "btnSave"); // saving again rewrites, never doubles
    QCOMPARE(DbRows("select mklsh, kmlsh from kmmkgxb order by kmlsh"), (QStringList{"1|1", "1|3"}));
}

void TestMk::removeFromListNeedsSelection()
{
    open();
    Click(m_form.get(), "btnAdd");
    m_form->findChild<QAction *>("N2")->trigger(); // empty list: nothing
    QVERIFY(m_dialogs->texts().isEmpty());
    chooseSubject("配电线路", "配电线路基础");
    list()->clearSelection();
    list()->setCurrentRow(-1);
    m_form->findChild<QAction *>("N2")->trigger();
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("请选择所属科目模块！"));
    QCOMPARE(list()->count(), 1);
    list()->setCurrentRow(0);
    m_form->findChild<QAction *>("N2")->trigger();
    QCOMPARE(list()->count(), 0);
    QVERIFY(m_form->subjectKeys().isEmpty());
}

void TestMk::refusals_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("no code") << " "
                             << "名称"
                             << "模块编码不能为空，请重新输入！";
    QTest::newRow("no name") << "M1"
                             << "  "
                             << "模块名称不能为空，请重新输入！！";
}

void TestMk::refusals()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, message);
    open();
    addModule(code, name);
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->texts(), QStringList{message});
    QCOMPARE(DbScalar("select count(*) from mk"), QStringLiteral("0"));
}

void TestMk::deleteLeavesEverySubject()
{
    QVERIFY(DbExec("insert into mk (mklsh, mkbm, mkmc) values (7, 'M7', '共用')"));
    QVERIFY(DbExec("insert into kmmkgxb (mklsh, kmlsh) values (7, 1)"));
    QVERIFY(DbExec("insert into kmmkgxb (mklsh, kmlsh) values (7, 3)"));
    open();
    QCOMPARE(list()->count(), 2);
    m_dialogs->answerCancel();
    Click(m_form.get(), "btnDel");
    QCOMPARE(DbScalar("select count(*) from mk"), QStringLiteral("1"));
    m_dialogs->answerOk();
    Click(m_form.get(), "btnDel");
    QCOMPARE(m_dialogs->shown.last().text, QStringLiteral("确认要删除该模块信息吗？"));
    QCOMPARE(DbScalar("select count(*) from mk"), QStringLiteral("0"));
    QCOMPARE(DbScalar("select count(*) from kmmkgxb"), QStringLiteral("0"));
    QCOMPARE(m_form->findChild<ClientDataSet *>("cdsMk")->recordCount(), 0);
    QCOMPARE(list()->count(), 0);
    // A later save of a new module is not disturbed by the row deleted outside the write-back.
    addModule("M8", "新模块");
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存模块信息成功！"));
    QCOMPARE(DbRows("select mklsh, mkbm from mk"), QStringList{"1|M8"});
}

void TestMk::failedRelationKeepsOldLinks()
{
    QVERIFY(DbExec("insert into mk (mklsh, mkbm, mkmc) values (7, 'M7', '共用')"));
    QVERIFY(DbExec("insert into kmmkgxb (mklsh, kmlsh) values (7, 1)"));
    QVERIFY(DbExec("insert into kmmkgxb (mklsh, kmlsh) values (7, 3)"));
    open();
    list()->setCurrentRow(1);
    m_form->findChild<QAction *>("N2")->trigger(); // drop 配电线路基础
    dmMain()->setFaultInjector([](const QString &sql) {
        return sql.startsWith(QLatin1String("insert into kmmkgxb"))
                   ? QSqlError(QString(), "disk full", QSqlError::StatementError)
                   : QSqlError();
    });
    Click(m_form.get(), "btnSave");
    QVERIFY(m_dialogs->lastText().startsWith(QStringLiteral("保存模块信息出现异常！原因：")));
    // All or nothing: the module still belongs to both subjects.
    QCOMPARE(DbRows("select kmlsh from kmmkgxb order by kmlsh"), (QStringList{"1", "3"}));
    dmMain()->setFaultInjector({});
    list()->setCurrentRow(1);
    m_form->findChild<QAction *>("N2")->trigger();
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存模块信息成功！"));
    QCOMPARE(DbRows("select kmlsh from kmmkgxb"), QStringList{"1"});
}

void TestMk::chooserListsTradeAndLevel()
{
    TfrmXzkmbm dlg;
    dlg.FormShow();
    QCOMPARE(dlg.cdsKm->recordCount(), 0);
    Click(&dlg, "btnOK");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("请选择科目！"));
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    Choose(&dlg, "cbDj", "Ⅱ级");
    QCOMPARE(dlg.cdsKm->recordCount(), 0); // the level alone reloads nothing
    Choose(&dlg, "cbZyzl", "配电线路");
    QCOMPARE(dlg.cdsKm->recordCount(), 1);
    QCOMPARE(dlg.cdsKm->asString("kmbm"), QStringLiteral("PD-2"));
}

QTEST_MAIN(TestMk)
#include "tst_mk.moc"
