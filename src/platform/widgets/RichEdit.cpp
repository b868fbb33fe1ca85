#include "RichEdit.h"

#include "platform/richtext/RichTextDocument.h"
#include "platform/richtext/RtfReader.h"
#include "platform/richtext/RtfWriter.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {

const QString kRtfMime = QStringLiteral("text/rtf");
const QString kRtfMimeAlt = QStringLiteral("application/rtf");

} // namespace

RichEdit::RichEdit(QWidget *parent) : QTextEdit(parent)
{
    // 宋体 is kept as the name in documents; the font substitutions map it to an installed CJK font.
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(12);
    document()->setDefaultFont(font);
    setAcceptRichText(true);
}

void RichEdit::LoadRtf(const QByteArray &rtf)
{
    // Loading is not an edit the user could undo.
    const bool undo = document()->isUndoRedoEnabled();
    document()->setUndoRedoEnabled(false);
    RichText::ReadRtf(rtf, document());
    document()->setUndoRedoEnabled(undo);
    moveCursor(QTextCursor::Start);
}

QByteArray RichEdit::SaveRtf() const
{
    return RichText::WriteRtf(document());
}

bool RichEdit::LoadFromFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    LoadRtf(file.readAll());
    return true;
}

bool RichEdit::SaveToFile(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(SaveRtf()) < 0 || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString RichEdit::Text() const
{
    return document()->toPlainText();
}

void RichEdit::SetText(const QString &text)
{
    Clear();
    InsertText(text);
}

void RichEdit::Clear()
{
    const bool undo = document()->isUndoRedoEnabled();
    document()->setUndoRedoEnabled(false);
    document()->clear();
    document()->setUndoRedoEnabled(undo);
}

int RichEdit::TextLength() const
{
    return document()->characterCount() - 1;
}

int RichEdit::SelStart() const
{
    return textCursor().selectionStart();
}

int RichEdit::SelLength() const
{
    return textCursor().selectionEnd() - textCursor().selectionStart();
}

void RichEdit::SetSelection(int start, int length)
{
    setTextCursor(RangeCursor(start, length));
}

QString RichEdit::SelText() const
{
    return textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QTextCursor RichEdit::RangeCursor(int start, int length) const
{
    const int last = TextLength();
    const int from = std::clamp(start, 0, last);
    const int to = length < 0 ? last : std::clamp(from + length, from, last);
    QTextCursor c(document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    return c;
}

void RichEdit::SetBold(int start, int length, bool bold)
{
    QTextCharFormat f;
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    RangeCursor(start, length).mergeCharFormat(f);
}

void RichEdit::SetColor(int start, int length, const QColor &color)
{
    QTextCharFormat f;
    f.setForeground(color);
    RangeCursor(start, length).mergeCharFormat(f);
}

void RichEdit::SetFontSize(int start, int length, double points)
{
    QTextCharFormat f;
    f.setFontPointSize(points);
    RangeCursor(start, length).mergeCharFormat(f);
}

void RichEdit::SetFontName(int start, int length, const QString &family)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{family});
    RangeCursor(start, length).mergeCharFormat(f);
}

void RichEdit::SetAlignment(int start, int length, Qt::Alignment alignment)
{
    QTextBlockFormat f;
    f.setAlignment(alignment);
    RangeCursor(start, length).mergeBlockFormat(f);
}

void RichEdit::SetLineSpacing(int start, int length, double percent)
{
    QTextBlockFormat f;
    f.setLineHeight(percent, QTextBlockFormat::ProportionalHeight);
    RangeCursor(start, length).mergeBlockFormat(f);
}

int RichEdit::FindText(const QString &text, int from, bool caseSensitive) const
{
    if (text.isEmpty())
        return -1;
    const QTextCursor found =
        document()->find(text, std::max(0, from),
                         caseSensitive ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags());
    return found.isNull() ? -1 : found.selectionStart();
}

void RichEdit::InsertRtf(const QByteArray &rtf)
{
    QTextCursor c = textCursor();
    c.removeSelectedText();
    RichText::InsertRtf(rtf, c);
    setTextCursor(c);
}

void RichEdit::AppendRtf(const QByteArray &rtf)
{
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    RichText::InsertRtf(rtf, c);
    setTextCursor(c);
}

void RichEdit::InsertText(const QString &text, const QTextCharFormat &format)
{
    QTextCursor c = textCursor();
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (format.isEmpty())
        c.insertText(t);
    else
        c.insertText(t, format);
    setTextCursor(c);
}

void RichEdit::AppendText(const QString &text, const QTextCharFormat &format)
{
    moveCursor(QTextCursor::End);
    InsertText(text, format);
}

bool RichEdit::InsertPictureFromFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("无法打开图形文件：") + path;
        return false;
    }
    QTextCursor c = textCursor();
    if (!RichText::InsertPictureData(c, file.readAll(), error))
        return false;
    setTextCursor(c);
    return true;
}

bool RichEdit::InsertPictureFromClipboard(QString *error)
{
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("剪贴板中没有图形");
        return false;
    }
    QTextCursor c = textCursor();
    RichText::InsertPictureImage(c, image);
    setTextCursor(c);
    return true;
}

int RichEdit::LineCount() const
{
    return document()->blockCount();
}

QString RichEdit::Line(int index) const
{
    return document()->findBlockByNumber(index).text();
}

int RichEdit::LineFromChar(int position) const
{
    return document()->findBlock(std::clamp(position, 0, TextLength())).blockNumber();
}

int RichEdit::LineStart(int index) const
{
    const QTextBlock b = document()->findBlockByNumber(index);
    return b.isValid() ? b.position() : -1;
}

void RichEdit::SetUndoEnabled(bool enabled)
{
    setUndoRedoEnabled(enabled);
}

bool RichEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasImage() || source->hasFormat(kRtfMime) || source->hasFormat(kRtfMimeAlt) ||
           QTextEdit::canInsertFromMimeData(source);
}

void RichEdit::insertFromMimeData(const QMimeData *source)
{
    // Our own RTF first: it carries pictures and kept objects, which HTML from a QTextEdit does not.
    for (const QString &mime : {kRtfMime, kRtfMimeAlt}) {
        if (source->hasFormat(mime)) {
            InsertRtf(source->data(mime));
            return;
        }
    }
    if (source->hasImage()) {
        QTextCursor c = textCursor();
        RichText::InsertPictureImage(c, qvariant_cast<QImage>(source->imageData()));
        setTextCursor(c);
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

QMimeData *RichEdit::createMimeDataFromSelection() const
{
    // Qt's own mime data lists a fixed set of formats and would hide ours, so build a plain one.
    auto *data = new QMimeData;
    const QTextDocumentFragment fragment = textCursor().selection();
    data->setText(fragment.toPlainText());
    data->setHtml(fragment.toHtml());
    QTextDocument selection;
    selection.setDefaultFont(document()->defaultFont());
    QTextCursor(&selection).insertFragment(textCursor().selection());
    RichText::CopyPictureResources(document(), &selection);
    data->setData(kRtfMime, RichText::WriteRtf(&selection));
    return data;
}
