#include "app/uImageEx.h"
#include "app/uPnlMenu.h"
#include "app/uSubSheet.h"
#include "app/uSubSystemRegistry.h"
#include "app/ufrmMain.h"
#include "platform/AppGlobals.h"
#include "support/ScriptedDialogs.h"

#include <QCloseEvent>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// A hosted form that can refuse to close, as a form with unsaved changes does.
class FakeForm : public QWidget
{
public:
    explicit FakeForm(QWidget *parent) : QWidget(parent) {}
    static inline bool refuse = false;
    static inline int closeRequests = 0;

protected:
    void showEvent(QShowEvent *) override
    {
        if (TSubSheet *s = TSubSheet::sheetOf(this))
            s->setHForm(this);
    }
    void closeEvent(QCloseEvent *) override
    {
        ++closeRequests;
        if (refuse)
            TSubSheet::sheetOf(this)->setTag(1);
    }
};

MenuEntry E(const char *code, const char16_t *caption, const char *cls = "", const char *sfydymk = "1")
{
    const QString c = QString::fromLatin1(code);
    return {c, c.size() == 4 ? QStringLiteral("04") : c.left(4), QString::fromUtf16(caption),
            QString::fromLatin1(cls), QString::fromLatin1(sfydymk)};
}

QList<MenuEntry> Menu()
{
    return {E("0401", u"系统管理"), E("040101", u"部门岗位", "TfrmBmgw"), E("040102", u"人员管理", "TfrmRy"),
            E("040103", u"角色权限管理", "TfrmJsqxgl"), E("0402", u"组卷管理"),
            E("040201", u"组卷计划", "TfrmZjjh"), E("040203", u"人工组卷", "TfrmManualPaper"),
            E("0403", u"帮助"), E("040301", u"系统帮助", "", "0"), E("040302", u"退出系统", "", "0"),
            // An item whose group the user does not hold: no group shows it.
            E("040501", u"考试评分", "TfrmKspf")};
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void groupsPlacedFromFourCharacterCodes();
    void expandPlacesBackgroundAndItems();
    void collapsingUpperGroupMovesLowerUp();
    void unregisteredClassRefused();
    void openingTwiceReusesSheet();
    void titleButtonText_data();
    void titleButtonText();
    void closingSheets();
    void hostedFormRefusesClose();
    void registryFlagWrittenOnce();
    void helpFile();
    void closeConfirmation_data();
    void closeConfirmation();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

void TestMainWindow::initTestCase()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       m_dir.filePath(QStringLiteral("settings")));
    SetAppPath(m_dir.path());
    for (const char *cls : {"TfrmBmgw", "TfrmRy", "TfrmZjjh", "TfrmManualPaper"})
        RegisterSubSystemClass(QString::fromLatin1(cls), [](QWidget *p) { return new FakeForm(p); });
}

void TestMainWindow::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    FakeForm::refuse = false;
    FakeForm::closeRequests = 0;
}

void TestMainWindow::cleanup()
{
    QVERIFY2(m_dialogs->unexpected.isEmpty(), qPrintable(m_dialogs->unexpected.join(u'|')));
    m_dialogs.reset();
}

void TestMainWindow::groupsPlacedFromFourCharacterCodes()
{
    TfrmMain w(Menu());
    const QList<TPnlMenu *> groups = w.menuGroups();
    QCOMPARE(groups.size(), 3);
    for (int k = 0; k < groups.size(); ++k)
        QCOMPARE(groups[k]->geometry(), QRect(10, 12 + 38 * k, 142, 26));
    QCOMPARE(groups[2]->cdmc, QStringLiteral("帮助"));
    QVERIFY(!groups[0]->Expanded && !groups[0]->Selected);
}

void TestMainWindow::expandPlacesBackgroundAndItems()
{
    TfrmMain w(Menu());
    TPnlMenu *g = w.menuGroups()[0];
    w.MenuGroupClick(g);
    QVERIFY(g->Expanded && g->Selected);
    TImageEx *bg = w.menuBackground(QStringLiteral("0401"));
    QVERIFY(bg);
    QCOMPARE(bg->geometry(), QRect(10, 12 + 26, 142, 26 * 3 + 2));
    const QList<TPnlMenuItem *> items = w.menuItems(QStringLiteral("0401"));
    QCOMPARE(items.size(), 3);
    for (int d = 0; d < 3; ++d) {
        QCOMPARE(items[d]->geometry().topLeft(), QPoint(12, bg->y() + 6 + 26 * d));
        QCOMPARE(items[d]->height(), 20);
        QCOMPARE(items[d]->width(), MenuMetrics::ItemWidth(items[d]->cdmc));
    }
    // The groups below moved down by the background's height.
    QCOMPARE(w.menuGroups()[1]->y(), 12 + 38 + bg->height());
    // Clicking another group moves the mark to it.
    w.MenuGroupClick(w.menuGroups()[1]);
    QVERIFY(!g->Selected);
    QVERIFY(w.menuGroups()[1]->Selected);
}

void TestMainWindow::collapsingUpperGroupMovesLowerUp()
{
    TfrmMain w(Menu());
    w.MenuGroupClick(w.menuGroups()[0]);
    w.MenuGroupClick(w.menuGroups()[1]); // both open at once
    TPnlMenu *lower = w.menuGroups()[1];
    QVERIFY(w.menuGroups()[0]->Expanded && lower->Expanded);
    const int removed = w.menuBackground(QStringLiteral("0401"))->height();
    const int lowerTop = lower->y();
    const QList<int> itemTops = {w.menuItems(QStringLiteral("0402"))[0]->y(),
                                 w.menuItems(QStringLiteral("0402"))[1]->y()};
    w.MenuGroupClick(w.menuGroups()[0]);
    QVERIFY(!w.menuGroups()[0]->Expanded);
    QVERIFY(w.menuItems(QStringLiteral("0401")).isEmpty());
    QVERIFY(!w.menuBackground(QStringLiteral("0401")));
    QCOMPARE(lower->y(), lowerTop - removed);
    QCOMPARE(w.menuItems(QStringLiteral("0402"))[0]->y(), itemTops[0] - removed);
    QCOMPARE(w.menuItems(QStringLiteral("0402"))[1]->y(), itemTops[1] - removed);
    QCOMPARE(w.menuGroups()[2]->y(), 12 + 2 * 38 + w.menuBackground(QStringLiteral("0402"))->height());
}

void TestMainWindow::unregisteredClassRefused()
{
    TfrmMain w(Menu());
    w.MenuGroupClick(w.menuGroups()[0]);
    w.MenuItemClick(w.menuItems(QStringLiteral("0401"))[2]); // TfrmJsqxgl: no form registered
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("请加载角色权限管理子系统，该子系统不存在！")});
    QVERIFY(w.sheets().isEmpty());
    QVERIFY(w.titleButtons().isEmpty());
    QVERIFY(w.isMenuExpanded());
}

void TestMainWindow::openingTwiceReusesSheet()
{
    TfrmMain w(Menu());
    w.OpenSubSystem(QStringLiteral("040101"));
    QVERIFY(!w.isMenuExpanded()); // the menu makes room for the sheet
    w.OpenSubSystem(QStringLiteral("040102"));
    QCOMPARE(w.sheets().size(), 2);
    QCOMPARE(w.activeSheet()->Sn, QStringLiteral("040102"));
    // New buttons come in at the left.
    QCOMPARE(w.titleButtons()[0]->text(), QStringLiteral("人员管理"));
    QCOMPARE(w.titleButtons()[1]->text(), QStringLiteral("部门岗位"));
    w.OpenSubSystem(QStringLiteral("040101"));
    QCOMPARE(w.sheets().size(), 2);
    QCOMPARE(w.titleButtons().size(), 2);
    QCOMPARE(w.activeSheet()->Sn, QStringLiteral("040101"));
    QVERIFY(w.titleButtons()[1]->isChecked());
    QVERIFY(!w.titleButtons()[0]->isChecked());
    QVERIFY(m_dialogs->texts().isEmpty());
}

void TestMainWindow::titleButtonText_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << ""
                           << "未命名组件";
    QTest::newRow("8 characters") << "一二三四五六七八"
                                  << "一二三四五六七八";
    QTest::newRow("9 characters") << "一二三四五六七八九"
                                  << "一二三四五六七…";
    QTest::newRow("long latin") << "Question bank"
                                << "Questio…";
}

void TestMainWindow::titleButtonText()
{
    QFETCH(QString, title);
    QFETCH(QString, text);
    TfrmMain w(QList<MenuEntry>{});
    w.AddTitleButton(QStringLiteral("049999"), title);
    QCOMPARE(w.titleButtons()[0]->text(), text);
    QCOMPARE(w.titleButtons()[0]->toolTip(), title);
}

void TestMainWindow::closingSheets()
{
    TfrmMain w(Menu());
    w.OpenSubSystem(QStringLiteral("040101"));
    w.OpenSubSystem(QStringLiteral("040102"));
    w.OpenSubSystem(QStringLiteral("040201"));
    w.ActivateSheet(QStringLiteral("040102"));
    QPointer<QWidget> form = w.findSheet(QStringLiteral("040102"))->hostedForm();
    w.imgCloseSysClick();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!form);
    QCOMPARE(w.sheets().size(), 2);
    // The leftmost remaining button is pressed and its sheet shown.
    QCOMPARE(w.titleButtons().size(), 2);
    QVERIFY(w.titleButtons()[0]->isChecked());
    QCOMPARE(w.activeSheet()->Sn, QStringLiteral("040201"));
    w.imgCloseSysClick();
    QVERIFY(!w.isMenuExpanded());
    w.imgCloseSysClick();
    QVERIFY(w.sheets().isEmpty());
    QVERIFY(w.titleButtons().isEmpty());
    QVERIFY(w.findChild<QWidget *>(QStringLiteral("pnlPageTitle"))->isHidden());
    QVERIFY(w.isMenuExpanded()); // the collapsed menu comes back
    w.imgCloseSysClick();        // nothing left: nothing happens
    QVERIFY(m_dialogs->texts().isEmpty());
}

void TestMainWindow::hostedFormRefusesClose()
{
    TfrmMain w(Menu());
    w.show();
    w.OpenSubSystem(QStringLiteral("040101"));
    QVERIFY(w.activeSheet()->HForm());
    FakeForm::refuse = true;
    w.imgCloseSysClick();
    QCOMPARE(FakeForm::closeRequests, 1);
    QCOMPARE(w.sheets().size(), 1);
    QCOMPARE(w.titleButtons().size(), 1);
    QVERIFY(!w.findChild<QWidget *>(QStringLiteral("pnlPageTitle"))->isHidden());
    FakeForm::refuse = false;
    w.imgCloseSysClick();
    QVERIFY(w.sheets().isEmpty());
    w.hide();
}

void TestMainWindow::registryFlagWrittenOnce()
{
    QSettings settings(QStringLiteral("Tessary"), QStringLiteral("Lumora"));
    settings.remove(QStringLiteral("ManualPaper"));
    TfrmMain w(Menu());
    w.OpenSubSystem(QStringLiteral("040203"));
    settings.sync();
    QCOMPARE(settings.value(QStringLiteral("ManualPaper")).toString(), QStringLiteral("0"));
    settings.remove(QStringLiteral("ManualPaper"));
    settings.sync();
    w.OpenSubSystem(QStringLiteral("040203")); // already open: shown again, nothing written
    settings.sync();
    QVERIFY(!settings.contains(QStringLiteral("ManualPaper")));
}

void TestMainWindow::helpFile()
{
    QStringList opened;
    TfrmMain::HelpOpener = [&](const QString &path) {
        opened << path;
        return true;
    };
    TfrmMain w(Menu());
    w.MenuGroupClick(w.menuGroups()[2]);
    TPnlMenuItem *help = w.menuItems(QStringLiteral("0403"))[0];
    QCOMPARE(help->cdmc, QStringLiteral("系统帮助"));
    w.MenuItemClick(help); // no help file yet
    QCOMPARE(m_dialogs->texts().size(), 1);
    QVERIFY(m_dialogs->lastText().contains(QStringLiteral("Quillon.chm")));
    QVERIFY(opened.isEmpty());
    QFile chm(AppPath + QStringLiteral("Quillon.chm"));
    QVERIFY(chm.open(QIODevice::WriteOnly));
    chm.close();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_F1);
    QCOMPARE(opened, QStringList{AppPath + QStringLiteral("Quillon.chm")});
    QCOMPARE(m_dialogs->texts().size(), 1);
    chm.remove();
    w.hide();
}

void TestMainWindow::closeConfirmation_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK closes") << true;
    QTest::newRow("Cancel keeps it open") << false;
}

void TestMainWindow::closeConfirmation()
{
    QFETCH(bool, ok);
    TfrmMain w(Menu());
    w.show();
    w.MenuGroupClick(w.menuGroups()[2]);
    m_dialogs->answer(ok ? Dialogs::Ok : Dialogs::Cancel);
    w.MenuItemClick(w.menuItems(QStringLiteral("0403"))[1]); // 退出系统
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("确认要关闭系统吗？")});
    QCOMPARE(w.isVisible(), !ok);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
