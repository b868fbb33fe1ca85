#include "ScriptedDialogs.h"

#include <QDialog>
#include <QWidget>

ScriptedDialogs::ScriptedDialogs()
{
    Dialogs::setInstance(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    Dialogs::setInstance(nullptr);
}

ScriptedDialogs &ScriptedDialogs::answer(int button)
{
    m_answers << button;
    return *this;
}

ScriptedDialogs &ScriptedDialogs::onDialog(DialogHandler handler)
{
    m_dialogs << std::move(handler);
    return *this;
}

ScriptedDialogs &ScriptedDialogs::saveFileName(const QString &name)
{
    m_saveNames << name;
    return *this;
}

ScriptedDialogs &ScriptedDialogs::openFileName(const QString &name)
{
    m_openNames << name;
    return *this;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const Shown &s : shown)
        result << s.text;
    return result;
}

QString ScriptedDialogs::lastText() const
{
    return shown.isEmpty() ? QString() : shown.last().text;
}

void ScriptedDialogs::clear()
{
    shown.clear();
    unexpected.clear();
    m_answers.clear();
    m_dialogs.clear();
    m_saveNames.clear();
    m_openNames.clear();
    fileDialogCaptions.clear();
    fileDialogFilters.clear();
}

int ScriptedDialogs::messageBox(const QString &caption, const QString &text, Icon icon, int buttons,
                                int defaultButton)
{
    shown << Shown{caption, text, icon, buttons};
    const bool question = (buttons & ~Ok) != 0;
    if (!question)
        return Ok;
    if (m_answers.isEmpty()) {
        unexpected << QStringLiteral("question: ") + text;
        return (buttons & Cancel) ? int(Cancel) : (buttons & No) ? int(No) : defaultButton;
    }
    return m_answers.takeFirst();
}

int ScriptedDialogs::execDialog(QWidget *dialog)
{
    if (m_dialogs.isEmpty()) {
        unexpected << QStringLiteral("dialog: ") + (dialog ? dialog->objectName() : QString());
        return QDialog::Rejected;
    }
    DialogHandler handler = m_dialogs.takeFirst();
    if (auto *d = qobject_cast<QDialog *>(dialog))
        d->setResult(QDialog::Rejected);
    return handler(dialog);
}

QString ScriptedDialogs::getSaveFileName(QWidget *, const QString &caption, const QString &,
                                         const QString &filter)
{
    fileDialogCaptions << caption;
    fileDialogFilters << filter;
    if (m_saveNames.isEmpty()) {
        unexpected << QStringLiteral("save dialog: ") + caption;
        return QString();
    }
    return m_saveNames.takeFirst();
}

QString ScriptedDialogs::getOpenFileName(QWidget *, const QString &caption, const QString &,
                                         const QString &filter)
{
    fileDialogCaptions << caption;
    fileDialogFilters << filter;
    if (m_openNames.isEmpty()) {
        unexpected << QStringLiteral("open dialog: ") + caption;
        return QString();
    }
    return m_openNames.takeFirst();
}
