#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class QLabel;
class QScrollArea;
class QTabWidget;
class QTimer;
class QToolButton;
class QHBoxLayout;
class TImageEx;
class TPnlMenu;
class TPnlMenuItem;
class TSubSheet;
class TMainBackground;

// One row of gncd as the menu uses it.
struct MenuEntry
{
    QString cdbh;    // 4 characters: a group; 6: an item of the group with the first 4
    QString sjcdbh;  // group code of an item
    QString cdmc;    // caption
    QString mknm;    // class name of the sub-system form
    QString sfydymk; // '0': opens no module (系统帮助, 退出系统)
};

// The main window: side menu of the user's entries, one tab sheet per open sub-system switched by the
// title bar's buttons, background picture while nothing is open, F1 help, the close confirmation.
class TfrmMain : public QMainWindow
{
    Q_OBJECT
public:
    // Runs the login dialog; after a successful login loads the user's menu. Without a login the
    // window stays empty and isLoggedIn() is false: the caller ends the program.
    explicit TfrmMain(QWidget *parent = nullptr);
    // A window without login whose menu is the given entries (tools and tests of the shell itself).
    explicit TfrmMain(const QList<MenuEntry> &entries, QWidget *parent = nullptr);
    ~TfrmMain() override;

    bool isLoggedIn() const { return m_loggedIn; }

    // The menu entries of a user: every entry in use for the account "admin" exactly, otherwise the
    // entries the role of the person holds, in code order. False (message shown) when the query failed.
    static bool LoadMenuEntries(const QString &account, int rylsh, QList<MenuEntry> &entries);

    void OpenSubSystem(const QString &code);
    void MenuGroupClick(TPnlMenu *group);
    void MenuItemClick(TPnlMenuItem *item);
    void AddTitleButton(const QString &code, const QString &title);
    void RemoveTitleButton(const QString &code);
    void TitleButtonClick(QToolButton *button);
    void ActivateSheet(const QString &code);
    void imgCloseSysClick();
    void imgExpandClick();
    // Opens AppPath + "Quillon.chm" (F1 and "系统帮助").
    void OpenHelp();

    // The text a title button shows for a caption: "未命名组件" for none, the caption when shorter
    // than 9 characters, otherwise its first 7 characters and "…".
    static QString TitleButtonText(const QString &title);

    TSubSheet *findSheet(const QString &code) const;
    TSubSheet *activeSheet() const;
    QList<TSubSheet *> sheets() const;
    QList<TPnlMenu *> menuGroups() const;
    QList<TPnlMenuItem *> menuItems(const QString &groupCode) const;
    TImageEx *menuBackground(const QString &groupCode) const;
    QList<QToolButton *> titleButtons() const; // left to right
    bool isMenuExpanded() const { return m_menuExpanded; }
    const QList<MenuEntry> &entries() const { return m_entries; }

    // How the help file is handed to the desktop (tests replace it). Returns false when nothing
    // could open it.
    static std::function<bool(const QString &path)> HelpOpener;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void BuildWindow();
    bool RunLogin();
    void BuildMenu(const QList<MenuEntry> &entries);
    void ToggleMenu();
    void UpdateExpandArrow();
    void UpdateMenuCanvas();
    void MoveControlsBelow(int top, const QString &exceptKeyword, int dy);
    void WriteRegistryFlag(const QString &code);
    const MenuEntry *FindEntry(const QString &code) const;

    bool m_loggedIn = false;
    bool m_menuExpanded = true;
    bool m_expandHot = false;
    bool m_shownOnce = false;
    bool m_ownsSession = false;
    QList<MenuEntry> m_entries;

    QWidget *pnlGncd = nullptr;
    QScrollArea *sbMenu = nullptr;
    QWidget *menuCanvas = nullptr;
    QWidget *pnlExpand = nullptr;
    TImageEx *imgExpand = nullptr;
    QWidget *pnlMain = nullptr;
    TMainBackground *pbBK = nullptr;
    QWidget *pnlPageTitle = nullptr;
    QScrollArea *tbTitle = nullptr;
    QHBoxLayout *titleLayout = nullptr;
    TImageEx *imgCloseSys = nullptr;
    QTabWidget *pcSubSys = nullptr;
    QTimer *tmrMax = nullptr;
};
