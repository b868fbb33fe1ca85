#include "app/uStartup.h"
#include "app/ufrmMain.h"
#include "platform/Dialogs.h"
#include "platform/widgets/WidgetDialogs.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumora"));
    QApplication::setOrganizationName(QStringLiteral("Tessary"));

    WidgetDialogs dialogs;
    Dialogs::setInstance(&dialogs);
    InitProcessValues();

    const QString refused = LoadDatabaseSettings();
    if (!refused.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(refused));
        ShowError(refused);
        return 2;
    }

    // Creating the main window runs the login; without a login the program ends here.
    TfrmMain mainWindow;
    if (!mainWindow.isLoggedIn()) {
        Dialogs::setInstance(nullptr);
        return 0;
    }
    mainWindow.show();
    const int rc = app.exec();
    Dialogs::setInstance(nullptr);
    return rc;
}
