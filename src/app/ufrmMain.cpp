#include "ufrmMain.h"

#include "uImageEx.h"
#include "uLogin.h"
#include "uMainBackground.h"
#include "uPnlMenu.h"
#include "uSession.h"
#include "uSubSheet.h"
#include "uSubSystemRegistry.h"
#include "ufrmLogin.h"

#include "data/DataAccess.h"
#include "platform/AppGlobals.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSettings>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>

namespace {
constexpr int kExpanderWidth = 10;
constexpr int kSeparatorWidth = 8;
const char *const kHelpKeyword = "helpKeyword";

// Frees a control of the menu now as far as the menu is concerned (it leaves its parent at once, so
// it is no longer found), and for good once control returns to the event loop: the control may be
// the one whose click is being handled.
void Discard(QWidget *w)
{
    w->hide();
    w->setParent(nullptr);
    w->deleteLater();
}
} // namespace

std::function<bool(const QString &)> TfrmMain::HelpOpener = [](const QString &path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
};

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    BuildWindow();
    m_loggedIn = RunLogin();
    if (!m_loggedIn)
        return;
    QList<MenuEntry> entries;
    if (const TLogin *login = CurrentLogin())
        LoadMenuEntries(login->dlzh, login->rylsh, entries);
    BuildMenu(entries);
}

TfrmMain::TfrmMain(const QList<MenuEntry> &entries, QWidget *parent) : QMainWindow(parent)
{
    BuildWindow();
    m_loggedIn = true;
    BuildMenu(entries);
}

TfrmMain::~TfrmMain()
{
    // Sheets and their forms go first: they may still use the data modules while being destroyed.
    while (pcSubSys && pcSubSys->count()) {
        QWidget *page = pcSubSys->widget(0);
        pcSubSys->removeTab(0);
        std::unique_ptr<QWidget> owned(page);
    }
    if (m_ownsSession)
        ReleaseSession();
}

void TfrmMain::BuildWindow()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Lumora"));
    resize(1024, 700);

    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    pnlGncd = new QWidget(central);
    pnlGncd->setObjectName(QStringLiteral("pnlGncd"));
    pnlGncd->setFixedWidth(MenuMetrics::ExpandedWidth);
    pnlGncd->setAutoFillBackground(true);
    pnlGncd->setStyleSheet(QStringLiteral("#pnlGncd { background: #EAF2FC; }"));
    auto *side = new QHBoxLayout(pnlGncd);
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(0);
    sbMenu = new QScrollArea(pnlGncd);
    sbMenu->setObjectName(QStringLiteral("sbMenu"));
    sbMenu->setFrameShape(QFrame::NoFrame);
    sbMenu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sbMenu->setWidgetResizable(false);
    menuCanvas = new QWidget;
    menuCanvas->setObjectName(QStringLiteral("menuCanvas"));
    menuCanvas->setStyleSheet(QStringLiteral("#menuCanvas { background: #EAF2FC; }"));
    menuCanvas->resize(MenuMetrics::ExpandedWidth - kExpanderWidth, 100);
    sbMenu->setWidget(menuCanvas);
    side->addWidget(sbMenu);
    pnlExpand = new QWidget(pnlGncd);
    pnlExpand->setObjectName(QStringLiteral("pnlExpand"));
    pnlExpand->setFixedWidth(kExpanderWidth);
    pnlExpand->setStyleSheet(QStringLiteral("#pnlExpand { background: #B8D0EE; }"));
    auto *exp = new QVBoxLayout(pnlExpand);
    exp->setContentsMargins(0, 0, 0, 0);
    exp->addStretch(1);
    imgExpand = new TImageEx(pnlExpand);
    imgExpand->setObjectName(QStringLiteral("imgExpand"));
    imgExpand->setFixedSize(kExpanderWidth, 64);
    imgExpand->setCursor(Qt::PointingHandCursor);
    exp->addWidget(imgExpand);
    exp->addStretch(1); // keeps the expander vertically centred whatever the height
    side->addWidget(pnlExpand);
    connect(imgExpand, &TImageEx::clicked, this, &TfrmMain::imgExpandClick);
    connect(imgExpand, &TImageEx::mouseEnter, this, [this] {
        m_expandHot = true;
        UpdateExpandArrow();
    });
    connect(imgExpand, &TImageEx::mouseLeave, this, [this] {
        m_expandHot = false;
        UpdateExpandArrow();
    });
    row->addWidget(pnlGncd);

    pnlMain = new QWidget(central);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    auto *mainCol = new QVBoxLayout(pnlMain);
    mainCol->setContentsMargins(0, 0, 0, 0);
    mainCol->setSpacing(0);

    pnlPageTitle = new QWidget(pnlMain);
    pnlPageTitle->setObjectName(QStringLiteral("pnlPageTitle"));
    pnlPageTitle->setFixedHeight(30);
    pnlPageTitle->setStyleSheet(QStringLiteral(
        "#pnlPageTitle { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #F4F8FD, stop:1 #D6E5F7);"
        " border-bottom: 1px solid #9DBEE8; }"
        "QToolButton { color: #1E3C78; padding: 2px 8px; border: 1px solid transparent; border-radius: 3px; }"
        "QToolButton:hover { border-color: #9DBEE8; }"
        "QToolButton:checked { background: white; border-color: #6E9CD8; color: #0A64D8; font-weight: bold; "
        "}"));
    auto *titleRow = new QHBoxLayout(pnlPageTitle);
    titleRow->setContentsMargins(4, 2, 6, 2);
    titleRow->setSpacing(4);
    tbTitle = new QScrollArea(pnlPageTitle);
    tbTitle->setObjectName(QStringLiteral("tbTitle"));
    tbTitle->setFrameShape(QFrame::NoFrame);
    tbTitle->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tbTitle->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tbTitle->setWidgetResizable(true);
    tbTitle->setStyleSheet(
        QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }"));
    auto *buttons = new QWidget;
    titleLayout = new QHBoxLayout(buttons);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->setSpacing(0);
    titleLayout->addStretch(1);
    tbTitle->setWidget(buttons);
    titleRow->addWidget(tbTitle, 1);
    imgCloseSys = new TImageEx(pnlPageTitle);
    imgCloseSys->setObjectName(QStringLiteral("imgCloseSys"));
    imgCloseSys->setFixedSize(16, 16);
    imgCloseSys->setCursor(Qt::PointingHandCursor);
    imgCloseSys->setToolTip(QStringLiteral("关闭当前子系统"));
    imgCloseSys->setPicture(ResPicture(QStringLiteral("Bmp/CloseSys1.png")));
    connect(imgCloseSys, &TImageEx::mouseEnter, this,
            [this] { imgCloseSys->setPicture(ResPicture(QStringLiteral("Bmp/CloseSys2.png"))); });
    connect(imgCloseSys, &TImageEx::mouseLeave, this,
            [this] { imgCloseSys->setPicture(ResPicture(QStringLiteral("Bmp/CloseSys1.png"))); });
    connect(imgCloseSys, &TImageEx::clicked, this, &TfrmMain::imgCloseSysClick);
    titleRow->addWidget(imgCloseSys);
    mainCol->addWidget(pnlPageTitle);

    pcSubSys = new QTabWidget(pnlMain);
    pcSubSys->setObjectName(QStringLiteral("pcSubSys"));
    pcSubSys->tabBar()->hide();
    pcSubSys->setDocumentMode(true);
    mainCol->addWidget(pcSubSys, 1);
    pbBK = new TMainBackground(pnlMain);
    mainCol->addWidget(pbBK, 1);
    row->addWidget(pnlMain, 1);
    setCentralWidget(central);

    pcSubSys->hide();
    pnlPageTitle->hide();
    m_menuExpanded = true;
    UpdateExpandArrow();

    tmrMax = new QTimer(this);
    tmrMax->setObjectName(QStringLiteral("tmrMax"));
    tmrMax->setInterval(100);
    connect(tmrMax, &QTimer::timeout, this, [this] {
        tmrMax->stop();
        showMaximized();
    });

    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::ApplicationShortcut);
    connect(f1, &QShortcut::activated, this, &TfrmMain::OpenHelp);
}

void TfrmMain::BuildMenu(const QList<MenuEntry> &entries)
{
    m_entries = entries;
    int k = 0;
    for (const MenuEntry &e : m_entries) {
        if (e.cdbh.size() != 4)
            continue;
        auto *group = new TPnlMenu(menuCanvas);
        group->setObjectName(QStringLiteral("pnlMenu") + e.cdbh);
        group->cdbh = e.cdbh;
        group->cdmc = e.cdmc;
        group->OrgTop = MenuMetrics::GroupTop + MenuMetrics::GroupPitch * k;
        group->setGeometry(MenuMetrics::GroupLeft, group->OrgTop, MenuMetrics::GroupWidth,
                           MenuMetrics::GroupHeight);
        connect(group, &TImageEx::clicked, this, [this, group] { MenuGroupClick(group); });
        connect(group, &TImageEx::mouseEnter, group, [group] {
            group->Hot = true;
            group->update();
        });
        connect(group, &TImageEx::mouseLeave, group, [group] {
            group->Hot = false;
            group->update();
        });
        group->show();
        ++k;
    }
    UpdateMenuCanvas();
}

const MenuEntry *TfrmMain::FindEntry(const QString &code) const
{
    for (const MenuEntry &e : m_entries) {
        if (e.cdbh == code)
            return &e;
    }
    return nullptr;
}

QList<TPnlMenu *> TfrmMain::menuGroups() const
{
    QList<TPnlMenu *> out = menuCanvas->findChildren<TPnlMenu *>(QString(), Qt::FindDirectChildrenOnly);
    std::sort(out.begin(), out.end(), [](TPnlMenu *a, TPnlMenu *b) { return a->y() < b->y(); });
    return out;
}

QList<TPnlMenuItem *> TfrmMain::menuItems(const QString &groupCode) const
{
    QList<TPnlMenuItem *> out;
    for (TPnlMenuItem *item :
         menuCanvas->findChildren<TPnlMenuItem *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (item->sjcdbh == groupCode)
            out << item;
    }
    std::sort(out.begin(), out.end(), [](TPnlMenuItem *a, TPnlMenuItem *b) { return a->y() < b->y(); });
    return out;
}

TImageEx *TfrmMain::menuBackground(const QString &groupCode) const
{
    for (TImageEx *c : menuCanvas->findChildren<TImageEx *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<TPnlMenu *>(c) && !qobject_cast<TPnlMenuItem *>(c) && c->helpKeyword() == groupCode)
            return c;
    }
    return nullptr;
}

void TfrmMain::MoveControlsBelow(int top, const QString &exceptKeyword, int dy)
{
    for (TImageEx *c : menuCanvas->findChildren<TImageEx *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (c->y() > top && c->helpKeyword() != exceptKeyword)
            c->move(c->x(), c->y() + dy);
    }
}

void TfrmMain::UpdateMenuCanvas()
{
    int bottom = 0;
    for (QWidget *c : menuCanvas->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        bottom = std::max(bottom, c->geometry().bottom() + 1);
    menuCanvas->resize(MenuMetrics::ExpandedWidth - kExpanderWidth - 2,
                       std::max(bottom + 12, sbMenu->height()));
}

void TfrmMain::MenuGroupClick(TPnlMenu *group)
{
    group->Selected = true;
    const QString code = group->cdbh;
    if (group->Expanded) {
        if (TImageEx *bg = menuBackground(code)) {
            MoveControlsBelow(group->y(), code, -bg->height());
            Discard(bg);
        }
        for (TPnlMenuItem *item : menuItems(code))
            Discard(item);
        group->Expanded = false;
    } else {
        int first = -1, n = 0;
        for (int i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].sjcdbh == code) {
                first = i;
                break;
            }
        }
        for (int i = first; first >= 0 && i < m_entries.size() && m_entries[i].sjcdbh == code; ++i)
            ++n;
        auto *bg = new TImageEx(menuCanvas);
        bg->setObjectName(QStringLiteral("bgMenu") + code);
        bg->setHelpKeyword(code);
        bg->setFill(MenuLook::MenuColor, Qt::white);
        bg->setGeometry(group->x(), group->y() + group->height(), group->width(),
                        MenuMetrics::BackgroundHeight(n));
        MoveControlsBelow(group->y(), code, bg->height());
        bg->show();
        for (int d = 0; d < n; ++d) {
            const MenuEntry &e = m_entries[first + d];
            auto *item = new TPnlMenuItem(menuCanvas);
            item->setObjectName(QStringLiteral("pnlMenuItem") + e.cdbh);
            item->cdbh = e.cdbh;
            item->cdmc = e.cdmc;
            item->sfydymk = e.sfydymk;
            item->sjcdbh = code;
            item->setToolTip(e.cdmc);
            item->setGeometry(bg->x() + MenuMetrics::ItemIndent,
                              bg->y() + MenuMetrics::ItemTopGap + MenuMetrics::ItemPitch * d,
                              MenuMetrics::ItemWidth(e.cdmc), MenuMetrics::ItemHeight);
            connect(item, &TImageEx::clicked, this, [this, item] { MenuItemClick(item); });
            connect(item, &TImageEx::mouseEnter, item, [item] {
                item->Hot = true;
                item->update();
            });
            connect(item, &TImageEx::mouseLeave, item, [item] {
                item->Hot = false;
                item->update();
            });
            item->show();
        }
        group->Expanded = true;
    }
    for (TPnlMenu *other : menuGroups()) {
        if (other != group && other->Selected) {
            other->Selected = false;
            other->update();
        }
    }
    group->update();
    UpdateMenuCanvas();
}

void TfrmMain::MenuItemClick(TPnlMenuItem *item)
{
    for (TPnlMenu *g : menuGroups()) {
        const bool mine = g->cdbh == item->sjcdbh;
        if (g->Selected != mine) {
            g->Selected = mine;
            g->update();
        }
    }
    const QString code = item->cdbh, caption = item->cdmc;
    if (item->sfydymk != QLatin1String("0")) {
        OpenSubSystem(code);
    } else if (caption == QStringLiteral("系统帮助")) {
        OpenHelp();
    } else if (caption == QStringLiteral("退出系统")) {
        close();
    }
}

void TfrmMain::WriteRegistryFlag(const QString &code)
{
    QString name, value;
    if (code == QLatin1String("040202"))
        name = QStringLiteral("ManualPaper"), value = QStringLiteral("1");
    else if (code == QLatin1String("040203"))
        name = QStringLiteral("ManualPaper"), value = QStringLiteral("0");
    else if (code == QLatin1String("040302"))
        name = QStringLiteral("PaperInput"), value = QStringLiteral("1");
    else if (code == QLatin1String("040303"))
        name = QStringLiteral("PaperInput"), value = QStringLiteral("0");
    if (name.isEmpty())
        return;
    QSettings settings(QStringLiteral("Tessary"), QStringLiteral("Lumora"));
    settings.setValue(name, value);
}

void TfrmMain::OpenSubSystem(const QString &code)
{
    const MenuEntry *entry = FindEntry(code);
    if (!entry)
        return;
    const QString caption = entry->cdmc, className = entry->mknm;
    if (findSheet(code)) {
        for (QToolButton *b : titleButtons()) {
            if (b->property(kHelpKeyword).toString() == code)
                TitleButtonClick(b);
        }
        return;
    }
    WriteRegistryFlag(code);

    QWidget *form = nullptr;
    if (const SubSystemFactory factory = FindSubSystemClass(className)) {
        try {
            form = factory(this);
        } catch (const std::exception &) {
            form = nullptr;
        }
    }
    if (!form) {
        ShowInfo(QStringLiteral("请加载") + caption + QStringLiteral("子系统，该子系统不存在！"));
        return;
    }

    // The menu makes room for the sheet. Opened from the menu it is always expanded here; opened from
    // code while it is collapsed, it stays collapsed instead of springing open.
    if (m_menuExpanded)
        ToggleMenu();
    auto *sheet = new TSubSheet;
    sheet->setObjectName(QStringLiteral("sheet") + code);
    sheet->Sn = code;
    sheet->Title = caption;
    const int current = pcSubSys->currentIndex();
    pcSubSys->addTab(sheet, caption);
    if (current >= 0)
        pcSubSys->setCurrentIndex(current);
    pbBK->hide();
    pcSubSys->show();
    pnlPageTitle->show();
    sheet->hostForm(form);
    AddTitleButton(code, caption);
}

QString TfrmMain::TitleButtonText(const QString &title)
{
    if (title.isEmpty())
        return QStringLiteral("未命名组件");
    if (title.size() < 9)
        return title;
    return title.left(7) + QStringLiteral("…");
}

QList<QToolButton *> TfrmMain::titleButtons() const
{
    QList<QToolButton *> out;
    for (int i = 0; i < titleLayout->count(); ++i) {
        if (auto *b = qobject_cast<QToolButton *>(titleLayout->itemAt(i)->widget()))
            out << b;
    }
    return out;
}

void TfrmMain::AddTitleButton(const QString &code, const QString &title)
{
    auto *separator = new QWidget;
    separator->setObjectName(QStringLiteral("sepTitle") + code);
    separator->setFixedWidth(kSeparatorWidth);
    separator->setProperty(kHelpKeyword, code);
    titleLayout->insertWidget(0, separator);
    auto *button = new QToolButton;
    button->setObjectName(QStringLiteral("btnTitle") + code);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setText(TitleButtonText(title));
    button->setToolTip(title);
    button->setProperty(kHelpKeyword, code);
    titleLayout->insertWidget(0, button);
    connect(button, &QToolButton::clicked, this, [this, button] { TitleButtonClick(button); });
    TitleButtonClick(button);
    tbTitle->horizontalScrollBar()->setValue(0);
}

void TfrmMain::RemoveTitleButton(const QString &code)
{
    for (int i = titleLayout->count() - 1; i >= 0; --i) {
        QWidget *w = titleLayout->itemAt(i)->widget();
        if (w && w->property(kHelpKeyword).toString() == code) {
            titleLayout->removeWidget(w);
            Discard(w);
        }
    }
    const QList<QToolButton *> left = titleButtons();
    if (!left.isEmpty())
        TitleButtonClick(left.first());
}

void TfrmMain::TitleButtonClick(QToolButton *button)
{
    for (QToolButton *b : titleButtons())
        b->setChecked(b == button);
    ActivateSheet(button->property(kHelpKeyword).toString());
}

void TfrmMain::ActivateSheet(const QString &code)
{
    TSubSheet *sheet = findSheet(code);
    if (sheet && pcSubSys->currentWidget() != sheet)
        pcSubSys->setCurrentWidget(sheet);
}

TSubSheet *TfrmMain::findSheet(const QString &code) const
{
    for (TSubSheet *s : sheets()) {
        if (s->Sn == code)
            return s;
    }
    return nullptr;
}

TSubSheet *TfrmMain::activeSheet() const
{
    return qobject_cast<TSubSheet *>(pcSubSys->currentWidget());
}

QList<TSubSheet *> TfrmMain::sheets() const
{
    QList<TSubSheet *> out;
    for (int i = 0; i < pcSubSys->count(); ++i) {
        if (auto *s = qobject_cast<TSubSheet *>(pcSubSys->widget(i)))
            out << s;
    }
    return out;
}

void TfrmMain::imgCloseSysClick()
{
    TSubSheet *sheet = activeSheet();
    if (!sheet && pcSubSys->count())
        sheet = qobject_cast<TSubSheet *>(pcSubSys->widget(0));
    if (!sheet)
        return;
    const QString code = sheet->Sn;
    if (!sheet->CloseSheet())
        return;
    pcSubSys->removeTab(pcSubSys->indexOf(sheet));
    Discard(sheet);
    if (pcSubSys->count() == 0) {
        pcSubSys->hide();
        pnlPageTitle->hide();
        pbBK->show();
        ToggleMenu();
    }
    RemoveTitleButton(code);
}

void TfrmMain::imgExpandClick()
{
    ToggleMenu();
}

void TfrmMain::ToggleMenu()
{
    m_menuExpanded = !m_menuExpanded;
    pnlGncd->setFixedWidth(m_menuExpanded ? MenuMetrics::ExpandedWidth : kExpanderWidth);
    sbMenu->setVisible(m_menuExpanded);
    UpdateExpandArrow();
}

void TfrmMain::UpdateExpandArrow()
{
    const QString name = m_menuExpanded
                             ? (m_expandHot ? QStringLiteral("GoLeft2") : QStringLiteral("GoLeft1"))
                             : (m_expandHot ? QStringLiteral("GoRight2") : QStringLiteral("GoRight1"));
    imgExpand->setPicture(ResPicture(QStringLiteral("Bmp/%1.bmp").arg(name)));
    imgExpand->setToolTip(m_menuExpanded ? QStringLiteral("隐藏功能菜单") : QStringLiteral("显示功能菜单"));
}

void TfrmMain::OpenHelp()
{
    const QString path = AppPath + QStringLiteral("Quillon.chm");
    if (!QFileInfo::exists(path)) {
        ShowInfo(QStringLiteral("帮助文件不存在：") + QDir::toNativeSeparators(path));
        return;
    }
    if (!HelpOpener || !HelpOpener(path))
        ShowInfo(QStringLiteral("无法打开帮助文件：") + QDir::toNativeSeparators(path) +
                 QStringLiteral("\n请安装能阅读 .chm 文件的帮助查看程序。"));
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (AskConfirm(QStringLiteral("确认要关闭系统吗？")))
        event->accept();
    else
        event->ignore();
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        tmrMax->start();
    }
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    UpdateMenuCanvas();
}

bool TfrmMain::RunLogin()
{
    m_ownsSession = true;
    TfrmLogin login;
    Dialogs::instance().execDialog(&login);
    return login.isLoggedIn();
}

bool TfrmMain::LoadMenuEntries(const QString &account, int rylsh, QList<MenuEntry> &entries)
{
    entries.clear();
    // Only "admin" exactly is the administrator: an account matched case-insensitively by the database
    // gets its role's menu.
    const QString sql =
        account == QLatin1String("admin")
            ? QStringLiteral("select * from gncd where  sfsy = '1' order by cdbh")
            : QStringLiteral("select a.* from gncd a, jsgnqx b, ry c where a.cdbh = b.cdbh and "
                             "b.jslsh = c.jslsh and  c.rylsh = ") +
                  QString::number(rylsh) + QStringLiteral(" order by a.cdbh");
    ClientDataSet cdsGncd;
    if (!OpenSql(sql, &cdsGncd))
        return false;
    QSet<QString> seen;
    for (cdsGncd.first(); !cdsGncd.eof(); cdsGncd.next()) {
        MenuEntry e;
        e.cdbh = cdsGncd.asString(QStringLiteral("cdbh")).trimmed();
        // A role may hold an entry twice (jsgnqx has no key): it is shown once.
        if (e.cdbh.isEmpty() || seen.contains(e.cdbh))
            continue;
        seen.insert(e.cdbh);
        e.sjcdbh = cdsGncd.asString(QStringLiteral("sjcdbh")).trimmed();
        e.cdmc = cdsGncd.asString(QStringLiteral("cdmc")).trimmed();
        e.mknm = cdsGncd.asString(QStringLiteral("mknm")).trimmed();
        e.sfydymk = cdsGncd.asString(QStringLiteral("sfydymk")).trimmed();
        entries << e;
    }
    return true;
}
