#pragma once

#include <QTextEdit>

class QMimeData;

// The rich-text editor of the forms: a QTextEdit that reads and writes RTF through our own reader and
// writer, so pictures, kept equation objects and page settings survive a load/save cycle. Character
// positions are document positions: one per character, paragraph break and picture, the same as
// the positions in Text().
class RichEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichEdit(QWidget *parent = nullptr);

    // Whole content.
    void LoadRtf(const QByteArray &rtf);
    QByteArray SaveRtf() const;
    bool LoadFromFile(const QString &path, QString *error = nullptr);
    bool SaveToFile(const QString &path, QString *error = nullptr) const;
    QString Text() const;
    void SetText(const QString &text);
    void Clear();
    int TextLength() const;

    // Selection by character position.
    int SelStart() const;
    int SelLength() const;
    void SetSelection(int start, int length);
    QString SelText() const;

    // Formatting of a range; length -1 means up to the end of the text.
    void SetBold(int start, int length, bool bold);
    void SetColor(int start, int length, const QColor &color);
    void SetFontSize(int start, int length, double points);
    void SetFontName(int start, int length, const QString &family);
    void SetAlignment(int start, int length, Qt::Alignment alignment);
    // Line spacing in percent of single spacing (150 = one and a half lines).
    void SetLineSpacing(int start, int length, double percent);

    // Position of the first occurrence of text at or after from, or -1.
    int FindText(const QString &text, int from = 0, bool caseSensitive = true) const;

    // Inserting content. Rich text is another document's RTF; "\r\n" or "\n" in text starts a new
    // paragraph. The caret ends after what was inserted.
    void InsertRtf(const QByteArray &rtf);
    void AppendRtf(const QByteArray &rtf);
    void InsertText(const QString &text, const QTextCharFormat &format = QTextCharFormat());
    void AppendText(const QString &text, const QTextCharFormat &format = QTextCharFormat());
    // BMP, JPEG, PNG or GIF at the caret. False with the reason when the file is missing or no picture.
    bool InsertPictureFromFile(const QString &path, QString *error = nullptr);
    bool InsertPictureFromClipboard(QString *error = nullptr);

    // Paragraphs ("lines" of the forms).
    int LineCount() const;
    QString Line(int index) const;
    int LineFromChar(int position) const;
    int LineStart(int index) const;

    void SetUndoEnabled(bool enabled);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    QTextCursor RangeCursor(int start, int length) const;
};
