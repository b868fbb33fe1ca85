#include "app/uEditCycle.h"
#include "bank/BankFixture.h"
#include "org/uDeptPath.h"
#include "org/ufrmBmgw.h"
#include "platform/ClientDataSet.h"
#include "platform/widgets/DataGrid.h"
#include "platform/widgets/DataTree.h"
#include "support/DbRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

// Departments and posts: levels, sibling names, display orders, the parent picker, deleting, and the
// department path with a loop stored by an older client.
class TestBmgw : public QObject
{
    Q_OBJECT
private slots:
    void deptPath_data();
    void deptPath();
    void init();
    void cleanup();
    void levels_data();
    void levels();
    void siblingNames_data();
    void siblingNames();
    void displayOrderFallback_data();
    void displayOrderFallback();
    void displayOrderProposed();
    void deleteDepartment_data();
    void deleteDepartment();
    void parentRefused_data();
    void parentRefused();
    void postNameRules();
    void movedDepartmentTakesItsTeams();

private:
    void open();
    void select(int key);
    void pickParent(int key);
    QLineEdit *edit(const char *name) { return Ctl<QLineEdit>(m_form.get(), name); }

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<TfrmBmgw> m_form;
};

// Rows key|parent|name.
static ClientDataSet *Departments(QObject *owner, const QStringList &rows)
{
    auto *ds = new ClientDataSet(owner);
    QList<QVariantList> values;
    for (const QString &r : rows) {
        const QStringList f = r.split(u'|');
        values.append({f[0].toInt(), f[1].isEmpty() ? QVariant() : QVariant(f[1].toInt()), f[2]});
    }
    ds->setRows({{QStringLiteral("bmlsh"), QMetaType::Int},
                 {QStringLiteral("bm_bmlsh"), QMetaType::Int},
                 {QStringLiteral("bmmc"), QMetaType::QString}},
                values);
    return ds;
}

void TestBmgw::deptPath_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("below");
    QTest::addColumn<bool>("isBelow");
    const QStringList tree{"1||公司", "2|1|变电工区", "3|2|运行一班"};
    QTest::newRow("three levels") << tree << 3 << "公司\\变电工区\\运行一班" << 1 << true;
    QTest::newRow("top") << tree << 1 << "公司" << 3 << false;
    QTest::newRow("unknown key") << tree << 9 << "" << 1 << false;
    // 1 -> 3 -> 2 -> 1: stored by an older client; the walk must end.
    const QStringList loop{"1|3|甲", "2|1|乙", "3|2|丙"};
    QTest::newRow("stored loop") << loop << 2 << "丙\\甲\\乙" << 3 << true;
    QTest::newRow("own parent") << QStringList{"5|5|自己"} << 5 << "自己" << 5 << false;
}

void TestBmgw::deptPath()
{
    QFETCH(QStringList, rows);
    QFETCH(int, key);
    QFETCH(QString, path);
    QFETCH(int, below);
    QFETCH(bool, isBelow);
    QObject owner;
    ClientDataSet *ds = Departments(&owner, rows);
    QCOMPARE(GetDeptPath(ds, key), path);
    QCOMPARE(IsDescendantDept(ds, key, below), isBelow);
}

void TestBmgw::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_db = std::make_unique<TestDb>();
    REQUIRE_TESTDB(*m_db);
    // 1 公司 (level 0) > 2 变电工区 (1) > 3 运行一班 (2); 4 人资部 (0).
    QVERIFY(DbExec(
        "insert into bm (bmlsh, bm_bmlsh, bmmc, bmdm, sfsczz, jb, xssx) values (1, null, '公司', 'GS', "
        "'0', 0, 1)"));
    QVERIFY(DbExec(
        "insert into bm (bmlsh, bm_bmlsh, bmmc, bmdm, sfsczz, jb, xssx) values (2, 1, '变电工区', 'BD', "
        "'1', 1, 5)"));
    QVERIFY(DbExec("insert into bm (bmlsh, bm_bmlsh, bmmc, bmdm, sfsczz, jb, xssx) values (3, 2, '运行一班', "
                   "'BD1', '1', 2, 7)"));
    QVERIFY(
        DbExec("insert into bm (bmlsh, bm_bmlsh, bmmc, bmdm, sfsczz, jb, xssx) values (4, null, '人资部', "
               "'RZ', '0', 0, 2)"));
    QVERIFY(DbExec(
        "insert into gw (gwlsh, bmlsh, gwmc, gwxz, gwdm, xssx) values (1, 3, '值班员', '生产', 'Z1', 1)"));
}

void TestBmgw::cleanup()
{
    m_form.reset();
    if (m_dialogs)
        QVERIFY2(m_dialogs->unexpected.isEmpty(), qPrintable(m_dialogs->unexpected.join(u'|')));
    m_db.reset();
    m_dialogs.reset();
}

void TestBmgw::open()
{
    m_form = std::make_unique<TfrmBmgw>();
    m_form->show();
}

void TestBmgw::select(int key)
{
    QVERIFY(Ctl<DataTree>(m_form.get(), "dtlBm")->selectKey(key));
    QCOMPARE(m_form->deptCycle()->currentKey(), key);
}

void TestBmgw::pickParent(int key)
{
    m_form->ShowPicker();
    QVERIFY(Ctl<QWidget>(m_form.get(), "pnlBmxz")->isVisible());
    QVERIFY(Ctl<DataTree>(m_form.get(), "dtlBmxz")->selectKey(key));
    Click(m_form.get(), "btnOK");
    QVERIFY(!Ctl<QWidget>(m_form.get(), "pnlBmxz")->isVisible());
}

void TestBmgw::levels_data()
{
    QTest::addColumn<int>("parent"); // 0: none
    QTest::addColumn<QString>("stored");
    QTest::newRow("top level") << 0 << "|0";
    QTest::newRow("under level 0") << 1 << "1|1";
    QTest::newRow("under level 1") << 2 << "2|2";
    QTest::newRow("under level 2") << 3 << "3|3";
}

void TestBmgw::levels()
{
    QFETCH(int, parent);
    QFETCH(QString, stored);
    open();
    Click(m_form.get(), "btnAdd");
    QVERIFY(edit("edtSjbm")->text().isEmpty());
    edit("edtBmmc")->setText(QStringLiteral("新部门"));
    if (parent)
        pickParent(parent);
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存部门完成！"));
    QCOMPARE(DbScalar("select max(bmlsh) from bm"), QStringLiteral("5"));
    QCOMPARE(DbRows("select bm_bmlsh, jb from bm where bmlsh = 5"), QStringList{stored});
    // The new department is in the tree and the picker at once.
    QVERIFY(Ctl<DataTree>(m_form.get(), "dtlBm")->nodeOf(5));
    QVERIFY(Ctl<DataTree>(m_form.get(), "dtlBmxz")->nodeOf(5));
}

void TestBmgw::siblingNames_data()
{
    QTest::addColumn<int>("parent");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("same name under another parent") << 1 << "运行一班" << true;
    QTest::newRow("same name under the same parent") << 2 << "运行一班" << false;
    QTest::newRow("top level name used below") << 0 << "变电工区" << false;
    QTest::newRow("new top level name") << 0 << "O'Neil 工区" << true;
}

void TestBmgw::siblingNames()
{
    QFETCH(int, parent);
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    open();
    Click(m_form.get(), "btnAdd");
    edit("edtBmmc")->setText(name);
    if (parent)
        pickParent(parent);
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), accepted
                                        ? QStringLiteral("保存部门完成！")
                                        : QStringLiteral("当前上级部门下己有该下级部门名称，请重新输入！"));
    QCOMPARE(DbRows("select bmlsh from bm").size(), accepted ? 5 : 4);
    if (!accepted)
        QVERIFY(edit("edtBmmc")->text().isEmpty()); // the loaded name of a new row is empty
}

void TestBmgw::displayOrderFallback_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("dept");
    QTest::addColumn<QString>("post");
    QTest::newRow("empty") << ""
                           << "10"
                           << "0";
    QTest::newRow("not a number") << "x1"
                                  << "10"
                                  << "0";
    QTest::newRow("number") << " 12 "
                            << "12"
                            << "12";
}

void TestBmgw::displayOrderFallback()
{
    QFETCH(QString, typed);
    QFETCH(QString, dept);
    QFETCH(QString, post);
    open();
    select(4);
    edit("edtXssx")->setText(typed);
    Click(m_form.get(), "btnSave");
    QCOMPARE(DbScalar("select xssx from bm where bmlsh = 4"), dept);
    Click(m_form.get(), "btnAddGw");
    edit("edtGwmc")->setText(QStringLiteral("人事专责"));
    edit("edtXssxGw")->setText(typed);
    Click(m_form.get(), "btnSaveGw");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存岗位成功！"));
    QCOMPARE(DbRows("select bmlsh, xssx from gw where gwmc = '人事专责'"), QStringList{"4|" + post});
}

void TestBmgw::displayOrderProposed()
{
    open();
    select(3);
    QCOMPARE(edit("edtXssx")->text(), QStringLiteral("7"));
    Click(m_form.get(), "btnAdd");
    QCOMPARE(edit("edtXssx")->text(), QStringLiteral("8"));
    QVERIFY(Ctl<DataGrid>(m_form.get(), "dbgGw")->dataSet()->isEmpty()); // no posts for a new department
}

void TestBmgw::deleteDepartment_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("left");
    QTest::newRow("with sub-departments") << 2 << "该部门有下级部门，不能删除" << 4;
    QTest::newRow("leaf") << 3 << "确认要删除该部门吗？" << 3;
}

void TestBmgw::deleteDepartment()
{
    QFETCH(int, key);
    QFETCH(QString, message);
    QFETCH(int, left);
    open();
    select(key);
    if (left < 4)
        m_dialogs->answerOk();
    Click(m_form.get(), "btnDel");
    QCOMPARE(m_dialogs->texts(), QStringList{message}); // refused before any question
    QCOMPARE(DbRows("select bmlsh from bm").size(), left);
    QCOMPARE(DbRows("select gwlsh from gw where bmlsh = 3").size(), 1); // posts stay
}

void TestBmgw::parentRefused_data()
{
    QTest::addColumn<int>("dept");
    QTest::addColumn<int>("parent");
    QTest::addColumn<QString>("message");
    QTest::newRow("itself") << 2 << 2 << "上级部门不能与本部门相同！";
    QTest::newRow("its child") << 1 << 2 << "上级部门不能是本部门的下级部门，请重新选择！";
    QTest::newRow("its grandchild") << 1 << 3 << "上级部门不能是本部门的下级部门，请重新选择！";
}

void TestBmgw::parentRefused()
{
    QFETCH(int, dept);
    QFETCH(int, parent);
    QFETCH(QString, message);
    open();
    select(dept);
    pickParent(parent);
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), message);
    QCOMPARE(DbRows("select bmlsh, bm_bmlsh, jb from bm order by bmlsh"),
             (QStringList{"1||0", "2|1|1", "3|2|2", "4||0"}));
}

void TestBmgw::postNameRules()
{
    open();
    select(3);
    QCOMPARE(edit("edtGwmc")->text(), QStringLiteral("值班员"));
    Click(m_form.get(), "btnAddGw");
    edit("edtGwmc")->setText(QStringLiteral("值班员"));
    Click(m_form.get(), "btnSaveGw");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("该部门己存在，请重新输入！"));
    // The same post name in another department is fine.
    select(2);
    Click(m_form.get(), "btnAddGw");
    edit("edtGwmc")->setText(QStringLiteral("值班员"));
    Click(m_form.get(), "btnSaveGw");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存岗位成功！"));
    QCOMPARE(DbRows("select bmlsh from gw where gwmc = '值班员' order by bmlsh"), (QStringList{"2", "3"}));
}

void TestBmgw::movedDepartmentTakesItsTeams()
{
    QVERIFY(
        DbExec("insert into bm (bmlsh, bm_bmlsh, bmmc, sfsczz, jb, xssx) values (5, 3, '一组', '1', 3, 1)"));
    open();
    select(3);
    pickParent(4);
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存部门完成！"));
    QCOMPARE(DbRows("select bmlsh, bm_bmlsh, jb from bm where bmlsh in (3, 5) order by bmlsh"),
             (QStringList{"3|4|1", "5|3|2"}));
    QCOMPARE(edit("edtSjbm")->text(), QStringLiteral("人资部"));
    // The team saves later as it is stored now.
    select(5);
    QCOMPARE(edit("edtSjbm")->text(), QStringLiteral("人资部\\运行一班"));
    edit("edtBmdm")->setText(QStringLiteral("YZ"));
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存部门完成！"));
    QCOMPARE(DbRows("select bmdm, jb from bm where bmlsh = 5"), QStringList{"YZ|2"});
}

QTEST_MAIN(TestBmgw)
#include "tst_bmgw.moc"
