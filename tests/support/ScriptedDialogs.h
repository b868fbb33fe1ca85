#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The Dialogs service of the tests. Installed for its lifetime. It records every message box shown,
// answers questions (boxes with more than one button) from a script, runs modal dialogs through
// callbacks the test queued, and hands out scripted file names. A question or dialog that nobody
// scripted is recorded in unexpected and answered with Cancel / Rejected, so a test can assert that
// nothing unexpected was asked.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString caption;
        QString text;
        Icon icon;
        int buttons;
    };
    using DialogHandler = std::function<int(QWidget *dialog)>;

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Queues the answer of the next question.
    ScriptedDialogs &answer(int button);
    ScriptedDialogs &answerOk() { return answer(Ok); }
    ScriptedDialogs &answerCancel() { return answer(Cancel); }
    // Queues the handler of the next modal dialog; it fills the dialog and returns the result code
    // (it may call accept()/reject() itself and return the dialog's result()).
    ScriptedDialogs &onDialog(DialogHandler handler);
    // Queues the file name the next save / open dialog returns ("" = the user cancels).
    ScriptedDialogs &saveFileName(const QString &name);
    ScriptedDialogs &openFileName(const QString &name);

    // Texts of every message box shown, in order.
    QStringList texts() const;
    QString lastText() const;
    void clear();

    QList<Shown> shown;
    QStringList unexpected;
    QStringList fileDialogCaptions;
    QStringList fileDialogFilters;

    int messageBox(const QString &caption, const QString &text, Icon icon, int buttons,
                   int defaultButton) override;
    int execDialog(QWidget *dialog) override;
    QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                            const QString &filter) override;
    QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                            const QString &filter) override;

private:
    QList<int> m_answers;
    QList<DialogHandler> m_dialogs;
    QStringList m_saveNames;
    QStringList m_openNames;
};
