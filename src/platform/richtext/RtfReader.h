#pragma once

#include <QByteArray>

class QTextCursor;
class QTextDocument;

namespace RichText {

// What the reader noticed about its input. Reading never fails: damaged input gives what could be
// read, and bytes that are no RTF at all are taken as plain text (GBK unless they are valid UTF-8),
// as the Windows rich-text control does.
struct RtfReadInfo
{
    bool isRtf = true;       // false: the bytes did not start with "{\rtf" and were read as plain text
    bool unbalanced = false; // groups were left open at the end, or closed that were never opened
};

// Replaces the document's content with the RTF document, page settings and header/footer included.
void ReadRtf(const QByteArray &rtf, QTextDocument *doc, RtfReadInfo *info = nullptr);
// Inserts the RTF document's content at the cursor (page settings are not taken over). The last
// paragraph mark of the input closes the inserted text, so inserting a written document inserts
// exactly its paragraphs. The cursor ends after the inserted content.
void InsertRtf(const QByteArray &rtf, QTextCursor &cursor, RtfReadInfo *info = nullptr);

} // namespace RichText
