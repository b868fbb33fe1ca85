#pragma once

#include <QByteArray>
#include <QStringView>

class QTextDocument;

namespace RichText {

// Writes the document as RTF that the Windows rich-text control, word processors and our own reader
// all read: \ansicpg936 with 宋体 (\fcharset134) as font 0, text outside ASCII as \uN with a GBK
// (or Windows-1252) fallback for readers that do not know \u, pictures as \pngblip or \jpegblip,
// kept metafiles and objects verbatim, tables, page settings and page header/footer. Every paragraph
// ends with \par, so reading the result gives back exactly the document's paragraphs. The output
// depends only on the document: writing twice gives the same bytes.
QByteArray WriteRtf(const QTextDocument *doc);

// Appends text escaped for RTF. Characters outside ASCII become \uN followed by their bytes in
// fallbackCodePage (or "?"); *uc holds the \uc count in force and is updated when a \ucN is written
// (nullptr: the caller's group starts at \uc1 and no state is kept).
void AppendRtfText(QByteArray &out, QStringView text, int fallbackCodePage, int *uc = nullptr);

} // namespace RichText
