#include "RichTextDocument.h"

#include "RtfPictures.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QUrl>
#include <cmath>

namespace RichText {

namespace {

enum PageProperty {
    PaperWidthProperty = QTextFormat::UserProperty + 0x4C20,
    PaperHeightProperty,
    MarginLeftProperty,
    MarginRightProperty,
    MarginTopProperty,
    MarginBottomProperty,
    LandscapeProperty,
    ColumnsProperty,
    ColumnSpacingProperty,
    HeaderFooterProperty,
};

// Resource names are unique within a document; the counter lives on the document so two documents
// never hand each other a name that is already taken.
QString NextResourceName(QTextDocument *doc, const char *scheme)
{
    const int seq = doc->property("lumoraPictureSeq").toInt() + 1;
    doc->setProperty("lumoraPictureSeq", seq);
    return QStringLiteral("%1:%2").arg(QLatin1String(scheme)).arg(seq);
}

} // namespace

bool PageSetup::isEmpty() const
{
    return *this == PageSetup();
}

PageSetup GetPageSetup(const QTextDocument *doc)
{
    PageSetup s;
    const QTextFrameFormat f = doc->rootFrame()->frameFormat();
    if (!f.hasProperty(PaperWidthProperty) && !f.hasProperty(HeaderFooterProperty) &&
        !f.hasProperty(ColumnsProperty))
        return s;
    s.paperWidth = f.intProperty(PaperWidthProperty);
    s.paperHeight = f.intProperty(PaperHeightProperty);
    s.marginLeft = f.intProperty(MarginLeftProperty);
    s.marginRight = f.intProperty(MarginRightProperty);
    s.marginTop = f.intProperty(MarginTopProperty);
    s.marginBottom = f.intProperty(MarginBottomProperty);
    s.landscape = f.boolProperty(LandscapeProperty);
    s.columns = f.hasProperty(ColumnsProperty) ? f.intProperty(ColumnsProperty) : 1;
    s.columnSpacing = f.intProperty(ColumnSpacingProperty);
    s.headerFooter = f.property(HeaderFooterProperty).toByteArray();
    return s;
}

void SetPageSetup(QTextDocument *doc, const PageSetup &s)
{
    QTextFrameFormat f = doc->rootFrame()->frameFormat();
    for (int p = PaperWidthProperty; p <= HeaderFooterProperty; ++p)
        f.clearProperty(p);
    if (!s.isEmpty()) {
        f.setProperty(PaperWidthProperty, s.paperWidth);
        f.setProperty(PaperHeightProperty, s.paperHeight);
        f.setProperty(MarginLeftProperty, s.marginLeft);
        f.setProperty(MarginRightProperty, s.marginRight);
        f.setProperty(MarginTopProperty, s.marginTop);
        f.setProperty(MarginBottomProperty, s.marginBottom);
        f.setProperty(LandscapeProperty, s.landscape);
        f.setProperty(ColumnsProperty, s.columns);
        f.setProperty(ColumnSpacingProperty, s.columnSpacing);
        f.setProperty(HeaderFooterProperty, s.headerFooter);
    }
    doc->rootFrame()->setFrameFormat(f);
}

int CmToTwips(double cm)
{
    return int(std::lround(cm * 1440.0 / 2.54));
}

QByteArray HeaderFooterGroup(const QString &kind, const QString &text, Qt::Alignment alignment,
                             int halfPoints)
{
    QByteArray out = "{\\" + kind.toLatin1() + "\\pard\\plain";
    if (alignment & Qt::AlignHCenter)
        out += "\\qc";
    else if (alignment & Qt::AlignRight)
        out += "\\qr";
    out += "\\f0\\fs" + QByteArray::number(halfPoints) + ' ';
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), i);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open);
        const QString field = close < 0 ? QString() : text.mid(open + 1, close - open - 1);
        if (field == QLatin1String("PAGE") || field == QLatin1String("NUMPAGES")) {
            AppendRtfText(out, QStringView(text).mid(i, open - i), 936);
            out += "{\\field{\\*\\fldinst { " + field.toLatin1() + " }}{\\fldrslt {1}}}";
            i = close + 1;
        } else {
            AppendRtfText(out, QStringView(text).mid(i), 936);
            break;
        }
    }
    out += "\\par}";
    return out;
}

QString HeaderFooterText(const PageSetup &setup, const QString &kind)
{
    // Each kept group is read on its own as the body of a small document.
    QString result;
    const QByteArray &hf = setup.headerFooter;
    qsizetype i = 0;
    while (i < hf.size()) {
        if (hf[i] != '{') {
            ++i;
            continue;
        }
        int depth = 0;
        qsizetype j = i;
        for (; j < hf.size(); ++j) {
            if (hf[j] == '\\') {
                ++j;
                continue;
            }
            if (hf[j] == '{')
                ++depth;
            else if (hf[j] == '}' && --depth == 0)
                break;
        }
        const QByteArray group = hf.mid(i, j - i + 1);
        const QByteArray word = group.mid(2).left(kind.size());
        if (word == kind.toLatin1()) {
            QTextDocument doc;
            // Drop the destination word so the body reads as ordinary text.
            QByteArray body = group.mid(2 + kind.size());
            if (body.startsWith(' '))
                body.remove(0, 1);
            ReadRtf("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}{" +
                        body + "}",
                    &doc);
            if (!result.isEmpty())
                result += QLatin1Char('\n');
            result += doc.toPlainText();
        }
        i = j + 1;
    }
    return result;
}

QTextImageFormat AddPicture(QTextDocument *doc, const QImage &image, PictureKind kind,
                            const QByteArray &payload, double width, double height)
{
    const QString name = NextResourceName(doc, "lumora-pic");
    doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(width > 0 ? width : image.width());
    f.setHeight(height > 0 ? height : image.height());
    f.setProperty(PictureKindProperty, int(kind));
    if (kind != PictureKind::Image && !payload.isEmpty()) {
        const QString raw = NextResourceName(doc, "lumora-raw");
        doc->addResource(QTextDocument::UserResource, QUrl(raw), payload);
        f.setProperty(PayloadProperty, raw);
    }
    return f;
}

PictureKind PictureKindOf(const QTextImageFormat &format)
{
    const int k = format.intProperty(PictureKindProperty);
    return k >= 0 && k <= int(PictureKind::Object) ? PictureKind(k) : PictureKind::Image;
}

QByteArray PicturePayload(const QTextDocument *doc, const QTextImageFormat &format)
{
    const QString raw = format.stringProperty(PayloadProperty);
    if (raw.isEmpty())
        return QByteArray();
    return doc->resource(QTextDocument::UserResource, QUrl(raw)).toByteArray();
}

QImage PictureImage(const QTextDocument *doc, const QTextImageFormat &format)
{
    const QVariant v = doc->resource(QTextDocument::ImageResource, QUrl(format.name()));
    if (v.canConvert<QImage>())
        return v.value<QImage>();
    return QImage();
}

void CopyPictureResources(const QTextDocument *from, QTextDocument *to)
{
    for (QTextBlock b = to->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            const QUrl name(f.toImageFormat().name());
            if (!to->resource(QTextDocument::ImageResource, name).isValid())
                to->addResource(QTextDocument::ImageResource, name,
                                from->resource(QTextDocument::ImageResource, name));
            const QString raw = f.stringProperty(PayloadProperty);
            if (!raw.isEmpty() && !to->resource(QTextDocument::UserResource, QUrl(raw)).isValid())
                to->addResource(QTextDocument::UserResource, QUrl(raw),
                                from->resource(QTextDocument::UserResource, QUrl(raw)));
        }
    }
    // Names handed out later in `to` must not collide with the copied ones.
    const int seq =
        std::max(from->property("lumoraPictureSeq").toInt(), to->property("lumoraPictureSeq").toInt());
    to->setProperty("lumoraPictureSeq", seq);
}

bool InsertPictureData(QTextCursor &cursor, const QByteArray &data, QString *error)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format().toLower();
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        if (error)
            *error = QStringLiteral("不是可以识别的图形文件");
        return false;
    }
    PictureKind kind = PictureKind::Image;
    QByteArray payload;
    if (format == "jpeg" || format == "jpg") {
        kind = PictureKind::Jpeg;
        payload = data;
    } else if (format == "png") {
        kind = PictureKind::Png;
        payload = data;
    } else {
        // BMP, GIF and the rest are kept as PNG: smaller than BMP, and every RTF reader knows it.
        kind = PictureKind::Png;
        payload = EncodePng(image);
    }
    cursor.insertImage(AddPicture(cursor.document(), image, kind, payload));
    return true;
}

bool InsertPictureImage(QTextCursor &cursor, const QImage &image)
{
    if (image.isNull())
        return false;
    cursor.insertImage(AddPicture(cursor.document(), image, PictureKind::Png, EncodePng(image)));
    return true;
}

} // namespace RichText
