#include "app/uEditCycle.h"
#include "bank/ufrmZyzl.h"
#include "data/udmMain.h"
#include "platform/widgets/DataGrid.h"
#include "support/DbRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestZyzl : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void addChangeDelete();
    void emptyNameRefused_data();
    void emptyNameRefused();
    void renameToOtherTradeRefused();
    void postTypeCellBlankForNone();

private:
    template <class T> T *w(const char *name)
    {
        T *c = m_form->findChild<T *>(QLatin1String(name));
        if (!c)
            qFatal("control %s missing", name);
        return c;
    }
    void click(const char *name) { w<QPushButton>(name)->click(); }
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<TfrmZyzl> m_form;
};

void TestZyzl::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_db = std::make_unique<TestDb>();
    REQUIRE_TESTDB(*m_db);
}

void TestZyzl::cleanup()
{
    m_form.reset();
    m_db.reset();
    m_dialogs.reset();
}

void TestZyzl::addChangeDelete()
{
    m_form = std::make_unique<TfrmZyzl>();
    m_form->show();
    click("btnAdd");
    w<QLineEdit>("edtZyzlmc")->setText(QStringLiteral("  变电运行  "));
    w<QComboBox>("cbGwlx")->setCurrentIndex(0);
    click("btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存工种完成！"));
    click("btnAdd");
    w<QLineEdit>("edtZyzlmc")->setText(QStringLiteral("配电'线路"));
    w<QComboBox>("cbGwlx")->setCurrentIndex(1);
    click("btnSave");
    QCOMPARE(DbRows("select zyzllsh, zyzlmc, gwlxlsh from zyzl order by zyzllsh"),
             (QStringList{"1|变电运行|1", "2|配电'线路|2"}));

    // Change the first trade: the name it keeps is its own.
    auto *grid = w<DataGrid>("dbgZyzl");
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QCOMPARE(w<QLineEdit>("edtZyzlmc")->text(), QStringLiteral("变电运行"));
    QCOMPARE(w<QComboBox>("cbGwlx")->currentText(), QStringLiteral("生产岗位"));
    w<QComboBox>("cbGwlx")->setCurrentIndex(1);
    click("btnSave");
    QCOMPARE(DbScalar("select gwlxlsh from zyzl where zyzllsh = 1"), QStringLiteral("2"));

    m_dialogs->answerOk();
    click("btnDel");
    QCOMPARE(m_dialogs->shown.at(m_dialogs->shown.size() - 1).text, QStringLiteral("确认要删除该工种吗？"));
    QCOMPARE(DbRows("select zyzlmc from zyzl"), QStringList{"配电'线路"});
    QCOMPARE(w<QLineEdit>("edtZyzlmc")->text(), QStringLiteral("配电'线路"));
    QVERIFY(m_dialogs->unexpected.isEmpty());
}

void TestZyzl::emptyNameRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
}

void TestZyzl::emptyNameRefused()
{
    QFETCH(QString, name);
    m_form = std::make_unique<TfrmZyzl>();
    m_form->show();
    w<QLineEdit>("edtZyzlmc")->setText(name);
    click("btnSave");
    QCOMPARE(m_dialogs->texts(), QStringList{"工种名称不能为空，请重新输入！"});
    QCOMPARE(DbScalar("select count(*) from zyzl"), QStringLiteral("0"));
}

void TestZyzl::renameToOtherTradeRefused()
{
    QVERIFY(DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (1, '变电运行', 1)"));
    QVERIFY(DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (2, '配电线路', 1)"));
    m_form = std::make_unique<TfrmZyzl>();
    m_form->show();
    QCOMPARE(w<QLineEdit>("edtZyzlmc")->text(), QStringLiteral("变电运行"));
    w<QLineEdit>("edtZyzlmc")->setText(QStringLiteral("配电线路"));
    click("btnSave");
    QCOMPARE(m_dialogs->texts(), QStringList{"该工种名称己存在，请重新输入！"});
    QCOMPARE(w<QLineEdit>("edtZyzlmc")->text(), QStringLiteral("变电运行"));
    QCOMPARE(DbScalar("select zyzlmc from zyzl where zyzllsh = 1"), QStringLiteral("变电运行"));
}

void TestZyzl::postTypeCellBlankForNone()
{
    QVERIFY(DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (1, '变电运行', 0)"));
    m_form = std::make_unique<TfrmZyzl>();
    m_form->show();
    auto *grid = w<DataGrid>("dbgZyzl");
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("1"));
    QCOMPARE(grid->model()->index(0, 2).data().toString(), QString());
    QCOMPARE(w<QComboBox>("cbGwlx")->currentIndex(), -1);
    click("btnSave"); // unchanged save of an existing name succeeds
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存工种完成！"));
    QCOMPARE(DbRows("select zyzlmc, gwlxlsh from zyzl"), QStringList{"变电运行|0"});
}

QTEST_MAIN(TestZyzl)
#include "tst_zyzl.moc"
