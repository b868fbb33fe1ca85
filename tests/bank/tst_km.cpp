#include "BankFixture.h"
#include "app/uEditCycle.h"
#include "bank/ufrmKm.h"
#include "bank/ufrmXznlx.h"
#include "platform/ClientDataSet.h"
#include "platform/widgets/DataGrid.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QLineEdit>
#include <QPlainTextEdit>

class TestKm : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void unusableUntilTradeChosen();
    void addChangeDeleteUnderFilter();
    void refusals_data();
    void refusals();
    void codeUniqueWithinTrade();
    void showAllOrdersByLevelCategoryCode();
    void abilityLinks();

private:
    void open(const QString &trade = QStringLiteral("变电运行"));
    void fill(const QString &code, const QString &name, int khfs, int pxfs, const QString &hours);
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<TfrmKm> m_form;
};

void TestKm::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_db = std::make_unique<TestDb>();
    REQUIRE_TESTDB(*m_db);
    QVERIFY(AddTrades());
}

void TestKm::cleanup()
{
    m_form.reset();
    m_db.reset();
    m_dialogs.reset();
}

void TestKm::open(const QString &trade)
{
    m_form = std::make_unique<TfrmKm>();
    m_form->show();
    if (!trade.isEmpty())
        Choose(m_form.get(), "cbZyzl", trade);
}

void TestKm::fill(const QString &code, const QString &name, int khfs, int pxfs, const QString &hours)
{
    Ctl<QLineEdit>(m_form.get(), "edtKmbm")->setText(code);
    Ctl<QLineEdit>(m_form.get(), "edtKmmc")->setText(name);
    Ctl<QComboBox>(m_form.get(), "cbKhfs")->setCurrentIndex(khfs);
    Ctl<QComboBox>(m_form.get(), "cbPxfs")->setCurrentIndex(pxfs);
    Ctl<QLineEdit>(m_form.get(), "edtPxxs")->setText(hours);
}

void TestKm::unusableUntilTradeChosen()
{
    open(QString());
    QVERIFY(!Ctl<QWidget>(m_form.get(), "pnlCenter")->isEnabled());
    QVERIFY(!Ctl<QWidget>(m_form.get(), "pnlBtn")->isEnabled());
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbZyzl")->count(), 2);
    Choose(m_form.get(), "cbZyzl", "配电线路");
    QVERIFY(Ctl<QWidget>(m_form.get(), "pnlCenter")->isEnabled());
    QVERIFY(Ctl<QWidget>(m_form.get(), "pnlBtn")->isEnabled());
}

void TestKm::addChangeDeleteUnderFilter()
{
    open();
    Choose(m_form.get(), "cbDj", "Ⅱ级");
    Choose(m_form.get(), "cbLb", "操作类");
    Click(m_form.get(), "btnAdd");
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbDj1")->currentText(), QStringLiteral("Ⅱ级"));
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbLb1")->currentText(), QStringLiteral("操作类"));
    fill(" BD-01 ", "倒闸操作'票", 1, 1, "12.5");
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存科目成功！"));
    QCOMPARE(DbRows("select kmlsh, zyzllsh, djlsh, lblsh, kmbm, kmmc, khfslsh, pxfslsh, pxxs from km"),
             QStringList{"1|1|2|2|BD-01|倒闸操作'票|2|2|12.5"});

    Ctl<QLineEdit>(m_form.get(), "edtKmmc")->setText(QStringLiteral("倒闸操作"));
    Ctl<QLineEdit>(m_form.get(), "edtPxxs")->clear();
    Click(m_form.get(), "btnSave");
    QCOMPARE(DbRows("select kmmc, pxxs from km"), QStringList{"倒闸操作|"});

    // The subject is not listed under another filter.
    Choose(m_form.get(), "cbLb", "理论类");
    QCOMPARE(m_form->findChild<ClientDataSet *>("cdsKm")->recordCount(), 0);
    Choose(m_form.get(), "cbLb", "操作类");
    QCOMPARE(m_form->findChild<ClientDataSet *>("cdsKm")->recordCount(), 1);

    m_dialogs->answerOk();
    Click(m_form.get(), "btnDel");
    QCOMPARE(m_dialogs->shown.last().text, QStringLiteral("确认要删除该科目吗？"));
    QCOMPARE(DbScalar("select count(*) from km"), QStringLiteral("0"));
    QVERIFY(Ctl<QLineEdit>(m_form.get(), "edtKmbm")->text().isEmpty());
    QVERIFY(m_dialogs->unexpected.isEmpty());
}

void TestKm::refusals_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("khfs");
    QTest::addColumn<int>("pxfs");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("message");
    QTest::newRow("no code") << "  "
                             << "名称" << 0 << 0 << ""
                             << "科目编码不能为空，请重新输入！";
    QTest::newRow("no name") << "K1"
                             << "" << 0 << 0 << ""
                             << "科目名称不能为空，请重新输入！";
    QTest::newRow("no assessment") << "K1"
                                   << "名称" << -1 << 0 << ""
                                   << "请选择考核方式！";
    QTest::newRow("no training") << "K1"
                                 << "名称" << 0 << -1 << ""
                                 << "请选择培训方式！";
    QTest::newRow("hours not a number") << "K1"
                                        << "名称" << 0 << 0 << "1.2.3"
                                        << "学时必须是数字，请重新输入！";
    QTest::newRow("pasted letters") << "K1"
                                    << "名称" << 0 << 0 << "十二"
                                    << "学时必须是数字，请重新输入！";
}

void TestKm::refusals()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(int, khfs);
    QFETCH(int, pxfs);
    QFETCH(QString, hours);
    QFETCH(QString, message);
    open();
    Click(m_form.get(), "btnAdd");
    fill(code, name, khfs, pxfs, hours);
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->texts(), QStringList{message});
    QCOMPARE(DbScalar("select count(*) from km"), QStringLiteral("0"));
}

void TestKm::codeUniqueWithinTrade()
{
    QVERIFY(AddSubject(1, 1, 1, 1, "K1", "甲"));
    QVERIFY(AddSubject(2, 1, 1, 1, "K2", "乙"));
    open();
    Ctl<QLineEdit>(m_form.get(), "edtKmbm")->setText(QStringLiteral("K2"));
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("该科目编码己存在，请重新输入！"));
    QCOMPARE(Ctl<QLineEdit>(m_form.get(), "edtKmbm")->text(), QStringLiteral("K1"));
    QCOMPARE(DbScalar("select kmbm from km where kmlsh = 1"), QStringLiteral("K1"));

    // The same code in the other trade is accepted.
    Choose(m_form.get(), "cbZyzl", "配电线路");
    Click(m_form.get(), "btnAdd");
    fill("K1", "丙", 0, 0, "");
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存科目成功！"));
    QCOMPARE(DbRows("select zyzllsh, kmbm from km where kmlsh = 3"), QStringList{"2|K1"});
}

void TestKm::showAllOrdersByLevelCategoryCode()
{
    QVERIFY(AddSubject(1, 1, 2, 1, "B", "甲"));
    QVERIFY(AddSubject(2, 1, 1, 2, "C", "乙"));
    QVERIFY(AddSubject(3, 1, 1, 2, "A", "丙"));
    QVERIFY(AddSubject(4, 2, 1, 1, "Z", "丁"));
    open();
    auto *btn = Ctl<QPushButton>(m_form.get(), "btnShowAll");
    btn->click();
    QCOMPARE(btn->text(), QStringLiteral("分开显示"));
    auto *all = m_form->findChild<ClientDataSet *>("cdsAllKm");
    QStringList codes;
    for (all->first(); !all->eof(); all->next())
        codes << all->asString("kmbm");
    QCOMPARE(codes, (QStringList{"A", "C", "B"}));
    QVERIFY(Ctl<QWidget>(m_form.get(), "dbgAllKm")->isVisible());
    btn->click();
    QCOMPARE(btn->text(), QStringLiteral("全部显示"));
    QVERIFY(!Ctl<QWidget>(m_form.get(), "dbgAllKm")->isVisible());
}

void TestKm::abilityLinks()
{
    QVERIFY(AddSubject(1, 1, 2, 1, "K1", "甲"));
    QVERIFY(DbExec("insert into nlzl (nlzllsh, zyzllsh, nlzlxh, nlzlmc) values (1, 1, '2', '倒闸操作')"));
    QVERIFY(
        DbExec("insert into nlx (nlxlsh, nlzllsh, nlxbh, nlxbm, nlxmc) values (1, 1, 3, '203', '操作票')"));
    QVERIFY(DbExec("insert into nlxdjgxb (nlxdjgxlsh, nlxlsh, djlsh, nlxdjbm, nlxdjms) "
                   "values (1, 1, 2, '203-Ⅱ', '能填写操作票')"));
    QVERIFY(DbExec("insert into nlxdjgxb (nlxdjgxlsh, nlxlsh, djlsh, nlxdjbm, nlxdjms) "
                   "values (2, 1, 3, '203-Ⅲ', '能审核操作票')"));
    open();
    Choose(m_form.get(), "cbDj", "Ⅱ级");
    int offered = -1;
    auto pick = [&](QWidget *w) {
        auto *dlg = qobject_cast<TfrmXznlx *>(w);
        offered = dlg->cdsAll->recordCount();
        Click(dlg, "btnConfirm");
        return dlg->result();
    };
    m_dialogs->onDialog(pick);
    Click(m_form.get(), "btnAddNlx");
    QCOMPARE(offered, 1); // only the level of the filter
    QCOMPARE(DbRows("select kmlsh, nlxdjgxlsh from kmnlxgxb"), QStringList{"1|1"});
    QCOMPARE(Ctl<QLineEdit>(m_form.get(), "edtNlzlmc")->text(), QStringLiteral("2 倒闸操作"));
    QCOMPARE(Ctl<QLineEdit>(m_form.get(), "edtNlxmc")->text(), QStringLiteral("203 操作票"));
    QCOMPARE(Ctl<QPlainTextEdit>(m_form.get(), "memNlms")->toPlainText(),
             QStringLiteral("203-Ⅱ 能填写操作票"));

    m_dialogs->onDialog(pick);
    Click(m_form.get(), "btnAddNlx");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("该能力项编码己被选择！"));
    QCOMPARE(DbScalar("select count(*) from kmnlxgxb"), QStringLiteral("1"));

    Click(m_form.get(), "btnDelNlx");
    QCOMPARE(DbScalar("select count(*) from kmnlxgxb"), QStringLiteral("0"));
    QVERIFY(Ctl<QLineEdit>(m_form.get(), "edtNlzlmc")->text().isEmpty());

    // A subject not saved yet cannot be linked.
    Click(m_form.get(), "btnAdd");
    Click(m_form.get(), "btnAddNlx");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("没有科目，不能增加能力项编码！"));
    QVERIFY(m_dialogs->unexpected.isEmpty());
}

QTEST_MAIN(TestKm)
#include "tst_km.moc"
