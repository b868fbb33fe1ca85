#include "RtfWriter.h"

#include "RichTextDocument.h"
#include "RtfPictures.h"
#include "platform/Encoding.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cmath>
#include <map>
#include <vector>

namespace RichText {

namespace {

const QString kDefaultFont = QStringLiteral("宋体");

// Fallback bytes of single characters in one code page, remembered because a Chinese document
// repeats the same few thousand characters.
class Fallbacks
{
public:
    explicit Fallbacks(int codePage) : m_encoder(Encoding::CodePageEncoder(codePage)) {}

    const QByteArray &of(char16_t c)
    {
        auto it = m_cache.constFind(c);
        if (it != m_cache.constEnd())
            return *it;
        QByteArray bytes = m_encoder.encode(QStringView(&c, 1));
        if (m_encoder.hasError() || bytes.isEmpty() || bytes == "?" || bytes.contains('\x1a')) {
            m_encoder.resetState();
            bytes = "?";
        }
        return *m_cache.insert(c, bytes);
    }

private:
    QStringEncoder m_encoder;
    QHash<char16_t, QByteArray> m_cache;
};

const char kHex[] = "0123456789abcdef";

void AppendHexByte(QByteArray &out, uchar b)
{
    out += "\\'";
    out += kHex[b >> 4];
    out += kHex[b & 15];
}

void AppendUnicode(QByteArray &out, char16_t c, const QByteArray &fallback, int &uc)
{
    const int n = int(fallback.size());
    if (n != uc) {
        out += "\\uc" + QByteArray::number(n);
        uc = n;
    }
    out += "\\u";
    out += QByteArray::number(c > 32767 ? int(c) - 65536 : int(c));
    if (fallback == "?") {
        out += '?';
    } else {
        for (char b : fallback)
            AppendHexByte(out, uchar(b));
    }
}

void AppendText(QByteArray &out, QStringView text, Fallbacks &fallbacks, int &uc)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            if (c == '\\' || c == '{' || c == '}') {
                out += '\\';
                out += char(c);
            } else if (c == '\t') {
                out += "\\tab ";
            } else if (c >= 0x20) {
                out += char(c);
            }
            continue;
        }
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            out += "\\line ";
        } else if (c == 0x00A0) {
            out += "\\~";
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            // Old readers see one "?" per half; new ones join the two halves.
            static const QByteArray question("?");
            AppendUnicode(out, c, question, uc);
            AppendUnicode(out, text[++i].unicode(), question, uc);
        } else if (c != 0xFFFC) {
            AppendUnicode(out, c, fallbacks.of(c), uc);
        }
    }
}

bool IsCjkFontName(const QString &name)
{
    for (QChar c : name) {
        if (c.unicode() >= 0x80)
            return true;
    }
    static const QStringList known = {"SimSun",  "NSimSun",  "SimHei",   "KaiTi",           "FangSong",
                                      "MingLiU", "PMingLiU", "DengXian", "Microsoft YaHei", "STSong"};
    return known.contains(name, Qt::CaseInsensitive);
}

struct RunProps
{
    int font = 0;
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false, strike = false;
    int fg = 0, bg = 0, valign = 0;
    bool operator==(const RunProps &) const = default;
};

class Writer
{
public:
    explicit Writer(const QTextDocument *doc) : m_doc(doc), m_gbk(936), m_ansi(1252) {}
    QByteArray write();

private:
    QString familyOf(const QTextCharFormat &f) const;
    int fontIndex(const QString &family);
    int colorIndex(const QBrush &brush);
    RunProps propsOf(const QTextCharFormat &f);
    void collect();
    void writeFrame(const QTextFrame *frame);
    void writeTable(const QTextTable *table);
    void collectCellBlocks(QTextFrame::iterator it, std::vector<QTextBlock> &blocks);
    void writeBlock(const QTextBlock &block, bool inTable, const char *end);
    void writeParagraphFormat(const QTextBlockFormat &f);
    void writeRunProps(const RunProps &p);
    void writePicture(const QTextImageFormat &f);

    const QTextDocument *m_doc;
    QByteArray m_out;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colors;
    RunProps m_state;
    int m_uc = 1;
    Fallbacks m_gbk;
    Fallbacks m_ansi;
    QString m_defaultFamily;
    double m_defaultPoints = 12;
};

QString Writer::familyOf(const QTextCharFormat &f) const
{
    const QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString family = f.property(QTextFormat::FontFamily).toString();
    return family.isEmpty() ? m_defaultFamily : family;
}

int Writer::fontIndex(const QString &family)
{
    const auto it = m_fontIndex.constFind(family);
    if (it != m_fontIndex.constEnd())
        return *it;
    const int index = int(m_fonts.size());
    m_fonts.append(family);
    m_fontIndex.insert(family, index);
    return index;
}

int Writer::colorIndex(const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush)
        return 0;
    const QRgb rgb = brush.color().rgb() | 0xFF000000u;
    const qsizetype at = m_colors.indexOf(rgb);
    if (at >= 0)
        return int(at) + 1;
    m_colors.append(rgb);
    return int(m_colors.size());
}

RunProps Writer::propsOf(const QTextCharFormat &f)
{
    RunProps p;
    p.font = fontIndex(familyOf(f));
    const double points = f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0
                              ? f.fontPointSize()
                              : m_defaultPoints;
    p.halfPoints = std::max(2, int(std::lround(points * 2)));
    p.bold = f.fontWeight() >= QFont::DemiBold;
    p.italic = f.fontItalic();
    p.underline = f.fontUnderline();
    p.strike = f.fontStrikeOut();
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        p.fg = colorIndex(f.foreground());
    if (f.hasProperty(QTextFormat::BackgroundBrush))
        p.bg = colorIndex(f.background());
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        p.valign = 1;
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        p.valign = 2;
    return p;
}

void Writer::collect()
{
    fontIndex(kDefaultFont);
    for (QTextBlock b = m_doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                propsOf(f);
        }
    }
}

QByteArray Writer::write()
{
    // Text without a font of its own is content in the system's font: 宋体, 12 point (the editors'
    // default), whatever the display default of this document happens to be.
    m_defaultFamily = kDefaultFont;
    m_defaultPoints = 12;
    collect();

    m_out.reserve(m_doc->characterCount() * 4 + 1024);
    m_out += "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl";
    for (int i = 0; i < m_fonts.size(); ++i) {
        const bool cjk = IsCjkFontName(m_fonts[i]);
        m_out += "{\\f" + QByteArray::number(i) + (cjk ? "\\fnil\\fcharset134 " : "\\fnil\\fcharset0 ");
        // Font names go in the font's code page alone: old readers take them byte by byte.
        QStringEncoder encoder = Encoding::CodePageEncoder(cjk ? 936 : 1252);
        const QByteArray name = encoder.encode(m_fonts[i]);
        if (!encoder.hasError() && !name.contains('?') && !name.contains('\x1a')) {
            for (char b : name) {
                if (uchar(b) >= 0x80 || b == '\\' || b == '{' || b == '}' || b == ';')
                    AppendHexByte(m_out, uchar(b));
                else
                    m_out += b;
            }
        } else {
            int uc = 1;
            AppendText(m_out, m_fonts[i], cjk ? m_gbk : m_ansi, uc);
        }
        m_out += ";}";
    }
    m_out += "}\n";
    if (!m_colors.isEmpty()) {
        m_out += "{\\colortbl ;";
        for (QRgb c : m_colors)
            m_out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) +
                     "\\blue" + QByteArray::number(qBlue(c)) + ';';
        m_out += "}\n";
    }
    const PageSetup page = GetPageSetup(m_doc);
    if (!page.isEmpty()) {
        const auto num = [this](const char *word, int value) {
            if (value != 0)
                m_out += QByteArray("\\") + word + QByteArray::number(value);
        };
        num("paperw", page.paperWidth);
        num("paperh", page.paperHeight);
        num("margl", page.marginLeft);
        num("margr", page.marginRight);
        num("margt", page.marginTop);
        num("margb", page.marginBottom);
        if (page.landscape)
            m_out += "\\landscape";
        m_out += "\\sectd";
        if (page.landscape)
            m_out += "\\lndscpsxn";
        if (page.columns > 1) {
            num("cols", page.columns);
            num("colsx", page.columnSpacing);
        }
        m_out += '\n';
        m_out += page.headerFooter;
        m_out += '\n';
    }
    m_out += "\\viewkind4\\uc1";
    m_state = RunProps();
    writeFrame(m_doc->rootFrame());
    m_out += "}\n";
    return m_out;
}

void Writer::writeFrame(const QTextFrame *frame)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame *child = it.currentFrame()) {
            if (const auto *table = qobject_cast<const QTextTable *>(child))
                writeTable(table);
            else
                writeFrame(child);
        } else {
            writeBlock(it.currentBlock(), false, "\\par");
        }
    }
}

void Writer::collectCellBlocks(QTextFrame::iterator it, std::vector<QTextBlock> &blocks)
{
    // Tables inside cells are flattened into the cell's paragraphs.
    for (; !it.atEnd(); ++it) {
        if (const QTextFrame *child = it.currentFrame())
            collectCellBlocks(child->begin(), blocks);
        else
            blocks.push_back(it.currentBlock());
    }
}

void Writer::writeTable(const QTextTable *table)
{
    const int rows = table->rows();
    const int columns = table->columns();
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    const bool border = table->format().border() > 0;
    std::vector<int> cellx;
    int x = 0;
    for (int c = 0; c < columns; ++c) {
        int w = 8300 / columns;
        if (widths.size() == columns && widths[c].type() == QTextLength::FixedLength)
            w = std::max(1, int(std::lround(widths[c].rawValue() * kTwipsPerPixel)));
        x += w;
        cellx.push_back(x);
    }
    for (int r = 0; r < rows; ++r) {
        m_out += "\n\\trowd\\trgaph108";
        for (int c = 0; c < columns; ++c) {
            if (border)
                m_out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
                         "\\clbrdrr\\brdrs\\brdrw10";
            m_out += "\\cellx" + QByteArray::number(cellx[c]);
        }
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            std::vector<QTextBlock> blocks;
            if (cell.row() == r && cell.column() == c)
                collectCellBlocks(cell.begin(), blocks);
            if (blocks.empty()) {
                m_out += "\\pard\\intbl\\cell";
                continue;
            }
            for (size_t i = 0; i < blocks.size(); ++i)
                writeBlock(blocks[i], true, i + 1 == blocks.size() ? "\\cell" : "\\par");
        }
        m_out += "\\row";
    }
    m_out += '\n';
}

void Writer::writeParagraphFormat(const QTextBlockFormat &f)
{
    const Qt::Alignment a = f.alignment();
    if (a & Qt::AlignHCenter)
        m_out += "\\qc";
    else if ((a & Qt::AlignJustify) == Qt::AlignJustify)
        m_out += "\\qj";
    else if (a & Qt::AlignRight)
        m_out += "\\qr";
    const auto twips = [this](const char *word, double px) {
        const long v = std::lround(px * kTwipsPerPixel);
        if (v != 0)
            m_out += QByteArray("\\") + word + QByteArray::number(qlonglong(v));
    };
    twips("li", f.leftMargin());
    twips("ri", f.rightMargin());
    twips("fi", f.textIndent());
    twips("sb", f.topMargin());
    twips("sa", f.bottomMargin());
    if (f.hasProperty(QTextFormat::LineHeightType)) {
        const double h = f.lineHeight();
        switch (f.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            if (h > 0)
                m_out += "\\sl" + QByteArray::number(qlonglong(std::lround(h * 240.0 / 100.0))) + "\\slmult1";
            break;
        case QTextBlockFormat::MinimumHeight:
            if (h > 0)
                m_out +=
                    "\\sl" + QByteArray::number(qlonglong(std::lround(h * kTwipsPerPixel))) + "\\slmult0";
            break;
        case QTextBlockFormat::FixedHeight:
            if (h > 0)
                m_out +=
                    "\\sl-" + QByteArray::number(qlonglong(std::lround(h * kTwipsPerPixel))) + "\\slmult0";
            break;
        default:
            break;
        }
    }
}

void Writer::writeRunProps(const RunProps &p)
{
    if (p == m_state)
        return;
    const RunProps &o = m_state;
    const qsizetype before = m_out.size();
    if (p.font != o.font)
        m_out += "\\f" + QByteArray::number(p.font);
    if (p.halfPoints != o.halfPoints)
        m_out += "\\fs" + QByteArray::number(p.halfPoints);
    if (p.bold != o.bold)
        m_out += p.bold ? "\\b" : "\\b0";
    if (p.italic != o.italic)
        m_out += p.italic ? "\\i" : "\\i0";
    if (p.underline != o.underline)
        m_out += p.underline ? "\\ul" : "\\ulnone";
    if (p.strike != o.strike)
        m_out += p.strike ? "\\strike" : "\\strike0";
    if (p.fg != o.fg)
        m_out += "\\cf" + QByteArray::number(p.fg);
    if (p.bg != o.bg)
        m_out += "\\highlight" + QByteArray::number(p.bg);
    if (p.valign != o.valign)
        m_out += p.valign == 1 ? "\\super" : p.valign == 2 ? "\\sub" : "\\nosupersub";
    if (m_out.size() != before)
        m_out += ' ';
    m_state = p;
}

void Writer::writeBlock(const QTextBlock &block, bool inTable, const char *end)
{
    m_out += inTable ? "\\pard\\intbl" : "\n\\pard";
    writeParagraphFormat(block.blockFormat());
    m_out += ' ';
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat f = fragment.charFormat();
        if (f.isImageFormat()) {
            const QString text = fragment.text();
            for (QChar c : text) {
                if (c.unicode() == 0xFFFC)
                    writePicture(f.toImageFormat());
            }
            continue;
        }
        writeRunProps(propsOf(f));
        const RunProps &p = m_state;
        AppendText(m_out, fragment.text(), IsCjkFontName(m_fonts[p.font]) ? m_gbk : m_ansi, m_uc);
    }
    m_out += end;
}

void Writer::writePicture(const QTextImageFormat &f)
{
    const PictureKind kind = PictureKindOf(f);
    const QByteArray payload = PicturePayload(m_doc, f);
    if ((kind == PictureKind::Metafile || kind == PictureKind::Object) && !payload.isEmpty()) {
        m_out += payload;
        return;
    }
    QImage image = PictureImage(m_doc, f);
    if (image.isNull() && !f.name().isEmpty())
        image = QImage(f.name());
    QByteArray bytes;
    const char *blip = "pngblip";
    if (kind == PictureKind::Jpeg && !payload.isEmpty()) {
        bytes = payload;
        blip = "jpegblip";
    } else if (kind == PictureKind::Png && !payload.isEmpty()) {
        bytes = payload;
    } else if (!image.isNull()) {
        bytes = EncodePng(image);
    }
    if (bytes.isEmpty() || image.isNull())
        return;
    const double w = f.width() > 0 ? f.width() : image.width();
    const double h = f.height() > 0 ? f.height() : image.height();
    int goalw = int(std::lround(w * kTwipsPerPixel));
    int goalh = int(std::lround(h * kTwipsPerPixel));
    int sx = 100, sy = 100;
    if (f.hasProperty(GoalWidthProperty) && f.hasProperty(ScaleXProperty)) {
        const int gw = f.intProperty(GoalWidthProperty), gh = f.intProperty(GoalHeightProperty);
        const int kx = f.intProperty(ScaleXProperty), ky = f.intProperty(ScaleYProperty);
        // The size as read still holds unless the picture was resized since.
        if (std::abs(double(gw) * kx / 100.0 / kTwipsPerPixel - w) < 0.5 &&
            std::abs(double(gh) * ky / 100.0 / kTwipsPerPixel - h) < 0.5)
            goalw = gw, goalh = gh, sx = kx, sy = ky;
    }
    m_out += QByteArray("{\\pict\\") + blip + "\\picw" + QByteArray::number(image.width()) + "\\pich" +
             QByteArray::number(image.height()) + "\\picwgoal" + QByteArray::number(goalw) + "\\pichgoal" +
             QByteArray::number(goalh);
    if (sx != 100 || sy != 100)
        m_out += "\\picscalex" + QByteArray::number(sx) + "\\picscaley" + QByteArray::number(sy);
    m_out += '\n';
    const qsizetype start = m_out.size();
    m_out.resize(start + bytes.size() * 2 + bytes.size() / 64 + 1);
    char *o = m_out.data() + start;
    const auto *in = reinterpret_cast<const uchar *>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        *o++ = kHex[in[i] >> 4];
        *o++ = kHex[in[i] & 15];
        if ((i & 63) == 63)
            *o++ = '\n';
    }
    m_out.resize(o - m_out.constData());
    m_out += '}';
}

} // namespace

QByteArray WriteRtf(const QTextDocument *doc)
{
    return Writer(doc).write();
}

void AppendRtfText(QByteArray &out, QStringView text, int fallbackCodePage, int *uc)
{
    Fallbacks fallbacks(fallbackCodePage);
    int local = 1;
    AppendText(out, text, fallbacks, uc ? *uc : local);
}

} // namespace RichText
