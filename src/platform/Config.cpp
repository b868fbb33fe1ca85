#include "Config.h"

#include "AppGlobals.h"
#include "IniFile.h"

QString ConfigFilePath()
{
    return AppPath + QStringLiteral("Config.ini");
}

namespace {

IniFile LoadConfig()
{
    IniFile ini;
    ini.load(ConfigFilePath()); // an unreadable file behaves as an empty one
    return ini;
}

} // namespace

QString ReadConfigString(const QString &section, const QString &key)
{
    return LoadConfig().value(section, key);
}

QString ReadConfigString(const QString &section, const QString &key, const QString &def)
{
    return LoadConfig().value(section, key, def);
}

bool WriteConfigString(const QString &section, const QString &key, const QString &value, QString *error)
{
    IniFile ini;
    if (!ini.load(ConfigFilePath(), error))
        return false;
    ini.setValue(section, key, value);
    return ini.save(ConfigFilePath(), error);
}

QStringList ReadConfigSectionKeys(const QString &section)
{
    return LoadConfig().keys(section);
}

int ReadConfigInteger(const QString &section, const QString &key, int def, bool *ok)
{
    if (ok)
        *ok = true;
    const QString text = LoadConfig().value(section, key).trimmed();
    if (text.isEmpty())
        return def;
    bool parsed = false;
    const int value = text.toInt(&parsed);
    if (!parsed) {
        if (ok)
            *ok = false;
        return def;
    }
    return value;
}
