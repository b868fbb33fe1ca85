#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QWidget;

// The login dialog. Creating it reads Config.ini and creates the process-wide objects (data modules,
// TAssistor, TLogin); it closes accepted only after a successful login. Three failed checks of any
// kind (unknown account, wrong password; by 登录 or 修改密码) close it rejected. It also changes the
// user's password and sets and tests the database server address.
class TfrmLogin : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmLogin(QWidget *parent = nullptr);
    ~TfrmLogin() override;

    bool isLoggedIn() const { return m_loggedIn; }
    int failedAttempts() const { return m_attempts; }

    bool CheckLogin();
    // show: show or hide the lower panel; page "0" the password page, anything else the server page.
    void ShowSettingPanel(bool show, const QString &page = QStringLiteral("0"));

    void btnLoginClick();
    void btnExitClick();
    void btnEditPwdClick();
    void btnConfirmClick();
    void btnCancelClick();
    void btnIPClick();
    void btnOKIPClick();
    void btnTestClick();

    // The organisation shown in 单位.
    static const QString SchoolName;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void BuildForm();
    void ReadConfig();
    bool Fail(const QString &what);

    QLineEdit *edtSchool;
    QComboBox *cbKm;
    QLineEdit *edtUserAccount;
    QLineEdit *edtUserPassword;
    QPushButton *btnLogin, *btnExit, *btnEditPwd, *btnIP;
    QStackedWidget *pnlSz;
    QWidget *pnlPwd, *pnlIP;
    QLineEdit *edtNewPwd, *edtConfirmPwd, *edtIP;
    QPushButton *btnConfirm, *btnCancel, *btnOKIP, *btnCancelIP, *btnTest;

    int m_attempts = 0;
    bool m_loggedIn = false;
};
