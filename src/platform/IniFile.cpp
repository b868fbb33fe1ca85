#include "IniFile.h"

#include "Encoding.h"

#include <QFile>
#include <QSaveFile>

namespace {

bool IsHeader(const QString &trimmed)
{
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']'));
}

QString HeaderName(const QString &trimmed)
{
    return trimmed.mid(1, trimmed.indexOf(QLatin1Char(']')) - 1).trimmed();
}

bool IsComment(const QString &trimmed)
{
    return trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

QString KeyOf(const QString &trimmed)
{
    const int eq = trimmed.indexOf(QLatin1Char('='));
    return (eq < 0 ? trimmed : trimmed.left(eq)).trimmed();
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

bool IniFile::load(const QString &path, QString *error)
{
    m_lines.clear();
    m_encoding = Encoding::Utf8;
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    parse(file.readAll());
    return true;
}

void IniFile::parse(const QByteArray &raw)
{
    QByteArray bytes = raw;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        m_encoding = Encoding::Utf8Bom;
        bytes.remove(0, 3);
    } else if (::Encoding::IsValidUtf8(bytes)) {
        m_encoding = Encoding::Utf8;
    } else {
        m_encoding = Encoding::Gbk;
    }
    const QString text = m_encoding == Encoding::Gbk ? ::Encoding::FromGbk(bytes) : QString::fromUtf8(bytes);
    m_eol = text.contains(QLatin1String("\r\n")) || !text.contains(QLatin1Char('\n')) ? QStringLiteral("\r\n")
                                                                                      : QStringLiteral("\n");
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_finalEol = normal.isEmpty() || normal.endsWith(QLatin1Char('\n'));
    m_lines = normal.split(QLatin1Char('\n'));
    if (m_finalEol)
        m_lines.removeLast();
}

QByteArray IniFile::serialize() const
{
    QString text = m_lines.join(m_eol);
    if (!m_lines.isEmpty() && m_finalEol)
        text += m_eol;
    switch (m_encoding) {
    case Encoding::Gbk:
        return ::Encoding::ToGbk(text);
    case Encoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Encoding::Utf8:
        break;
    }
    return text.toUtf8();
}

bool IniFile::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write(serialize());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

int IniFile::findSection(const QString &section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString t = m_lines.at(i).trimmed();
        if (IsHeader(t) && SameName(HeaderName(t), section))
            return i;
    }
    return -1;
}

int IniFile::sectionEnd(int header) const
{
    int i = header + 1;
    while (i < m_lines.size() && !IsHeader(m_lines.at(i).trimmed()))
        ++i;
    return i;
}

int IniFile::findKey(int header, const QString &key) const
{
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const QString t = m_lines.at(i).trimmed();
        if (t.isEmpty() || IsComment(t))
            continue;
        if (SameName(KeyOf(t), key))
            return i;
    }
    return -1;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    const int header = findSection(section);
    return header >= 0 && findKey(header, key) >= 0;
}

QString IniFile::value(const QString &section, const QString &key, const QString &def) const
{
    const int header = findSection(section);
    if (header < 0)
        return def;
    const int line = findKey(header, key);
    if (line < 0)
        return def;
    const QString t = m_lines.at(line).trimmed();
    const int eq = t.indexOf(QLatin1Char('='));
    if (eq < 0)
        return QString();
    QString v = t.mid(eq + 1).trimmed();
    // The profile routines drop one pair of enclosing double quotes.
    if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
        v = v.mid(1, v.size() - 2);
    return v;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList result;
    const int header = findSection(section);
    if (header < 0)
        return result;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const QString t = m_lines.at(i).trimmed();
        if (t.isEmpty() || IsComment(t))
            continue;
        const QString k = KeyOf(t);
        if (!k.isEmpty())
            result << k;
    }
    return result;
}

QStringList IniFile::sections() const
{
    QStringList result;
    for (const QString &line : m_lines) {
        const QString t = line.trimmed();
        if (IsHeader(t))
            result << HeaderName(t);
    }
    return result;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    int header = findSection(section);
    if (header < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines << QString();
        m_lines << QLatin1Char('[') + section + QLatin1Char(']');
        m_lines << key + QLatin1Char('=') + value;
        m_finalEol = true;
        return;
    }
    const int line = findKey(header, key);
    if (line >= 0) {
        m_lines[line] = KeyOf(m_lines.at(line).trimmed()) + QLatin1Char('=') + value;
        return;
    }
    // Append after the section's last non-blank line, so the blank line before the next section stays.
    int insertAt = sectionEnd(header);
    while (insertAt > header + 1 && m_lines.at(insertAt - 1).trimmed().isEmpty())
        --insertAt;
    m_lines.insert(insertAt, key + QLatin1Char('=') + value);
}
