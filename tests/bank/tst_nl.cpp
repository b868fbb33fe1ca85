#include "BankFixture.h"
#include "app/uEditCycle.h"
#include "bank/ufrmNl.h"
#include "bank/ufrmXznlx.h"
#include "platform/ClientDataSet.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QLineEdit>
#include <QPlainTextEdit>

class TestNl : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void outlineWithCodes();
    void refusals_data();
    void refusals();
    void uniqueness();
    void nothingSavedUnderNewParent();
    void showAllAndChooser();

private:
    void open();
    void addCategory(const QString &xh, const QString &mc);
    void addItem(const QString &bh, const QString &mc);
    void addDescription(int levelIndex, const QString &text);
    ClientDataSet *ds(const char *name) { return m_form->findChild<ClientDataSet *>(QLatin1String(name)); }
    QLineEdit *edit(const char *name) { return Ctl<QLineEdit>(m_form.get(), name); }
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<TfrmNl> m_form;
};

void TestNl::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_db = std::make_unique<TestDb>();
    REQUIRE_TESTDB(*m_db);
    QVERIFY(AddTrades());
}

void TestNl::cleanup()
{
    m_form.reset();
    m_db.reset();
    m_dialogs.reset();
}

void TestNl::open()
{
    m_form = std::make_unique<TfrmNl>();
    m_form->show();
    QVERIFY(!Ctl<QWidget>(m_form.get(), "pnlMain")->isEnabled());
    Choose(m_form.get(), "cbZyzl", "变电运行");
    QVERIFY(Ctl<QWidget>(m_form.get(), "pnlMain")->isEnabled());
}

void TestNl::addCategory(const QString &xh, const QString &mc)
{
    Click(m_form.get(), "btnNlzlAdd");
    edit("edtNlzlxh")->setText(xh);
    edit("edtNlzlmc")->setText(mc);
    Click(m_form.get(), "btnNlzlSave");
}

void TestNl::addItem(const QString &bh, const QString &mc)
{
    Click(m_form.get(), "btnNlxAdd");
    edit("edtNlxbh")->setText(bh);
    edit("edtNlxmc")->setText(mc);
    Click(m_form.get(), "btnNlxSave");
}

void TestNl::addDescription(int levelIndex, const QString &text)
{
    Click(m_form.get(), "btnNlmsAdd");
    Ctl<QComboBox>(m_form.get(), "cbDj")->setCurrentIndex(levelIndex);
    Ctl<QPlainTextEdit>(m_form.get(), "memNlms")->setPlainText(text);
    Click(m_form.get(), "btnNlmsSave");
}

void TestNl::outlineWithCodes()
{
    open();
    addCategory(" 2 ", "倒闸'操作");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存能力种类成功！"));
    addItem("03", "填写操作票");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存能力项编码成功！"));
    addDescription(1, "  能正确填写\n倒闸操作票 ");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存能力描述成功！"));
    QCOMPARE(DbRows("select nlzllsh, zyzllsh, nlzlxh, nlzlmc from nlzl"), QStringList{"1|1|2|倒闸'操作"});
    QCOMPARE(DbRows("select nlxlsh, nlzllsh, nlxbh, nlxbm, nlxmc from nlx"),
             QStringList{"1|1|3|203|填写操作票"});
    QCOMPARE(DbRows("select nlxdjgxlsh, nlxlsh, djlsh, nlxdjbm, nlxdjms from nlxdjgxb"),
             QStringList{"1|1|2|203-Ⅱ|  能正确填写\n倒闸操作票 "});

    // Changing the text of a description keeps its level.
    Ctl<QPlainTextEdit>(m_form.get(), "memNlms")->setPlainText(QStringLiteral("能填写操作票"));
    Click(m_form.get(), "btnNlmsSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存能力描述成功！"));
    QCOMPARE(DbRows("select djlsh, nlxdjms from nlxdjgxb"), QStringList{"2|能填写操作票"});

    // Moving between categories shows each one's own items.
    addCategory("3", "事故处理");
    QCOMPARE(ds("cdsNlx")->recordCount(), 0);
    QVERIFY(ds("cdsNlzl")->locate("nlzlxh", "2"));
    QCOMPARE(ds("cdsNlx")->recordCount(), 1);
    QCOMPARE(ds("cdsNlms")->recordCount(), 1);
    QCOMPARE(edit("edtNlxbh")->text(), QStringLiteral("3"));

    m_dialogs->answerOk();
    Click(m_form.get(), "btnNlmsDel");
    QCOMPARE(m_dialogs->shown.last().text, QStringLiteral("确认要删除该能力描述吗？"));
    QCOMPARE(DbScalar("select count(*) from nlxdjgxb"), QStringLiteral("0"));
    m_dialogs->answerOk();
    Click(m_form.get(), "btnNlxDel");
    QCOMPARE(DbScalar("select count(*) from nlx"), QStringLiteral("0"));
    m_dialogs->answerOk();
    Click(m_form.get(), "btnNlzlDel");
    QCOMPARE(DbRows("select nlzlxh from nlzl"), QStringList{"3"});
    QVERIFY(m_dialogs->unexpected.isEmpty());
}

void TestNl::refusals_data()
{
    QTest::addColumn<QString>("list"); // which list is saved
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("message");
    QTest::newRow("category, no number") << "Nlzl"
                                         << ""
                                         << "名"
                                         << "能力种类序号不能为空，请重新输入！";
    QTest::newRow("category, no name") << "Nlzl"
                                       << "1"
                                       << " "
                                       << "能力种类名称不能为空，请重新输入！";
    QTest::newRow("item, no number") << "Nlx"
                                     << ""
                                     << "名"
                                     << "能力项编码不能为空，请重新输入！";
    QTest::newRow("item, pasted letters") << "Nlx"
                                          << "1 or 1=1"
                                          << "名"
                                          << "能力项编号只能是数字，请重新输入！";
    QTest::newRow("item, too big") << "Nlx"
                                   << "99999999999"
                                   << "名"
                                   << "能力项编号只能是数字，请重新输入！";
    QTest::newRow("item, no name") << "Nlx"
                                   << "1"
                                   << ""
                                   << "能力项名称不能为空，请重新输入！";
    QTest::newRow("description, no level") << "Nlms"
                                           << "-1"
                                           << "描述"
                                           << "请选择能力描述对应的等级！";
    QTest::newRow("description, blank text") << "Nlms"
                                             << "0"
                                             << " \n "
                                             << "能力描述不能为空，请重新输入！";
}

void TestNl::refusals()
{
    QFETCH(QString, list);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, message);
    QVERIFY(DbExec("insert into nlzl (nlzllsh, zyzllsh, nlzlxh, nlzlmc) values (1, 1, '1', '甲')"));
    QVERIFY(DbExec("insert into nlx (nlxlsh, nlzllsh, nlxbh, nlxbm, nlxmc) values (1, 1, 1, '11', '乙')"));
    open();
    const QStringList before =
        DbRows("select count(*) from nlzl union all select count(*) from nlx union all "
               "select count(*) from nlxdjgxb");
    Click(m_form.get(), qPrintable("btn" + list + "Add"));
    if (list == "Nlzl") {
        edit("edtNlzlxh")->setText(first);
        edit("edtNlzlmc")->setText(second);
    } else if (list == "Nlx") {
        edit("edtNlxbh")->setText(first);
        edit("edtNlxmc")->setText(second);
    } else {
        Ctl<QComboBox>(m_form.get(), "cbDj")->setCurrentIndex(first.toInt());
        Ctl<QPlainTextEdit>(m_form.get(), "memNlms")->setPlainText(second);
    }
    Click(m_form.get(), qPrintable("btn" + list + "Save"));
    QCOMPARE(m_dialogs->texts(), QStringList{message});
    QCOMPARE(DbRows("select count(*) from nlzl union all select count(*) from nlx union all "
                    "select count(*) from nlxdjgxb"),
             before);
}

void TestNl::uniqueness()
{
    open();
    addCategory("1", "甲");
    addItem("1", "项一");
    addItem("2", "项二");
    addDescription(0, "一级");
    addDescription(0, "又一个一级");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("该等级的能力描述己存在，请重新输入！"));
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbDj")->currentIndex(), -1); // back to the new row's (none)
    QCOMPARE(DbScalar("select count(*) from nlxdjgxb"), QStringLiteral("1"));

    // Item number 01 is number 1 of the same category: refused, the box gets its old number back.
    edit("edtNlxbh")->setText(QStringLiteral("01"));
    Click(m_form.get(), "btnNlxSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("该能力项编号己存在，请重新输入！"));
    QCOMPARE(edit("edtNlxbh")->text(), QStringLiteral("2"));
    // Its own number, typed with a leading zero, is its own.
    edit("edtNlxbh")->setText(QStringLiteral("02"));
    Click(m_form.get(), "btnNlxSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存能力项编码成功！"));

    addCategory("1", "重号");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("该能力种类序号己存在，请重新输入！"));
    QCOMPARE(DbScalar("select count(*) from nlzl"), QStringLiteral("1"));

    // Another category may use item number 1; another trade sequence number 1.
    edit("edtNlzlxh")->setText(QStringLiteral("2"));
    Click(m_form.get(), "btnNlzlSave");
    addItem("1", "项一");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存能力项编码成功！"));
    Choose(m_form.get(), "cbZyzl", "配电线路");
    QCOMPARE(ds("cdsNlzl")->recordCount(), 0);
    addCategory("1", "甲");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存能力种类成功！"));
    QCOMPARE(DbRows("select zyzllsh, nlzlxh from nlzl order by nlzllsh"), (QStringList{"1|1", "1|2", "2|1"}));
    QCOMPARE(DbRows("select nlzllsh, nlxbh, nlxbm from nlx order by nlxlsh"),
             (QStringList{"1|1|11", "1|2|102", "2|1|21"}));
}

void TestNl::nothingSavedUnderNewParent()
{
    open();
    addCategory("1", "甲");
    addItem("1", "项一");
    addDescription(0, "一级");
    Click(m_form.get(), "btnNlzlAdd"); // a new category: the lists below it are empty
    QCOMPARE(ds("cdsNlx")->recordCount(), 0);
    QCOMPARE(ds("cdsNlms")->recordCount(), 0);
    Click(m_form.get(), "btnNlxAdd");
    edit("edtNlxbh")->setText(QStringLiteral("5"));
    edit("edtNlxmc")->setText(QStringLiteral("孤儿"));
    Click(m_form.get(), "btnNlxSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("能力种类尚未保存，不能保存能力项！"));
    Click(m_form.get(), "btnNlmsAdd");
    Ctl<QComboBox>(m_form.get(), "cbDj")->setCurrentIndex(2);
    Ctl<QPlainTextEdit>(m_form.get(), "memNlms")->setPlainText(QStringLiteral("孤儿"));
    Click(m_form.get(), "btnNlmsSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("能力项尚未保存，不能保存能力描述！"));
    QCOMPARE(DbScalar("select count(*) from nlx"), QStringLiteral("1"));
    QCOMPARE(DbScalar("select count(*) from nlxdjgxb"), QStringLiteral("1"));
    QCOMPARE(DbScalar("select count(*) from nlx where nlzllsh is null or nlzllsh = 0"), QStringLiteral("0"));
}

void TestNl::showAllAndChooser()
{
    open();
    addCategory("2", "倒闸操作");
    addItem("03", "填写操作票");
    addDescription(2, "能审核操作票");
    addDescription(1, "能填写操作票");
    addItem("1", "模拟操作");
    addDescription(2, "能指导模拟操作");
    auto *btn = Ctl<QPushButton>(m_form.get(), "btnShowAll");
    btn->click();
    QCOMPARE(btn->text(), QStringLiteral("分开显示"));
    ClientDataSet *all = ds("cdsAll");
    QStringList shown;
    for (all->first(); !all->eof(); all->next())
        shown << all->asString("nlzl_show") + "|" + all->asString("nlx_show") + "|" + all->asString("djmc") +
                     "|" + all->asString("nlbm_show");
    QCOMPARE(shown, (QStringList{"2  倒闸操作|21  模拟操作|Ⅲ级|21-Ⅲ", "2  倒闸操作|203  填写操作票|Ⅱ级|203-Ⅱ",
                                 "2  倒闸操作|203  填写操作票|Ⅲ级|203-Ⅲ"}));
    btn->click();
    QCOMPARE(btn->text(), QStringLiteral("全部显示"));

    TfrmXznlx dlg;
    dlg.zyzllsh = 1;
    dlg.djlsh = 3;
    dlg.FormShow();
    QCOMPARE(dlg.cdsAll->recordCount(), 2);
    for (dlg.cdsAll->first(); !dlg.cdsAll->eof(); dlg.cdsAll->next())
        QVERIFY(dlg.cdsAll->asString("nlbm_show").endsWith(QStringLiteral("-Ⅲ")));
    TfrmXznlx none;
    none.zyzllsh = 2;
    none.djlsh = 3;
    none.FormShow();
    Click(&none, "btnConfirm");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("没有能力项，不能选择！"));
    QCOMPARE(none.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestNl)
#include "tst_nl.moc"
