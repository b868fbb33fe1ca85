#include "ufrmLogin.h"

#include "uImageEx.h"
#include "uLogin.h"
#include "uSession.h"

#include "data/DataAccess.h"
#include "data/uAssistor.h"
#include "data/udmCommon.h"
#include "data/udmMain.h"
#include "platform/AppGlobals.h"
#include "platform/ClientDataSet.h"
#include "platform/Config.h"
#include "platform/Dialogs.h"
#include "platform/SharedServices.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

const QString TfrmLogin::SchoolName = QStringLiteral("电力行业职业技能鉴定中心");

namespace {

constexpr int kPanelHeight = 96;

// The banner at the top of the dialog.
class LoginBanner : public QWidget
{
public:
    explicit LoginBanner(QWidget *parent) : QWidget(parent) { setFixedHeight(72); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), height());
        g.setColorAt(0, QColor(0x15, 0x4A, 0xA8));
        g.setColorAt(1, QColor(0x4F, 0x9A, 0xF0));
        p.fillRect(rect(), g);
        const QPixmap logo = ResPicture(QStringLiteral("Bmp/Title.png"));
        int x = 18;
        if (!logo.isNull()) {
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawPixmap(QRect(x, 12, 48, 48), logo);
            x += 60;
        }
        QFont big(QString::fromUtf16(u"黑体"));
        big.setPixelSize(22);
        big.setBold(true);
        p.setFont(big);
        p.setPen(Qt::white);
        p.drawText(QRect(x, 10, width() - x, 30), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Lumora 题库与考试系统"));
        QFont small(QString::fromUtf16(u"宋体"));
        small.setPixelSize(13);
        p.setFont(small);
        p.setPen(QColor(0xDC, 0xEB, 0xFA));
        p.drawText(QRect(x, 40, width() - x, 22), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("电力行业职业技能鉴定  ·  用户登录"));
    }
};

QLineEdit *Edit(QWidget *parent, const char *name, int maxLength, bool password = false)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    if (password)
        e->setEchoMode(QLineEdit::Password);
    return e;
}

QPushButton *Button(QWidget *parent, const char *name, const char16_t *text)
{
    auto *b = new QPushButton(QString::fromUtf16(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false); // Enter is handled by the edit boxes themselves
    b->setDefault(false);
    return b;
}

QLabel *Label(QWidget *parent, const char16_t *text)
{
    auto *l = new QLabel(QString::fromUtf16(text), parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

TfrmLogin::TfrmLogin(QWidget *parent) : QDialog(parent)
{
    BuildForm();
    m_attempts = 0;
    m_loggedIn = false;
    ShowSettingPanel(false);
    ReadConfig();
    CreateSessionObjects();
    if (DBType == DbEmbedded)
        btnIP->setEnabled(false);
}

TfrmLogin::~TfrmLogin() = default;

void TfrmLogin::BuildForm()
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("登录"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(new LoginBanner(this));

    auto *body = new QWidget(this);
    auto *grid = new QGridLayout(body);
    grid->setContentsMargins(40, 16, 40, 8);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    edtSchool = Edit(body, "edtSchool", 0);
    edtSchool->setReadOnly(true);
    edtSchool->setText(SchoolName);
    edtSchool->setFocusPolicy(Qt::NoFocus);
    cbKm = new QComboBox(body);
    cbKm->setObjectName(QStringLiteral("cbKm"));
    edtUserAccount = Edit(body, "edtUserAccount", 20);
    edtUserPassword = Edit(body, "edtUserPassword", 20, true);
    grid->addWidget(Label(body, u"单  位"), 0, 0);
    grid->addWidget(edtSchool, 0, 1);
    grid->addWidget(Label(body, u"行  业"), 1, 0);
    grid->addWidget(cbKm, 1, 1);
    grid->addWidget(Label(body, u"帐  号"), 2, 0);
    grid->addWidget(edtUserAccount, 2, 1);
    grid->addWidget(Label(body, u"密  码"), 3, 0);
    grid->addWidget(edtUserPassword, 3, 1);
    outer->addWidget(body);

    auto *buttons = new QWidget(this);
    auto *row = new QHBoxLayout(buttons);
    row->setContentsMargins(24, 6, 24, 14);
    btnLogin = Button(buttons, "btnLogin", u"登录");
    btnExit = Button(buttons, "btnExit", u"取消");
    btnEditPwd = Button(buttons, "btnEditPwd", u"修改密码");
    btnIP = Button(buttons, "btnIP", u"服务器IP");
    for (QPushButton *b : {btnLogin, btnExit, btnEditPwd, btnIP})
        row->addWidget(b);
    outer->addWidget(buttons);

    pnlSz = new QStackedWidget(this);
    pnlSz->setObjectName(QStringLiteral("pnlSz"));
    pnlSz->setFixedHeight(kPanelHeight);
    pnlSz->setStyleSheet(QStringLiteral("#pnlSz { background: #EAF2FC; border-top: 1px solid #9DBEE8; }"));
    pnlPwd = new QWidget(pnlSz);
    pnlPwd->setObjectName(QStringLiteral("pnlPwd"));
    auto *pg = new QGridLayout(pnlPwd);
    pg->setContentsMargins(40, 10, 24, 10);
    edtNewPwd = Edit(pnlPwd, "edtNewPwd", 20, true);
    edtConfirmPwd = Edit(pnlPwd, "edtConfirmPwd", 20, true);
    btnConfirm = Button(pnlPwd, "btnConfirm", u"确认");
    btnCancel = Button(pnlPwd, "btnCancel", u"关闭");
    pg->addWidget(Label(pnlPwd, u"新 密 码"), 0, 0);
    pg->addWidget(edtNewPwd, 0, 1);
    pg->addWidget(btnConfirm, 0, 2);
    pg->addWidget(Label(pnlPwd, u"确认密码"), 1, 0);
    pg->addWidget(edtConfirmPwd, 1, 1);
    pg->addWidget(btnCancel, 1, 2);
    pnlSz->addWidget(pnlPwd);
    pnlIP = new QWidget(pnlSz);
    pnlIP->setObjectName(QStringLiteral("pnlIP"));
    auto *ig = new QGridLayout(pnlIP);
    ig->setContentsMargins(40, 10, 24, 10);
    edtIP = Edit(pnlIP, "edtIP", 20);
    btnOKIP = Button(pnlIP, "btnOKIP", u"确定");
    btnCancelIP = Button(pnlIP, "btnCancelIP", u"关闭");
    btnTest = Button(pnlIP, "btnTest", u"测试服务器");
    ig->addWidget(Label(pnlIP, u"服务器IP："), 0, 0);
    ig->addWidget(edtIP, 0, 1, 1, 2);
    auto *ipButtons = new QHBoxLayout;
    ipButtons->addWidget(btnOKIP);
    ipButtons->addWidget(btnTest);
    ipButtons->addWidget(btnCancelIP);
    ig->addLayout(ipButtons, 1, 1, 1, 2);
    pnlSz->addWidget(pnlIP);
    outer->addWidget(pnlSz);

    connect(btnLogin, &QPushButton::clicked, this, &TfrmLogin::btnLoginClick);
    connect(btnExit, &QPushButton::clicked, this, &TfrmLogin::btnExitClick);
    connect(btnEditPwd, &QPushButton::clicked, this, &TfrmLogin::btnEditPwdClick);
    connect(btnIP, &QPushButton::clicked, this, &TfrmLogin::btnIPClick);
    connect(btnConfirm, &QPushButton::clicked, this, &TfrmLogin::btnConfirmClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmLogin::btnCancelClick);
    connect(btnOKIP, &QPushButton::clicked, this, &TfrmLogin::btnOKIPClick);
    connect(btnCancelIP, &QPushButton::clicked, this, &TfrmLogin::btnCancelClick);
    connect(btnTest, &QPushButton::clicked, this, &TfrmLogin::btnTestClick);
    for (QLineEdit *e : {edtUserAccount, edtUserPassword, edtNewPwd, edtConfirmPwd, edtIP})
        e->installEventFilter(this);
    cbKm->installEventFilter(this);

    pnlSz->hide();
    setFixedSize(420, sizeHint().height());
}

void TfrmLogin::ReadConfig()
{
    cbKm->clear();
    cbKm->addItems(ReadConfigSectionKeys(QStringLiteral("科目")));
    edtUserAccount->setText(ReadConfigString(QStringLiteral("默认用户"), QStringLiteral("用户帐号")));
    DefaultSubject = ReadConfigString(QStringLiteral("默认科目"), QStringLiteral("科目名称"));
    const int at = cbKm->findText(DefaultSubject);
    cbKm->setCurrentIndex(DefaultSubject.isEmpty() ? (cbKm->count() ? 0 : -1) : at);
    // DBType was read and checked at start-up, before any database access, and stays for the run.
    ServerIP = ReadConfigString(QStringLiteral("服务器"), QStringLiteral("IP"), QStringLiteral("127.0.0.1"));
    edtIP->setText(ServerIP);
}

void TfrmLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    edtUserPassword->setFocus();
}

bool TfrmLogin::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && (watched == edtUserPassword || watched == edtNewPwd || watched == edtConfirmPwd ||
                  watched == edtIP)) {
        btnLoginClick();
        return true;
    }
    if (enter || key == Qt::Key_Down) {
        if (watched == cbKm && key == Qt::Key_Down)
            return false; // the drop-down uses Down itself
        focusNextChild();
        return true;
    }
    if (key == Qt::Key_Up && watched != cbKm) {
        focusPreviousChild();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmLogin::ShowSettingPanel(bool show, const QString &page)
{
    if (show) {
        if (pnlSz->isHidden()) {
            pnlSz->show();
            setFixedSize(width(), height() + pnlSz->height());
        }
        const bool pwd = page == QLatin1String("0");
        pnlSz->setCurrentWidget(pwd ? pnlPwd : pnlIP);
        btnEditPwd->setEnabled(!pwd);
        btnIP->setEnabled(pwd && DBType != DbEmbedded);
    } else {
        if (!pnlSz->isHidden()) {
            pnlSz->hide();
            setFixedSize(width(), height() - pnlSz->height());
        }
        btnEditPwd->setEnabled(true);
        btnIP->setEnabled(DBType != DbEmbedded);
    }
}

bool TfrmLogin::Fail(const QString &what)
{
    ++m_attempts;
    if (m_attempts >= 3) {
        reject();
        return false;
    }
    ShowInfo(what + ChineseNumeral(3 - m_attempts) + QStringLiteral("次机会！"));
    return false;
}

void TfrmLogin::btnLoginClick()
{
    if (m_attempts >= 3)
        return;
    if (CheckLogin()) {
        m_loggedIn = true;
        accept();
    }
}

void TfrmLogin::btnExitClick()
{
    reject();
}

void TfrmLogin::btnEditPwdClick()
{
    if (m_attempts >= 3)
        return;
    if (CheckLogin()) {
        ShowSettingPanel(true, QStringLiteral("0"));
        edtNewPwd->setFocus();
    }
}

void TfrmLogin::btnCancelClick()
{
    ShowSettingPanel(false);
}

void TfrmLogin::btnIPClick()
{
    ShowSettingPanel(true, QStringLiteral("1"));
    edtIP->setFocus();
}

bool TfrmLogin::CheckLogin()
{
    const QString account = edtUserAccount->text().trimmed();
    const QString password = edtUserPassword->text().trimmed();
    TdmCommon *common = dmCommon();
    ClientDataSet local;
    ClientDataSet *cds = common ? common->cdsCommon : &local;
    // A failed query (no connection) must not leave rows of an earlier query behind for the check.
    cds->close();
    if (!OpenSql(QStringLiteral("select dlzh from ry where dlzh = ") + QuotedStr(account), cds) ||
        cds->isEmpty())
        return Fail(QStringLiteral("帐号不存在，您还有"));
    cds->close();
    // The stored form can hold an apostrophe (the transform of ')'), so it is quoted like any text.
    if (!OpenSql(QStringLiteral("select * from ry where dlzh = ") + QuotedStr(account) +
                     QStringLiteral(" and dlmm = ") + QuotedStr(TAssistor::EncodePassword(password)),
                 cds) ||
        cds->isEmpty())
        return Fail(QStringLiteral("密码错误，您还有"));
    TLogin *login = CurrentLogin();
    if (login) {
        login->rylsh = cds->asInt(QStringLiteral("rylsh"));
        login->dlzh = account;
        login->mm = password;
        login->ryxm = cds->asString(QStringLiteral("ryxm"));
        login->dwmc = edtSchool->text();
        login->zyzllsh = cds->asInt(QStringLiteral("zyzllsh"));
        login->sftkgly = cds->asString(QStringLiteral("sftkgly"));
    }
    QString error;
    if (!WriteConfigString(QStringLiteral("默认用户"), QStringLiteral("用户帐号"), account, &error))
        ShowInfo(QStringLiteral("无法保存默认帐号到 Config.ini：") + error);
    return true;
}

void TfrmLogin::btnConfirmClick()
{
    const QString password = edtNewPwd->text().trimmed();
    if (password.isEmpty()) {
        ShowInfo(QStringLiteral("密码不能为空，请重新输入"));
        edtNewPwd->setFocus();
        return;
    }
    if (password != edtConfirmPwd->text().trimmed()) {
        ShowInfo(QStringLiteral("两次输入的密码不一致，请重新输入！"));
        edtNewPwd->setFocus();
        return;
    }
    const TLogin *login = CurrentLogin();
    if (!login || login->dlzh.isEmpty())
        return; // the page is shown only after a successful check
    if (ExecSql(QStringLiteral("update ry set dlmm = ") + QuotedStr(TAssistor::EncodePassword(password)) +
                    QStringLiteral(" where dlzh = ") + QuotedStr(login->dlzh),
                LastErrorText)) {
        ShowInfo(QStringLiteral("修改密码成功！"));
        edtUserPassword->setText(password);
        ShowSettingPanel(false);
    } else {
        ShowInfo(QStringLiteral("修改密码失败！原因：") + LastErrorText);
    }
}

void TfrmLogin::btnOKIPClick()
{
    const QString address = edtIP->text().trimmed();
    if (address.isEmpty()) {
        ShowInfo(QStringLiteral("请输入IP地址！"));
        return;
    }
    ServerIP = address;
    QString error;
    if (!WriteConfigString(QStringLiteral("服务器"), QStringLiteral("IP"), address, &error))
        ShowInfo(QStringLiteral("无法保存服务器地址到 Config.ini：") + error);
    SetDmMain(std::make_unique<TdmMain>()); // connects to the new address; a failure is shown
    ShowSettingPanel(false);
}

void TfrmLogin::btnTestClick()
{
    // The tested address is used for this connection only; Config.ini and ServerIP stay.
    const QString saved = ServerIP;
    if (DBType != DbEmbedded)
        ServerIP = edtIP->text().trimmed();
    auto module = std::make_unique<TdmMain>(nullptr, false); // the outcome is reported below, once
    ServerIP = saved;

    QString error = module->isConnected() ? QString() : module->connectionError();
    if (error.isEmpty()) {
        module->setShowErrors(false);
        module->execSql(QStringLiteral("select * from ry where 1 = 0"), error);
        module->setShowErrors(true);
    }
    if (error.isEmpty()) {
        SetDmMain(std::move(module)); // the program goes on with the tested server
        ShowInfo(QStringLiteral("服务器IP连接正常！"));
    } else {
        // The connection in use is kept: a failed test must not leave the program without a database.
        ShowInfo(QStringLiteral("服务器IP不能正常连接！原因：") + error);
        edtIP->setText(ServerIP);
    }
}
