#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// An INI file read and written the way the Windows profile routines do it, but keeping the file's
// own encoding: files written by older clients on Windows are GBK, files this program creates are
// UTF-8. Section and key names match case-insensitively; the first of duplicate sections or keys wins.
// Every line the program does not touch is written back unchanged.
class IniFile
{
public:
    enum class Encoding { Utf8, Utf8Bom, Gbk };

    IniFile() = default;

    // Reads the file; a missing file gives an empty IniFile that will be written as UTF-8.
    // Returns false only when the file exists but cannot be read.
    bool load(const QString &path, QString *error = nullptr);
    // Writes the file in its encoding (atomically, through a temporary file).
    bool save(const QString &path, QString *error = nullptr) const;

    void parse(const QByteArray &bytes);
    QByteArray serialize() const;

    bool hasKey(const QString &section, const QString &key) const;
    // Value of the key, or def when the section or key is missing.
    QString value(const QString &section, const QString &key, const QString &def = QString()) const;
    // Key names of a section in file order (lines without '=' count as keys with an empty value).
    QStringList keys(const QString &section) const;
    QStringList sections() const;
    void setValue(const QString &section, const QString &key, const QString &value);

    Encoding encoding() const { return m_encoding; }

private:
    int findSection(const QString &section) const; // index of the header line or -1
    int sectionEnd(int header) const;              // index one past the section's last line
    int findKey(int header, const QString &key) const;

    QStringList m_lines;
    Encoding m_encoding = Encoding::Utf8;
    QString m_eol = QStringLiteral("\r\n");
    bool m_finalEol = true;
};
