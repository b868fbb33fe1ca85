#pragma once

#include "platform/Dialogs.h"

// The Dialogs service of the running program: Qt message boxes, modal dialogs and file dialogs.
class WidgetDialogs : public Dialogs
{
public:
    int messageBox(const QString &caption, const QString &text, Icon icon, int buttons,
                   int defaultButton) override;
    int execDialog(QWidget *dialog) override;
    QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                            const QString &filter) override;
    QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                            const QString &filter) override;
};
