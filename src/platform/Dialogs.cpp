#include "Dialogs.h"

#include <cstdio>

namespace {

Dialogs *g_installed = nullptr;

ConsoleDialogs &Fallback()
{
    static ConsoleDialogs console;
    return console;
}

} // namespace

Dialogs &Dialogs::instance()
{
    return g_installed ? *g_installed : static_cast<Dialogs &>(Fallback());
}

void Dialogs::setInstance(Dialogs *dialogs)
{
    g_installed = dialogs;
}

int ConsoleDialogs::messageBox(const QString &caption, const QString &text, Icon, int, int defaultButton)
{
    std::fprintf(stderr, "%s %s\n", qPrintable(caption), qPrintable(text));
    return defaultButton;
}

int ConsoleDialogs::execDialog(QWidget *)
{
    return 0; // QDialog::Rejected
}

void ShowInfo(const QString &text)
{
    Dialogs::instance().messageBox(kMessageCaption, text, Dialogs::Warning, Dialogs::Ok, Dialogs::Ok);
}

void ShowError(const QString &text)
{
    Dialogs::instance().messageBox(kMessageCaption, text, Dialogs::Critical, Dialogs::Ok, Dialogs::Ok);
}

bool AskConfirm(const QString &text)
{
    return Dialogs::instance().messageBox(kMessageCaption, text, Dialogs::Warning,
                                          Dialogs::Ok | Dialogs::Cancel, Dialogs::Ok) == Dialogs::Ok;
}
