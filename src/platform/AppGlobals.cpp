#include "AppGlobals.h"

#include <QCoreApplication>
#include <QDir>

QString AppPath;
QString ResPath;
int DBType = 0;
QString ServerIP = QStringLiteral("127.0.0.1");
QString DefaultSubject;
QString LastErrorText;

QString GetAppPath()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty())
        dir = QDir::currentPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

void SetAppPath(const QString &folder)
{
    AppPath = QDir::fromNativeSeparators(folder);
    if (!AppPath.endsWith(QLatin1Char('/')))
        AppPath += QLatin1Char('/');
    ResPath = AppPath + QStringLiteral("Res/");
}

bool IsKnownDbType(int type)
{
    return type >= DbSqlServer && type <= DbPostgres;
}
