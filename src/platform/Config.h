#pragma once

#include <QString>
#include <QStringList>

// Config.ini in the program folder. Every call opens and closes the file again; nothing is cached,
// so a value another client or the user changed is seen at the next read.

QString ConfigFilePath();

// Value of the key, or "" when the file, section or key is missing.
QString ReadConfigString(const QString &section, const QString &key);
// Value of the key, or def when the file, section or key is missing.
QString ReadConfigString(const QString &section, const QString &key, const QString &def);
// Writes the key, creating the file, section or key as needed; the file keeps its encoding.
// Returns false (with the reason in error) when the file cannot be written.
bool WriteConfigString(const QString &section, const QString &key, const QString &value,
                       QString *error = nullptr);
// Key names of one section, in file order.
QStringList ReadConfigSectionKeys(const QString &section);
// Integer value; def when missing or empty. A value that is not an integer gives def and sets
// *ok to false, so start-up can refuse it instead of guessing.
int ReadConfigInteger(const QString &section, const QString &key, int def, bool *ok = nullptr);
