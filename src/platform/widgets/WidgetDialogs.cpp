#include "WidgetDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

struct ButtonMap
{
    int ours;
    QMessageBox::StandardButton qt;
    const char16_t *text;
};

// Chinese button texts whatever translations the desktop has installed.
const ButtonMap kButtons[] = {
    {Dialogs::Ok, QMessageBox::Ok, u"确定"},         {Dialogs::Cancel, QMessageBox::Cancel, u"取消"},
    {Dialogs::Yes, QMessageBox::Yes, u"是"},         {Dialogs::No, QMessageBox::No, u"否"},
    {Dialogs::Abort, QMessageBox::Abort, u"中止"},   {Dialogs::Retry, QMessageBox::Retry, u"重试"},
    {Dialogs::Ignore, QMessageBox::Ignore, u"忽略"},
};

QMessageBox::Icon QtIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Information:
        return QMessageBox::Information;
    case Dialogs::Warning:
        return QMessageBox::Warning;
    case Dialogs::Critical:
        return QMessageBox::Critical;
    case Dialogs::Question:
        return QMessageBox::Question;
    case Dialogs::NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

int WidgetDialogs::messageBox(const QString &caption, const QString &text, Icon icon, int buttons,
                              int defaultButton)
{
    QMessageBox box(QtIcon(icon), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    for (const ButtonMap &b : kButtons) {
        if (buttons & b.ours) {
            QPushButton *button = box.addButton(b.qt);
            button->setText(QString::fromUtf16(b.text));
            if (b.ours == defaultButton)
                box.setDefaultButton(button);
        }
    }
    box.exec();
    const QMessageBox::StandardButton chosen = box.standardButton(box.clickedButton());
    for (const ButtonMap &b : kButtons) {
        if (b.qt == chosen)
            return b.ours;
    }
    // Closed with Escape or the window button: the cancel-like answer.
    if (buttons & Cancel)
        return Cancel;
    if (buttons & No)
        return No;
    return defaultButton;
}

int WidgetDialogs::execDialog(QWidget *dialog)
{
    auto *d = qobject_cast<QDialog *>(dialog);
    return d ? d->exec() : QDialog::Rejected;
}

QString WidgetDialogs::getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                       const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString WidgetDialogs::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                       const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}
