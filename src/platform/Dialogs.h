#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QObject;
class QWidget;

// Every message box, question, modal dialog and file dialog of the program goes through this
// service. The program installs the widget implementation; tests install a scripted one that records
// what was shown and answers from a script. The header needs no widgets, so the data layer can report
// its errors through it too.
class Dialogs
{
public:
    enum Icon { NoIcon, Information, Warning, Critical, Question };
    enum Button {
        NoButton = 0,
        Ok = 0x1,
        Cancel = 0x2,
        Yes = 0x4,
        No = 0x8,
        Abort = 0x10,
        Retry = 0x20,
        Ignore = 0x40,
    };

    virtual ~Dialogs() = default;

    // Shows a message box with the given buttons (an OR of Button) and returns the one chosen.
    virtual int messageBox(const QString &caption, const QString &text, Icon icon, int buttons,
                           int defaultButton) = 0;
    // Runs a modal dialog (a QDialog) and returns its result code (QDialog::Accepted or Rejected).
    virtual int execDialog(QWidget *dialog) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter) = 0;
    virtual QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter) = 0;

    // The installed service. Before one is installed a console fallback writes messages to stderr
    // and answers every question with its default (used by command-line tools).
    static Dialogs &instance();
    // Installs a service (ownership stays with the caller); nullptr restores the fallback.
    static void setInstance(Dialogs *dialogs);
};

// Console fallback: prints messages to stderr, answers with the default button, rejects dialogs.
class ConsoleDialogs : public Dialogs
{
public:
    int messageBox(const QString &caption, const QString &text, Icon icon, int buttons,
                   int defaultButton) override;
    int execDialog(QWidget *dialog) override;
    QString getSaveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    QString getOpenFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return QString();
    }
};

// Caption of every message box of the system.
inline const QString kMessageCaption = QStringLiteral("系统提示：");

// The three standard message boxes.
void ShowInfo(const QString &text);   // warning icon, OK
void ShowError(const QString &text);  // error icon, OK
bool AskConfirm(const QString &text); // warning icon, OK and Cancel; true for OK
