#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

// The one place where text meets bytes. Inside the program every text is a QString; GBK (code page
// 936) appears only where bytes are the contract: old Config.ini files, the stored password
// transform, RTF written by older clients.
namespace Encoding {

// GBK bytes of a text; characters GBK cannot hold become '?'.
QByteArray ToGbk(const QString &text);
QString FromGbk(const QByteArray &bytes);

// Decode bytes in a Windows code page (936, 950, 932, 1252, ...). Unknown code pages fall back to
// Windows-1252 so nothing is lost silently into an empty string.
QString FromCodePage(int codePage, const QByteArray &bytes);
QByteArray ToCodePage(int codePage, const QString &text);
bool IsCodePageSupported(int codePage);

// Converters for code pages that keep no state between calls, for callers that convert many small
// runs (the RTF reader and writer). An incomplete sequence at the end of a run becomes U+FFFD instead
// of leaking into the next run. Unknown code pages give Windows-1252.
QStringDecoder CodePageDecoder(int codePage);
QStringEncoder CodePageEncoder(int codePage);

// True when the bytes form valid UTF-8 (an empty array is valid).
bool IsValidUtf8(const QByteArray &bytes);

} // namespace Encoding
