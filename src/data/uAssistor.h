#pragma once

#include <QByteArray>
#include <QString>

class ClientDataSet;
class QTextDocument;

// The stateless helper created at login: the stored password form and the content operations.
class TAssistor
{
public:
    // The stored form of a password (column ry.dlmm): the GBK bytes of the text, each lowered by 2
    // (modulo 256), in reverse order, ending at the first zero byte. In a Unicode text column those
    // bytes are kept as ASCII when they all are, as the GBK text they spell when they decode and
    // re-encode exactly (what older clients' rows read as), and as Latin-1 characters otherwise.
    static QString EncodePassword(const QString &text);
    // The inverse: add 2 to every byte and reverse (shown by the personnel form; logins compare the
    // stored form and never decode).
    static QString DecodePassword(const QString &stored);

    // Content operations on a blob field of the current row, in the stored content format
    // (ContentStorage.h). Editors hand over their document (RichEdit::document()). Failures are shown
    // with ShowError and reported by false, unless the caller passes error: then the reason goes
    // there and nothing is shown.

    // Writes the document as RTF into the field. The data set must be in edit or insert state (the
    // caller posts the row and applies it).
    static bool SaveRichEditToBlob(ClientDataSet &dataSet, const QString &field, const QTextDocument *doc,
                                   QString *error = nullptr);
    // The field's RTF bytes; false for damaged content.
    static bool LoadBlobToStream(const ClientDataSet &dataSet, const QString &field, QByteArray *rtf,
                                 QString *error = nullptr);
    // Clears the document and loads the field's content into it; an empty field leaves it empty, and
    // so does damaged content.
    static bool LoadBlobToEdit(const ClientDataSet &dataSet, const QString &field, QTextDocument *doc,
                               QString *error = nullptr);
    // As LoadBlobToEdit, but content over 10 000 000 bytes is replaced by the "too large" line.
    static bool LoadBlobToRichEdit(const ClientDataSet &dataSet, const QString &field, QTextDocument *doc,
                                   QString *error = nullptr);
    // True when the field's decoded content is longer than n × 1 000 000 bytes (false when empty or
    // damaged; damage is reported only through error).
    static bool BlobLargerThan(const ClientDataSet &dataSet, const QString &field, int n,
                               QString *error = nullptr);
    // The condition on the audit state: "( stzt = '1' or stzt = '2')", "()" for no state.
    static QString QuesStateFilter(bool standard, bool pending, bool discarded);
};
