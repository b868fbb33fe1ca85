#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// The stored form of rich-text content (question content and answer, the four paper documents):
//   bytes 0..3  L, the length of the RTF document, signed 32-bit little-endian
//   bytes 4..   a zlib stream (level 1) of the document with its first 100 bytes swapped in pairs
// Every client reads and writes content columns in exactly this form, so nothing here may change it.
namespace ContentStorage {

// Decoded content longer than this is not loaded by LoadBlobToRichEdit.
constexpr qint64 kRichEditLimit = 10'000'000;
// The line shown instead of such content.
inline const QString kTooLargeMessage =
    QStringLiteral("该试题大于10M，不能录用！可能是图形太大，请将bmp转化成jpg格式");

// Swaps bytes 0/1, 2/3, ... 98/99 of the buffer (only pairs wholly inside it); undoes itself.
void SwapLeadingPairs(QByteArray &bytes);
// 4-byte length of the input followed by its zlib stream at level 1.
QByteArray CompressStream(const QByteArray &bytes);
// Reverses CompressStream: exactly L bytes of output. A value too short to hold the length, a length
// <= 0, damaged or short zlib data give false and the reason in *error.
bool DecompressStream(const QByteArray &blob, QByteArray *out, QString *error = nullptr);

// RTF bytes -> stored value (swap, compress) and back (decompress, swap).
QByteArray SaveStreamToBlob(const QByteArray &rtf);
bool LoadBlobToStream(const QByteArray &blob, QByteArray *rtf, QString *error = nullptr);

// The document written as RTF, as a stored value.
QByteArray SaveRichEditToBlob(const QTextDocument *doc);
// Clears the document, then (for a non-empty value) decodes it and reads the RTF into it. On error the
// document stays empty and *error says why.
bool LoadBlobToEdit(const QByteArray &blob, QTextDocument *doc, QString *error = nullptr);
// As LoadBlobToEdit, but decoded content longer than kRichEditLimit is not loaded: the document gets
// the single line kTooLargeMessage instead (and the call succeeds).
bool LoadBlobToRichEdit(const QByteArray &blob, QTextDocument *doc, QString *error = nullptr);
// True when the decoded content is longer than n × 1 000 000 bytes; false for an empty value and for
// a value that cannot be decoded (then *error says why).
bool BlobLargerThan(const QByteArray &blob, int n, QString *error = nullptr);

// The SQL condition on a question's audit state (stzt) for the chosen states, e.g.
// "( stzt = '1' or stzt = '2')"; "()" when no state is chosen (callers refuse that case).
QString QuesStateFilter(bool standard, bool pending, bool discarded);

} // namespace ContentStorage
