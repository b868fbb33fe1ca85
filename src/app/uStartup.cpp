#include "uStartup.h"

#include "platform/AppGlobals.h"
#include "platform/Config.h"
#include "platform/Fonts.h"

QString LoadDatabaseSettings()
{
    const QString section = QStringLiteral("服务器");
    bool numeric = true;
    const int type = ReadConfigInteger(section, QStringLiteral("DBType"), DbSqlServer, &numeric);
    if (!numeric || !IsKnownDbType(type)) {
        const QString raw = ReadConfigString(section, QStringLiteral("DBType")).trimmed();
        return QStringLiteral("Config.ini 中[服务器]的 DBType=%1 无效，程序无法连接数据库。\n"
                              "允许的值：0 或 1（SQL Server）、2（本地数据库 korvax.db）、3（PostgreSQL）。")
            .arg(raw);
    }
    DBType = type;
    ServerIP = ReadConfigString(section, QStringLiteral("IP"), QStringLiteral("127.0.0.1"));
    DefaultSubject = ReadConfigString(QStringLiteral("默认科目"), QStringLiteral("科目名称"));
    return QString();
}

void InitProcessValues()
{
    SetAppPath(GetAppPath());
    InstallFontSubstitutions();
}
