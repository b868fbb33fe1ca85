#include "app/uLogin.h"
#include "app/uPnlMenu.h"
#include "app/ufrmLogin.h"
#include "app/ufrmMain.h"
#include "data/DataAccess.h"
#include "data/uAssistor.h"
#include "data/udmMain.h"
#include "platform/AppGlobals.h"
#include "platform/ClientDataSet.h"
#include "platform/Config.h"
#include "platform/Encoding.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

// The login dialog on a real database, and the main window's menu for the administrator and for a role.
class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void storedPasswordForm_data();
    void storedPasswordForm();
    void loginSequences_data();
    void loginSequences();
    void passwordChange_data();
    void passwordChange();
    void keys();
    void settingPanelSize();
    void serverPage();
    void menuForAdminAndRole();

private:
    void addPerson(int rylsh, const QString &account, const QString &stored, int role);
    static void type(QDialog *d, const char *edit, const QString &text);
    static void click(QDialog *d, const char *button);

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TestDb> m_db;
};

void TestLogin::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_db = std::make_unique<TestDb>();
    REQUIRE_TESTDB(*m_db);
    addPerson(20, QStringLiteral("o'neil"), TAssistor::EncodePassword(QStringLiteral("it's)")), 2);
    addPerson(21, QStringLiteral("plain"), QStringLiteral("abc"), 2); // stored untransformed
    addPerson(22, QStringLiteral("王芳"), TAssistor::EncodePassword(QStringLiteral("变电123")), 2);
}

void TestLogin::cleanup()
{
    QVERIFY2(m_dialogs->unexpected.isEmpty(), qPrintable(m_dialogs->unexpected.join(u'|')));
    m_db.reset();
    m_dialogs.reset();
}

void TestLogin::addPerson(int rylsh, const QString &account, const QString &stored, int role)
{
    QString error;
    QVERIFY2(
        ExecSql(QStringLiteral("insert into ry (rylsh, ryxm, dlzh, dlmm, jslsh, zyzllsh, sftkgly) values "
                               "(%1, %2, %3, %4, %5, 3, '0')")
                    .arg(rylsh)
                    .arg(QuotedStr(QStringLiteral("测试") + QString::number(rylsh)), QuotedStr(account),
                         QuotedStr(stored))
                    .arg(role),
                error),
        qPrintable(error));
}

void TestLogin::type(QDialog *d, const char *edit, const QString &text)
{
    d->findChild<QLineEdit *>(QString::fromLatin1(edit))->setText(text);
}

void TestLogin::click(QDialog *d, const char *button)
{
    d->findChild<QPushButton *>(QString::fromLatin1(button))->click();
}

void TestLogin::storedPasswordForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("gbkOfStored"); // "" = only the round trip is checked
    QTest::newRow("abc") << "abc" << QByteArray::fromHex("61605F");
    QTest::newRow("apostrophe source") << ")" << QByteArray("'");
    QTest::newRow("Chinese") << "变电运行" << QByteArray();
    QTest::newRow("mixed") << "Ａ密码1" << QByteArray();
}

void TestLogin::storedPasswordForm()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, gbkOfStored);
    const QString stored = TAssistor::EncodePassword(text);
    if (!gbkOfStored.isEmpty())
        QCOMPARE(stored.toLatin1(), gbkOfStored);
    QCOMPARE(TAssistor::DecodePassword(stored), text);
}

void TestLogin::loginSequences_data()
{
    QTest::addColumn<QStringList>("attempts"); // "account|password", tried one after the other with 登录
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("loggedIn");
    QTest::addColumn<bool>("closed");
    const QString unknown2 = QStringLiteral("帐号不存在，您还有二次机会！");
    const QString unknown1 = QStringLiteral("帐号不存在，您还有一次机会！");
    const QString wrong2 = QStringLiteral("密码错误，您还有二次机会！");
    const QString wrong1 = QStringLiteral("密码错误，您还有一次机会！");
    QTest::newRow("admin") << QStringList{"admin|admin"} << QStringList{} << true << true;
    QTest::newRow("unknown account") << QStringList{"nobody|x"} << QStringList{unknown2} << false << false;
    QTest::newRow("wrong password") << QStringList{"admin|bad"} << QStringList{wrong2} << false << false;
    QTest::newRow("two failures then success") << QStringList{"nobody|x", "admin|bad", "admin|admin"}
                                               << QStringList{unknown2, wrong1} << true << true;
    QTest::newRow("three unknown end it")
        << QStringList{"a|x", "b|x", "c|x"} << QStringList{unknown2, unknown1} << false << true;
    QTest::newRow("mixed three end it") << QStringList{"admin|bad", "nobody|x", "admin|worse"}
                                        << QStringList{wrong2, unknown1} << false << true;
    QTest::newRow("trailing blanks") << QStringList{" admin  |admin   "} << QStringList{} << true << true;
    QTest::newRow("apostrophe in account")
        << QStringList{"x' or '1'='1|x"} << QStringList{unknown2} << false << false;
    // The stored form of ')' is an apostrophe: quoted like any text.
    QTest::newRow("apostrophes both") << QStringList{"o'neil|it's)"} << QStringList{} << true << true;
    QTest::newRow("untransformed stored password")
        << QStringList{"plain|abc"} << QStringList{wrong2} << false << false;
    QTest::newRow("Chinese account and password")
        << QStringList{"王芳|变电123"} << QStringList{} << true << true;
}

void TestLogin::loginSequences()
{
    QFETCH(QStringList, attempts);
    QFETCH(QStringList, messages);
    QFETCH(bool, loggedIn);
    QFETCH(bool, closed);
    TfrmLogin d;
    QSignalSpy finished(&d, &QDialog::finished);
    for (const QString &a : attempts) {
        type(&d, "edtUserAccount", a.section(u'|', 0, 0));
        type(&d, "edtUserPassword", a.section(u'|', 1));
        click(&d, "btnLogin");
    }
    QCOMPARE(m_dialogs->texts(), messages);
    QCOMPARE(d.isLoggedIn(), loggedIn);
    QCOMPARE(finished.count(), closed ? 1 : 0);
    if (closed)
        QCOMPARE(d.result(), loggedIn ? int(QDialog::Accepted) : int(QDialog::Rejected));
    if (loggedIn) {
        const QString account = attempts.last().section(u'|', 0, 0).trimmed();
        QCOMPARE(CurrentLogin()->dlzh, account);
        QVERIFY(CurrentLogin()->rylsh > 0);
        QCOMPARE(ReadConfigString(QStringLiteral("默认用户"), QStringLiteral("用户帐号")), account);
    }
}

void TestLogin::passwordChange_data()
{
    QTest::addColumn<QString>("newPwd");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored"); // the password that logs in afterwards
    QTest::newRow("empty refused") << "   "
                                   << ""
                                   << "密码不能为空，请重新输入"
                                   << "admin";
    QTest::newRow("mismatch refused") << "new1"
                                      << "new2"
                                      << "两次输入的密码不一致，请重新输入！"
                                      << "admin";
    QTest::newRow("trailing blanks differ only") << "new1 "
                                                 << "new1   "
                                                 << "修改密码成功！"
                                                 << "new1";
    QTest::newRow("Chinese with apostrophe") << "密码')"
                                             << "密码')"
                                             << "修改密码成功！"
                                             << "密码')";
}

void TestLogin::passwordChange()
{
    QFETCH(QString, newPwd);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    TfrmLogin d;
    auto *panel = d.findChild<QStackedWidget *>(QStringLiteral("pnlSz"));
    type(&d, "edtUserAccount", QStringLiteral("admin"));
    type(&d, "edtUserPassword", QStringLiteral("wrong"));
    click(&d, "btnEditPwd"); // a failed check counts like a failed login
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("密码错误，您还有二次机会！")});
    QVERIFY(panel->isHidden());
    type(&d, "edtUserPassword", QStringLiteral("admin"));
    click(&d, "btnEditPwd");
    QVERIFY(!panel->isHidden());
    QCOMPARE(panel->currentWidget()->objectName(), QStringLiteral("pnlPwd"));
    m_dialogs->clear();
    type(&d, "edtNewPwd", newPwd);
    type(&d, "edtConfirmPwd", confirm);
    click(&d, "btnConfirm");
    QCOMPARE(m_dialogs->texts(), QStringList{message});
    const bool changed = message == QStringLiteral("修改密码成功！");
    QCOMPARE(panel->isHidden(), changed);
    if (changed)
        QCOMPARE(d.findChild<QLineEdit *>(QStringLiteral("edtUserPassword"))->text(), stored);
    ClientDataSet ds;
    QVERIFY(OpenSql(QStringLiteral("select dlmm from ry where dlzh = 'admin'"), &ds));
    QCOMPARE(ds.asString(QStringLiteral("dlmm")), TAssistor::EncodePassword(stored));
}

void TestLogin::keys()
{
    TfrmLogin d;
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    auto *account = d.findChild<QLineEdit *>(QStringLiteral("edtUserAccount"));
    auto *password = d.findChild<QLineEdit *>(QStringLiteral("edtUserPassword"));
    QCOMPARE(QApplication::focusWidget(), password); // shown with the focus in the password box
    QTest::keyClick(password, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), account);
    QTest::keyClicks(account, QStringLiteral("admin"));
    QTest::keyClick(account, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), password);
    QTest::keyClicks(password, QStringLiteral("admin"));
    QTest::keyClick(password, Qt::Key_Return); // Enter in the password box logs in
    QVERIFY(d.isLoggedIn());
    QVERIFY(m_dialogs->texts().isEmpty());
}

void TestLogin::settingPanelSize()
{
    DBType = DbEmbedded;
    TfrmLogin d;
    auto *btnIP = d.findChild<QPushButton *>(QStringLiteral("btnIP"));
    auto *btnEditPwd = d.findChild<QPushButton *>(QStringLiteral("btnEditPwd"));
    const int base = d.height();
    const int panel = d.findChild<QStackedWidget *>(QStringLiteral("pnlSz"))->height();
    QVERIFY(!btnIP->isEnabled());
    d.ShowSettingPanel(true, QStringLiteral("0"));
    QCOMPARE(d.height(), base + panel);
    QVERIFY(!btnEditPwd->isEnabled());
    QVERIFY(!btnIP->isEnabled()); // embedded database: stays disabled
    d.ShowSettingPanel(true, QStringLiteral("1"));
    QCOMPARE(d.height(), base + panel); // another page, no second growth
    QVERIFY(btnEditPwd->isEnabled());
    d.ShowSettingPanel(false);
    QCOMPARE(d.height(), base);
    QVERIFY(!btnIP->isEnabled());
    d.ShowSettingPanel(false);
    QCOMPARE(d.height(), base);
}

void TestLogin::serverPage()
{
    DBType = DbPostgres;
    ServerIP = QStringLiteral("127.0.0.1");
    TfrmLogin d;
    TdmMain *before = dmMain();
    QVERIFY(d.findChild<QPushButton *>(QStringLiteral("btnIP"))->isEnabled());
    click(&d, "btnIP");
    type(&d, "edtIP", QStringLiteral("   "));
    click(&d, "btnOKIP");
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("请输入IP地址！")});
    QVERIFY(ReadConfigString(QStringLiteral("服务器"), QStringLiteral("IP")).isEmpty());
    // A server that does not answer: the message, the saved address back in the box, the connection in
    // use kept.
    type(&d, "edtIP", QStringLiteral("127.0.0.1:1"));
    click(&d, "btnTest");
    QCOMPARE(m_dialogs->texts().size(), 2);
    QVERIFY2(m_dialogs->lastText().startsWith(QStringLiteral("服务器IP不能正常连接！原因：")),
             qPrintable(m_dialogs->lastText()));
    QCOMPARE(d.findChild<QLineEdit *>(QStringLiteral("edtIP"))->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(dmMain(), before);
    ClientDataSet ds;
    QVERIFY(OpenSql(QStringLiteral("select dlzh from ry where dlzh = 'admin'"), &ds));
    DBType = m_db->engine() == DbEngine::Postgres ? DbPostgres : DbEmbedded;
}

void TestLogin::menuForAdminAndRole()
{
    QString error;
    // 040104 no longer in use; role 9 holds an item without its group and a group with one item.
    QVERIFY(ExecSql(QStringLiteral("update gncd set sfsy = '0' where cdbh = '040104'"), error));
    QVERIFY(ExecSql(QStringLiteral("insert into js (jslsh, jsmc) values (9, '阅卷员')"), error));
    for (const char *code : {"040104", "040201", "0404", "040405", "0406", "040606"})
        QVERIFY(ExecSql(
            QStringLiteral("insert into jsgnqx (cdbh, jslsh) values ('%1', 9)").arg(QLatin1String(code)),
            error));
    QVERIFY(ExecSql(QStringLiteral("insert into jsgnqx (cdbh, jslsh) values ('0404', 9)"), error)); // twice
    addPerson(30, QStringLiteral("yuejuan"), TAssistor::EncodePassword(QStringLiteral("123456")), 9);
    addPerson(31, QStringLiteral("Admin"), TAssistor::EncodePassword(QStringLiteral("admin")), 9);

    const auto loginAs = [this](const QString &account, const QString &password) {
        m_dialogs->onDialog([account, password](QWidget *w) {
            auto *d = qobject_cast<QDialog *>(w);
            type(d, "edtUserAccount", account);
            type(d, "edtUserPassword", password);
            click(d, "btnLogin");
            return d->result();
        });
    };
    const auto codes = [](TfrmMain &w) {
        QStringList out;
        for (const MenuEntry &e : w.entries())
            out << e.cdbh;
        return out;
    };
    const auto groups = [](TfrmMain &w) {
        QStringList out;
        for (TPnlMenu *g : w.menuGroups())
            out << g->cdbh;
        return out;
    };
    {
        loginAs(QStringLiteral("admin"), QStringLiteral("admin"));
        TfrmMain w;
        QVERIFY(w.isLoggedIn());
        QVERIFY(!codes(w).contains(QStringLiteral("040104")));
        QCOMPARE(codes(w).size(), 29);
        QCOMPARE(groups(w), (QStringList{"0401", "0402", "0403", "0404", "0405", "0406"}));
    }
    QVERIFY(m_db->isReady());
    {
        // The role's entries whatever their sfsy, in code order, each once; an item without its group
        // brings no group.
        loginAs(QStringLiteral("yuejuan"), QStringLiteral("123456"));
        TfrmMain w;
        QVERIFY(w.isLoggedIn());
        QCOMPARE(codes(w), (QStringList{"040104", "040201", "0404", "040405", "0406", "040606"}));
        QCOMPARE(groups(w), (QStringList{"0404", "0406"}));
        w.MenuGroupClick(w.menuGroups()[0]);
        QCOMPARE(w.menuItems(QStringLiteral("0404")).size(), 1);
    }
    {
        // Only "admin" exactly is the administrator.
        loginAs(QStringLiteral("Admin"), QStringLiteral("admin"));
        TfrmMain w;
        QVERIFY(w.isLoggedIn());
        QCOMPARE(groups(w), (QStringList{"0404", "0406"}));
    }
    {
        // Closing the dialog without a login: no menu, the program is to end.
        m_dialogs->onDialog([](QWidget *w) {
            click(qobject_cast<QDialog *>(w), "btnExit");
            return qobject_cast<QDialog *>(w)->result();
        });
        TfrmMain w;
        QVERIFY(!w.isLoggedIn());
        QVERIFY(w.menuGroups().isEmpty());
    }
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
