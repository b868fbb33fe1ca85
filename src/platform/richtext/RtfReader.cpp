#include "RtfReader.h"

#include "RichTextDocument.h"
#include "RtfPictures.h"
#include "platform/Encoding.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace RichText {

namespace {

// Deeper nesting than this is damage, not a document; it is skipped rather than followed.
constexpr int kMaxDepth = 512;
constexpr int kMaxColumns = 63;
constexpr int kMaxTwips = 31680; // 22 inches, the largest page Word allows

enum class Dest : quint8 { Text, Skip, FontTable, ColorTable, Pict, Object };

struct CharProps
{
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int fg = 0;
    int bg = 0;
    int valign = 0; // 1 superscript, 2 subscript
    bool operator==(const CharProps &) const = default;
};

struct ParProps
{
    int align = 0; // 0 left, 1 centre, 2 right, 3 justify
    int li = 0, ri = 0, fi = 0, sb = 0, sa = 0, sl = 0;
    bool slmult = false;
    bool intbl = false;
};

struct State
{
    Dest dest = Dest::Text;
    CharProps ch;
    ParProps par;
    int uc = 1;
    qsizetype groupStart = 0;
};

struct Font
{
    QString name;
    int charset = 1;
    int codePage = 0;
};

enum class PictType { Unknown, Png, Jpeg, Metafile, Dib, Wbitmap };

struct Pict
{
    PictType type = PictType::Unknown;
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
    int wbmBits = 1, wbmWidthBytes = 0;
    QByteArray data;
    int nibble = -1;
    qsizetype start = 0;
    size_t depth = 0;
};

struct ObjectCapture
{
    qsizetype start = 0;
    size_t depth = 0;
    int objw = 0, objh = 0, scalex = 100, scaley = 100;
    bool haveImage = false;
    QImage image;
    double w = 0, h = 0;
};

enum class Kw {
    None,
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    Ansicpg,
    Deff,
    Fonttbl,
    F,
    Fcharset,
    Cpg,
    Colortbl,
    Red,
    Green,
    Blue,
    Plain,
    B,
    I,
    Ul,
    Ulnone,
    UlStyle,
    Strike,
    Fs,
    Cf,
    Cb,
    Highlight,
    Super,
    Sub,
    Nosupersub,
    Pard,
    Par,
    Ql,
    Qc,
    Qr,
    Qj,
    Li,
    Ri,
    Fi,
    Sb,
    Sa,
    Sl,
    Slmult,
    Tab,
    Line,
    Page,
    Trowd,
    Cellx,
    Intbl,
    Cell,
    Row,
    Nestcell,
    Nestrow,
    Pict,
    Pngblip,
    Jpegblip,
    Wmetafile,
    Emfblip,
    Dibitmap,
    Wbitmap,
    Pmmetafile,
    Macpict,
    Picw,
    Pich,
    Picwgoal,
    Pichgoal,
    Picscalex,
    Picscaley,
    Wbmbitspixel,
    Wbmwidthbytes,
    Bin,
    Object,
    Objdata,
    Result,
    Objw,
    Objh,
    Objscalex,
    Objscaley,
    Fldinst,
    HeaderFooter,
    Paperw,
    Paperh,
    Margl,
    Margr,
    Margt,
    Margb,
    Landscape,
    Cols,
    Colsx,
    U,
    Uc,
    Shppict,
    SkipDest,
    Char,
};

struct KwInfo
{
    Kw kw;
    char16_t ch = 0;
};

const std::unordered_map<std::string_view, KwInfo> &Keywords()
{
    static const std::unordered_map<std::string_view, KwInfo> table = {
        {"rtf", {Kw::Rtf}},
        {"ansi", {Kw::Ansi}},
        {"mac", {Kw::Mac}},
        {"pc", {Kw::Pc}},
        {"pca", {Kw::Pca}},
        {"ansicpg", {Kw::Ansicpg}},
        {"deff", {Kw::Deff}},
        {"fonttbl", {Kw::Fonttbl}},
        {"f", {Kw::F}},
        {"fcharset", {Kw::Fcharset}},
        {"cpg", {Kw::Cpg}},
        {"colortbl", {Kw::Colortbl}},
        {"red", {Kw::Red}},
        {"green", {Kw::Green}},
        {"blue", {Kw::Blue}},
        {"plain", {Kw::Plain}},
        {"b", {Kw::B}},
        {"i", {Kw::I}},
        {"ul", {Kw::Ul}},
        {"ulnone", {Kw::Ulnone}},
        {"uld", {Kw::UlStyle}},
        {"uldb", {Kw::UlStyle}},
        {"ulw", {Kw::UlStyle}},
        {"ulth", {Kw::UlStyle}},
        {"uldash", {Kw::UlStyle}},
        {"ulwave", {Kw::UlStyle}},
        {"strike", {Kw::Strike}},
        {"striked", {Kw::Strike}},
        {"fs", {Kw::Fs}},
        {"cf", {Kw::Cf}},
        {"cb", {Kw::Cb}},
        {"highlight", {Kw::Highlight}},
        {"super", {Kw::Super}},
        {"sub", {Kw::Sub}},
        {"nosupersub", {Kw::Nosupersub}},
        {"pard", {Kw::Pard}},
        {"par", {Kw::Par}},
        {"ql", {Kw::Ql}},
        {"qc", {Kw::Qc}},
        {"qr", {Kw::Qr}},
        {"qj", {Kw::Qj}},
        {"qd", {Kw::Qj}},
        {"li", {Kw::Li}},
        {"ri", {Kw::Ri}},
        {"fi", {Kw::Fi}},
        {"sb", {Kw::Sb}},
        {"sa", {Kw::Sa}},
        {"sl", {Kw::Sl}},
        {"slmult", {Kw::Slmult}},
        {"tab", {Kw::Tab}},
        {"line", {Kw::Line}},
        {"page", {Kw::Page}},
        {"sect", {Kw::Page}},
        {"trowd", {Kw::Trowd}},
        {"cellx", {Kw::Cellx}},
        {"intbl", {Kw::Intbl}},
        {"cell", {Kw::Cell}},
        {"row", {Kw::Row}},
        {"nestcell", {Kw::Nestcell}},
        {"nestrow", {Kw::Nestrow}},
        {"pict", {Kw::Pict}},
        {"pngblip", {Kw::Pngblip}},
        {"jpegblip", {Kw::Jpegblip}},
        {"wmetafile", {Kw::Wmetafile}},
        {"emfblip", {Kw::Emfblip}},
        {"dibitmap", {Kw::Dibitmap}},
        {"wbitmap", {Kw::Wbitmap}},
        {"pmmetafile", {Kw::Pmmetafile}},
        {"macpict", {Kw::Macpict}},
        {"picw", {Kw::Picw}},
        {"pich", {Kw::Pich}},
        {"picwgoal", {Kw::Picwgoal}},
        {"pichgoal", {Kw::Pichgoal}},
        {"picscalex", {Kw::Picscalex}},
        {"picscaley", {Kw::Picscaley}},
        {"wbmbitspixel", {Kw::Wbmbitspixel}},
        {"wbmwidthbytes", {Kw::Wbmwidthbytes}},
        {"bin", {Kw::Bin}},
        {"object", {Kw::Object}},
        {"objdata", {Kw::Objdata}},
        {"result", {Kw::Result}},
        {"objw", {Kw::Objw}},
        {"objh", {Kw::Objh}},
        {"objscalex", {Kw::Objscalex}},
        {"objscaley", {Kw::Objscaley}},
        {"fldinst", {Kw::Fldinst}},
        {"header", {Kw::HeaderFooter}},
        {"headerl", {Kw::HeaderFooter}},
        {"headerr", {Kw::HeaderFooter}},
        {"headerf", {Kw::HeaderFooter}},
        {"footer", {Kw::HeaderFooter}},
        {"footerl", {Kw::HeaderFooter}},
        {"footerr", {Kw::HeaderFooter}},
        {"footerf", {Kw::HeaderFooter}},
        {"paperw", {Kw::Paperw}},
        {"paperh", {Kw::Paperh}},
        {"margl", {Kw::Margl}},
        {"margr", {Kw::Margr}},
        {"margt", {Kw::Margt}},
        {"margb", {Kw::Margb}},
        {"landscape", {Kw::Landscape}},
        {"cols", {Kw::Cols}},
        {"colsx", {Kw::Colsx}},
        {"u", {Kw::U}},
        {"uc", {Kw::Uc}},
        {"shppict", {Kw::Shppict}},
        // Destinations whose content is not document text.
        {"stylesheet", {Kw::SkipDest}},
        {"info", {Kw::SkipDest}},
        {"listtable", {Kw::SkipDest}},
        {"listoverridetable", {Kw::SkipDest}},
        {"revtbl", {Kw::SkipDest}},
        {"rsidtbl", {Kw::SkipDest}},
        {"nonshppict", {Kw::SkipDest}},
        {"footnote", {Kw::SkipDest}},
        {"annotation", {Kw::SkipDest}},
        {"xe", {Kw::SkipDest}},
        {"tc", {Kw::SkipDest}},
        {"themedata", {Kw::SkipDest}},
        {"colorschememapping", {Kw::SkipDest}},
        {"latentstyles", {Kw::SkipDest}},
        {"datastore", {Kw::SkipDest}},
        {"xmlnstbl", {Kw::SkipDest}},
        {"pntxta", {Kw::SkipDest}},
        {"pntxtb", {Kw::SkipDest}},
        {"nonesttables", {Kw::SkipDest}},
        {"pgdsctbl", {Kw::SkipDest}},
        {"filetbl", {Kw::SkipDest}},
        {"private", {Kw::SkipDest}},
        {"txe", {Kw::SkipDest}},
        {"atnid", {Kw::SkipDest}},
        {"atnauthor", {Kw::SkipDest}},
        {"bkmkstart", {Kw::SkipDest}},
        {"bkmkend", {Kw::SkipDest}},
        // Characters.
        {"emdash", {Kw::Char, 0x2014}},
        {"endash", {Kw::Char, 0x2013}},
        {"lquote", {Kw::Char, 0x2018}},
        {"rquote", {Kw::Char, 0x2019}},
        {"ldblquote", {Kw::Char, 0x201C}},
        {"rdblquote", {Kw::Char, 0x201D}},
        {"bullet", {Kw::Char, 0x2022}},
        {"emspace", {Kw::Char, 0x2003}},
        {"enspace", {Kw::Char, 0x2002}},
        {"qmspace", {Kw::Char, 0x2005}},
    };
    return table;
}

int CodePageOfCharset(int charset, int ansiCodePage)
{
    switch (charset) {
    case 0:
    case 2:
        return 1252;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 204:
        return 1251;
    case 238:
        return 1250;
    default:
        return ansiCodePage;
    }
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class Parser
{
public:
    Parser(const QByteArray &in, QTextCursor &cursor, bool wholeDocument)
        : m_in(in), m_begin(in.constData()), m_p(in.constData()), m_end(in.constData() + in.size()),
          m_cur(cursor), m_doc(cursor.document()), m_whole(wholeDocument)
    {}

    void run();
    RtfReadInfo info;
    PageSetup page;
    bool pageSeen = false;

private:
    State &top() { return m_stack.back(); }
    qsizetype offset() const { return m_p - m_begin; }

    void openGroup();
    void closeGroup();
    void skipRun();
    void textRun();
    void controlWord();
    void controlSymbol(char c);
    void handleWord(std::string_view name, bool hasParam, int param);
    void hexByte(unsigned char b);
    void binData(int n);

    int currentCodePage();
    QString decode(const QByteArray &bytes, int codePage);
    void flushBytes();
    void appendText(QString text);
    void appendChar(char16_t c) { appendText(QString(QChar(c))); }
    void flushText();
    void ensureTarget(bool forceCell = false);
    void leaveTable();
    void applyBlockFormat();
    void paragraph();
    void cell();
    void insertImage(const QTextImageFormat &format);
    void commitFont();
    void commitColor();
    void finishPict(qsizetype end);
    void finishObject(qsizetype end);
    void finish();
    QTextCharFormat charFormat(const CharProps &p);
    QColor color(int index) const;
    QString fontName(int index) const;

    const QByteArray &m_in;
    const char *m_begin;
    const char *m_p;
    const char *m_end;
    QTextCursor &m_cur;
    QTextDocument *m_doc;
    bool m_whole;

    std::vector<State> m_stack;
    int m_overflow = 0;
    bool m_rootClosed = false;
    bool m_ignorableNext = false;
    int m_skip = 0;

    QHash<int, Font> m_fonts;
    int m_deff = 0;
    int m_ansiCp = 1252;
    int m_fontNum = -1;
    Font m_fontEntry;
    QByteArray m_fontNameBytes;
    QString m_fontNameText;
    QList<QColor> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;

    QByteArray m_bytes;
    int m_bytesCp = 0;
    QString m_text;
    CharProps m_textProps;
    std::map<int, QStringDecoder> m_decoders;
    std::optional<CharProps> m_lastFormatProps;
    QTextCharFormat m_lastFormat;

    std::optional<Pict> m_pict;
    std::optional<ObjectCapture> m_object;
    size_t m_hfDepth = 0;
    qsizetype m_hfStart = 0;

    QTextTable *m_table = nullptr;
    int m_row = 0, m_col = 0;
    bool m_rowEnded = false;
    int m_cellRow = -1, m_cellCol = -1;
    std::vector<int> m_cellx;

    bool m_blockFromPar = false;
    bool m_blockTouched = false;
};

void Parser::run()
{
    m_stack.reserve(64);
    m_stack.push_back(State());
    while (m_p < m_end && !m_rootClosed) {
        const char c = *m_p;
        if (c == '{') {
            openGroup();
        } else if (c == '}') {
            closeGroup();
        } else if (m_overflow > 0 || top().dest == Dest::Skip) {
            skipRun();
        } else if (c == '\\') {
            ++m_p;
            controlWord();
        } else {
            textRun();
        }
    }
    finish();
}

void Parser::openGroup()
{
    const qsizetype start = offset();
    ++m_p;
    m_ignorableNext = false;
    m_skip = 0;
    if (m_overflow > 0 || m_stack.size() >= size_t(kMaxDepth)) {
        ++m_overflow;
        return;
    }
    flushBytes();
    m_stack.push_back(m_stack.back());
    top().groupStart = start;
}

void Parser::closeGroup()
{
    ++m_p;
    m_ignorableNext = false;
    m_skip = 0;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_stack.size() <= 1) {
        info.unbalanced = true;
        return;
    }
    flushBytes();
    const size_t depth = m_stack.size();
    if (top().dest == Dest::FontTable && m_fontNum >= 0)
        commitFont();
    if (m_pict && m_pict->depth == depth)
        finishPict(offset());
    if (m_object && m_object->depth == depth)
        finishObject(offset());
    if (m_hfDepth == depth) {
        page.headerFooter += m_in.mid(m_hfStart, offset() - m_hfStart);
        pageSeen = true;
        m_hfDepth = 0;
    }
    m_stack.pop_back();
    if (m_stack.size() == 1)
        m_rootClosed = true;
}

// Inside a skipped destination only the group structure and \bin data matter.
void Parser::skipRun()
{
    while (m_p < m_end) {
        const char c = *m_p;
        if (c == '{' || c == '}')
            return;
        ++m_p;
        if (c != '\\' || m_p >= m_end)
            continue;
        if (IsLetter(*m_p)) {
            const char *name = m_p;
            while (m_p < m_end && IsLetter(*m_p))
                ++m_p;
            const bool isBin = m_p - name == 3 && std::string_view(name, 3) == "bin";
            bool neg = false;
            if (m_p < m_end && *m_p == '-')
                neg = true, ++m_p;
            qint64 n = 0;
            while (m_p < m_end && *m_p >= '0' && *m_p <= '9') {
                n = std::min<qint64>(n * 10 + (*m_p - '0'), INT_MAX);
                ++m_p;
            }
            if (m_p < m_end && *m_p == ' ')
                ++m_p;
            if (isBin && !neg)
                m_p += std::min<qint64>(n, m_end - m_p);
        } else {
            ++m_p; // control symbol; \'xx digits are plain bytes here
        }
    }
}

void Parser::textRun()
{
    const Dest dest = top().dest;
    while (m_p < m_end) {
        const char c = *m_p;
        if (c == '\\' || c == '{' || c == '}')
            return;
        ++m_p;
        if (c == '\r' || c == '\n')
            continue;
        if (m_skip > 0) {
            --m_skip;
            continue;
        }
        switch (dest) {
        case Dest::Text:
            hexByte(uchar(c));
            break;
        case Dest::FontTable:
            if (c == ';')
                commitFont();
            else
                m_fontNameBytes += c;
            break;
        case Dest::ColorTable:
            if (c == ';')
                commitColor();
            break;
        case Dest::Pict: {
            const int v = HexValue(c);
            if (v < 0)
                break;
            if (m_pict->nibble < 0) {
                m_pict->nibble = v;
            } else {
                m_pict->data += char((m_pict->nibble << 4) | v);
                m_pict->nibble = -1;
            }
            break;
        }
        default:
            break;
        }
    }
}

void Parser::controlWord()
{
    if (m_p >= m_end)
        return;
    if (!IsLetter(*m_p)) {
        controlSymbol(*m_p++);
        return;
    }
    const char *name = m_p;
    while (m_p < m_end && IsLetter(*m_p))
        ++m_p;
    const std::string_view word(name, std::min<size_t>(m_p - name, 32));
    bool hasParam = false;
    bool neg = false;
    qint64 value = 0;
    if (m_p + 1 < m_end && *m_p == '-' && m_p[1] >= '0' && m_p[1] <= '9')
        neg = true, ++m_p;
    while (m_p < m_end && *m_p >= '0' && *m_p <= '9') {
        hasParam = true;
        value = std::min<qint64>(value * 10 + (*m_p - '0'), qint64(INT_MAX));
        ++m_p;
    }
    if (m_p < m_end && *m_p == ' ')
        ++m_p;
    handleWord(word, hasParam, int(neg ? -value : value));
}

void Parser::controlSymbol(char c)
{
    if (c == '\'') {
        int v = -1;
        // A damaged escape with one hex digit takes that digit and yields nothing.
        const int hi = m_p < m_end ? HexValue(m_p[0]) : -1;
        if (hi >= 0) {
            ++m_p;
            const int lo = m_p < m_end ? HexValue(m_p[0]) : -1;
            if (lo >= 0) {
                v = (hi << 4) | lo;
                ++m_p;
            }
        }
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        if (v < 0)
            return;
        if (top().dest == Dest::Text)
            hexByte(uchar(v));
        else if (top().dest == Dest::FontTable)
            m_fontNameBytes += char(v);
        return;
    }
    if (c == '\r' || c == '\n') {
        handleWord("par", false, 0);
        return;
    }
    if (m_skip > 0) {
        --m_skip;
        return;
    }
    if (c == '*') {
        m_ignorableNext = true;
        return;
    }
    const Dest dest = top().dest;
    if (c == '\\' || c == '{' || c == '}') {
        if (dest == Dest::Text)
            hexByte(uchar(c));
        else if (dest == Dest::FontTable)
            m_fontNameBytes += c;
        return;
    }
    if (dest != Dest::Text)
        return;
    flushBytes();
    if (c == '~')
        appendChar(0x00A0);
    else if (c == '_')
        appendChar(0x2011);
    // \- (optional hyphen), \| and \: carry nothing we show.
}

void Parser::hexByte(unsigned char b)
{
    const int cp = currentCodePage();
    if (!m_bytes.isEmpty() && cp != m_bytesCp)
        flushBytes();
    m_bytesCp = cp;
    m_bytes += char(b);
}

void Parser::binData(int n)
{
    const qint64 count = std::clamp<qint64>(n, 0, m_end - m_p);
    if (top().dest == Dest::Pict && m_pict)
        m_pict->data.append(m_p, count);
    m_p += count;
}

void Parser::handleWord(std::string_view name, bool hasParam, int param)
{
    flushBytes();
    const auto &table = Keywords();
    const auto found = table.find(name);
    const Kw kw = found == table.end() ? Kw::None : found->second.kw;

    if (m_skip > 0) {
        --m_skip;
        if (kw == Kw::Bin)
            binData(param);
        return;
    }
    State &st = top();
    if (m_ignorableNext) {
        m_ignorableNext = false;
        // \*\shppict holds the picture proper (with \nonshppict as the fallback); every other
        // ignorable destination is one we do not need.
        if (kw != Kw::Shppict) {
            st.dest = Dest::Skip;
            return;
        }
    }
    const bool on = !hasParam || param != 0;
    const auto twips = [&] { return std::clamp(param, -kMaxTwips, kMaxTwips); };

    // Words that mean the same in every destination.
    switch (kw) {
    case Kw::Bin:
        binData(param);
        return;
    case Kw::SkipDest:
    case Kw::Fldinst:
    case Kw::Objdata:
        st.dest = Dest::Skip;
        return;
    case Kw::Uc:
        st.uc = std::clamp(param, 0, 10);
        return;
    default:
        break;
    }

    switch (st.dest) {
    case Dest::FontTable:
        if (kw == Kw::F) {
            if (m_fontNum >= 0)
                commitFont();
            m_fontNum = param;
            m_fontEntry = Font();
        } else if (kw == Kw::Fcharset) {
            m_fontEntry.charset = param;
        } else if (kw == Kw::Cpg) {
            m_fontEntry.codePage = param;
        } else if (kw == Kw::U) {
            m_fontNameText += decode(m_fontNameBytes, CodePageOfCharset(m_fontEntry.charset, m_ansiCp));
            m_fontNameBytes.clear();
            if (param >= -32768 && param <= 65535)
                m_fontNameText += QChar(char16_t(param < 0 ? param + 65536 : param));
            m_skip = st.uc;
        }
        return;
    case Dest::ColorTable:
        if (kw == Kw::Red)
            m_red = std::clamp(param, 0, 255);
        else if (kw == Kw::Green)
            m_green = std::clamp(param, 0, 255);
        else if (kw == Kw::Blue)
            m_blue = std::clamp(param, 0, 255);
        return;
    case Dest::Pict:
        switch (kw) {
        case Kw::Pngblip:
            m_pict->type = PictType::Png;
            break;
        case Kw::Jpegblip:
            m_pict->type = PictType::Jpeg;
            break;
        case Kw::Wmetafile:
        case Kw::Emfblip:
        case Kw::Pmmetafile:
        case Kw::Macpict:
            m_pict->type = PictType::Metafile;
            break;
        case Kw::Dibitmap:
            m_pict->type = PictType::Dib;
            break;
        case Kw::Wbitmap:
            m_pict->type = PictType::Wbitmap;
            break;
        case Kw::Picw:
            m_pict->picw = param;
            break;
        case Kw::Pich:
            m_pict->pich = param;
            break;
        case Kw::Picwgoal:
            m_pict->goalw = param;
            break;
        case Kw::Pichgoal:
            m_pict->goalh = param;
            break;
        case Kw::Picscalex:
            m_pict->scalex = param;
            break;
        case Kw::Picscaley:
            m_pict->scaley = param;
            break;
        case Kw::Wbmbitspixel:
            m_pict->wbmBits = param;
            break;
        case Kw::Wbmwidthbytes:
            m_pict->wbmWidthBytes = param;
            break;
        default:
            break;
        }
        return;
    case Dest::Object:
        switch (kw) {
        case Kw::Objw:
            m_object->objw = param;
            break;
        case Kw::Objh:
            m_object->objh = param;
            break;
        case Kw::Objscalex:
            m_object->scalex = param;
            break;
        case Kw::Objscaley:
            m_object->scaley = param;
            break;
        case Kw::Pict:
            if (!m_pict) {
                m_pict = Pict();
                m_pict->start = st.groupStart;
                m_pict->depth = m_stack.size();
                st.dest = Dest::Pict;
            }
            break;
        default:
            break;
        }
        return;
    case Dest::Skip:
        return;
    case Dest::Text:
        break;
    }

    CharProps &ch = st.ch;
    ParProps &par = st.par;
    switch (kw) {
    case Kw::Ansi:
        m_ansiCp = 1252;
        break;
    case Kw::Mac:
    case Kw::Pc:
    case Kw::Pca:
        m_ansiCp = 1252;
        break;
    case Kw::Ansicpg:
        m_ansiCp = param;
        break;
    case Kw::Deff:
        m_deff = param;
        break;
    case Kw::Fonttbl:
        st.dest = Dest::FontTable;
        m_fontNum = -1;
        break;
    case Kw::Colortbl:
        st.dest = Dest::ColorTable;
        m_colors.clear();
        m_red = m_green = m_blue = -1;
        break;
    case Kw::F:
        ch.font = param;
        break;
    case Kw::Plain:
        ch = CharProps();
        break;
    case Kw::B:
        ch.bold = on;
        break;
    case Kw::I:
        ch.italic = on;
        break;
    case Kw::Ul:
    case Kw::UlStyle:
        ch.underline = on;
        break;
    case Kw::Ulnone:
        ch.underline = false;
        break;
    case Kw::Strike:
        ch.strike = on;
        break;
    case Kw::Fs:
        if (hasParam && param > 0)
            ch.halfPoints = std::clamp(param, 2, 3276);
        break;
    case Kw::Cf:
        ch.fg = param;
        break;
    case Kw::Cb:
    case Kw::Highlight:
        ch.bg = param;
        break;
    case Kw::Super:
        ch.valign = 1;
        break;
    case Kw::Sub:
        ch.valign = 2;
        break;
    case Kw::Nosupersub:
        ch.valign = 0;
        break;
    case Kw::Pard:
        flushText();
        par = ParProps();
        break;
    case Kw::Par:
    case Kw::Page:
        paragraph();
        break;
    case Kw::Ql:
        par.align = 0;
        break;
    case Kw::Qc:
        par.align = 1;
        break;
    case Kw::Qr:
        par.align = 2;
        break;
    case Kw::Qj:
        par.align = 3;
        break;
    case Kw::Li:
        par.li = twips();
        break;
    case Kw::Ri:
        par.ri = twips();
        break;
    case Kw::Fi:
        par.fi = twips();
        break;
    case Kw::Sb:
        par.sb = twips();
        break;
    case Kw::Sa:
        par.sa = twips();
        break;
    case Kw::Sl:
        par.sl = twips();
        break;
    case Kw::Slmult:
        par.slmult = on;
        break;
    case Kw::Tab:
        appendChar(u'\t');
        break;
    case Kw::Line:
    case Kw::Nestrow:
        appendChar(QChar::LineSeparator);
        break;
    case Kw::Nestcell:
        appendChar(u'\t');
        break;
    case Kw::Char:
        appendChar(found->second.ch);
        break;
    case Kw::U:
        if (param >= -32768 && param <= 65535)
            appendChar(char16_t(param < 0 ? param + 65536 : param));
        m_skip = st.uc;
        break;
    case Kw::Trowd:
        m_cellx.clear();
        break;
    case Kw::Cellx:
        if (m_cellx.size() < size_t(kMaxColumns))
            m_cellx.push_back(std::clamp(param, 0, kMaxTwips));
        break;
    case Kw::Intbl:
        flushText();
        par.intbl = true;
        break;
    case Kw::Cell:
        cell();
        break;
    case Kw::Row:
        flushText();
        if (m_table) {
            m_rowEnded = true;
            m_col = 0;
        }
        break;
    case Kw::Pict:
        if (!m_pict) {
            m_pict = Pict();
            m_pict->start = st.groupStart;
            m_pict->depth = m_stack.size();
            st.dest = Dest::Pict;
        } else {
            st.dest = Dest::Skip;
        }
        break;
    case Kw::Object:
        if (!m_object && !m_pict) {
            m_object = ObjectCapture();
            m_object->start = st.groupStart;
            m_object->depth = m_stack.size();
            st.dest = Dest::Object;
        } else {
            st.dest = Dest::Skip;
        }
        break;
    case Kw::HeaderFooter:
        st.dest = Dest::Skip;
        if (m_whole && m_hfDepth == 0) {
            m_hfDepth = m_stack.size();
            m_hfStart = st.groupStart;
        }
        break;
    case Kw::Paperw:
        page.paperWidth = twips(), pageSeen = true;
        break;
    case Kw::Paperh:
        page.paperHeight = twips(), pageSeen = true;
        break;
    case Kw::Margl:
        page.marginLeft = twips(), pageSeen = true;
        break;
    case Kw::Margr:
        page.marginRight = twips(), pageSeen = true;
        break;
    case Kw::Margt:
        page.marginTop = twips(), pageSeen = true;
        break;
    case Kw::Margb:
        page.marginBottom = twips(), pageSeen = true;
        break;
    case Kw::Landscape:
        page.landscape = true, pageSeen = true;
        break;
    case Kw::Cols:
        page.columns = std::clamp(param, 1, 20), pageSeen = true;
        break;
    case Kw::Colsx:
        page.columnSpacing = twips(), pageSeen = true;
        break;
    default:
        break;
    }
}

int Parser::currentCodePage()
{
    const CharProps &ch = top().ch;
    const auto it = m_fonts.constFind(ch.font >= 0 ? ch.font : m_deff);
    if (it == m_fonts.constEnd())
        return m_ansiCp;
    if (it->codePage > 0)
        return it->codePage;
    return CodePageOfCharset(it->charset, m_ansiCp);
}

QString Parser::decode(const QByteArray &bytes, int codePage)
{
    if (bytes.isEmpty())
        return QString();
    bool ascii = true;
    for (char c : bytes) {
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    auto it = m_decoders.find(codePage);
    if (it == m_decoders.end())
        it = m_decoders.emplace(codePage, Encoding::CodePageDecoder(codePage)).first;
    return it->second.decode(bytes);
}

void Parser::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    const QString text = decode(m_bytes, m_bytesCp);
    m_bytes.clear();
    appendText(text);
}

void Parser::appendText(QString text)
{
    if (top().dest != Dest::Text)
        return;
    // Control characters, paragraph separators and object marks would change the document's
    // structure behind our back; they are not text.
    for (QChar &c : text) {
        if (c.unicode() == 0x2029)
            c = QChar::LineSeparator;
    }
    text.removeIf([](QChar c) {
        return (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0xFFFC || c.unicode() == 0xFEFF;
    });
    if (text.isEmpty())
        return;
    if (!m_text.isEmpty() && !(m_textProps == top().ch))
        flushText();
    m_textProps = top().ch;
    m_text += text;
}

void Parser::flushText()
{
    if (m_text.isEmpty())
        return;
    ensureTarget();
    m_cur.insertText(m_text, charFormat(m_textProps));
    m_text.clear();
    m_blockFromPar = false;
    m_blockTouched = true;
}

void Parser::ensureTarget(bool forceCell)
{
    if (!forceCell && !top().par.intbl) {
        if (m_table)
            leaveTable();
        return;
    }
    if (!m_table) {
        const int columns = std::max<int>(1, int(m_cellx.size()));
        QTextTableFormat tf;
        tf.setBorder(1);
        tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        tf.setCellSpacing(0);
        tf.setCellPadding(2);
        if (!m_cellx.empty()) {
            QList<QTextLength> widths;
            int left = 0;
            for (int x : m_cellx) {
                widths.append(QTextLength(QTextLength::FixedLength, std::max(1, x - left) / kTwipsPerPixel));
                left = std::max(left, x);
            }
            tf.setColumnWidthConstraints(widths);
        }
        if (m_blockFromPar && m_cur.atBlockStart() && m_cur.atBlockEnd() &&
            m_cur.block().previous().isValid() && !QTextCursor(m_cur.block().previous()).currentTable()) {
            // The table takes the place of the empty paragraph the last \par opened; Qt adds a
            // paragraph after the table itself.
            m_cur.deletePreviousChar();
        }
        m_table = m_cur.insertTable(1, columns, tf);
        m_row = 0;
        m_rowEnded = false;
        m_cellRow = m_cellCol = -1;
    } else if (m_rowEnded) {
        m_table->appendRows(1);
        ++m_row;
        m_rowEnded = false;
    }
    if (m_col >= m_table->columns()) {
        if (m_table->columns() < kMaxColumns)
            m_table->appendColumns(std::min(m_col, kMaxColumns - 1) - m_table->columns() + 1);
        m_col = std::min(m_col, m_table->columns() - 1);
    }
    if (m_cellRow != m_row || m_cellCol != m_col) {
        m_cur = m_table->cellAt(m_row, m_col).lastCursorPosition();
        m_cellRow = m_row;
        m_cellCol = m_col;
    }
}

void Parser::leaveTable()
{
    m_cur.setPosition(m_table->lastPosition());
    m_cur.movePosition(QTextCursor::NextBlock);
    m_table = nullptr;
    m_col = 0;
    m_rowEnded = false;
    m_cellRow = m_cellCol = -1;
}

void Parser::applyBlockFormat()
{
    const ParProps &p = top().par;
    QTextBlockFormat b;
    static const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
    b.setAlignment(aligns[std::clamp(p.align, 0, 3)]);
    b.setLeftMargin(p.li / kTwipsPerPixel);
    b.setRightMargin(p.ri / kTwipsPerPixel);
    b.setTextIndent(p.fi / kTwipsPerPixel);
    b.setTopMargin(p.sb / kTwipsPerPixel);
    b.setBottomMargin(p.sa / kTwipsPerPixel);
    if (p.sl != 0) {
        if (p.slmult)
            b.setLineHeight(std::abs(p.sl) * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.sl > 0)
            b.setLineHeight(p.sl / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
        else
            b.setLineHeight(-p.sl / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
    }
    m_cur.setBlockFormat(b);
}

void Parser::paragraph()
{
    flushText();
    ensureTarget();
    applyBlockFormat();
    m_cur.insertBlock();
    m_blockFromPar = true;
    m_blockTouched = false;
}

void Parser::cell()
{
    // A cell mark makes its paragraph part of a table even when \intbl is missing.
    top().par.intbl = true;
    flushText();
    ensureTarget(true);
    applyBlockFormat();
    m_col = std::min(m_col + 1, kMaxColumns);
    m_blockFromPar = false;
    m_blockTouched = false;
}

void Parser::insertImage(const QTextImageFormat &format)
{
    flushText();
    ensureTarget();
    m_cur.insertImage(format);
    m_blockFromPar = false;
    m_blockTouched = true;
}

void Parser::commitFont()
{
    if (m_fontNum < 0)
        return;
    const int cp =
        m_fontEntry.codePage > 0 ? m_fontEntry.codePage : CodePageOfCharset(m_fontEntry.charset, m_ansiCp);
    m_fontEntry.name = (m_fontNameText + decode(m_fontNameBytes, cp)).trimmed();
    if (!m_fonts.contains(m_fontNum) && m_fonts.size() < 4096)
        m_fonts.insert(m_fontNum, m_fontEntry);
    m_fontNum = -1;
    m_fontEntry = Font();
    m_fontNameBytes.clear();
    m_fontNameText.clear();
}

void Parser::commitColor()
{
    if (m_colors.size() < 4096)
        m_colors.append(m_red < 0 && m_green < 0 && m_blue < 0
                            ? QColor()
                            : QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
    m_red = m_green = m_blue = -1;
}

void Parser::finishPict(qsizetype end)
{
    Pict p = std::move(*m_pict);
    m_pict.reset();
    QImage image;
    PictureKind kind = PictureKind::Metafile;
    QByteArray payload;
    switch (p.type) {
    case PictType::Png:
        image = QImage::fromData(p.data, "PNG");
        kind = PictureKind::Png;
        payload = p.data;
        break;
    case PictType::Jpeg:
        image = QImage::fromData(p.data, "JPEG");
        kind = PictureKind::Jpeg;
        payload = p.data;
        break;
    case PictType::Dib:
        image = DecodeDib(p.data);
        kind = PictureKind::Png;
        break;
    case PictType::Wbitmap:
        image = DecodeWbitmap(p.data, p.picw, p.pich, p.wbmBits, p.wbmWidthBytes);
        kind = PictureKind::Png;
        break;
    default:
        break;
    }
    if (kind == PictureKind::Png && payload.isEmpty() && !image.isNull())
        payload = EncodePng(image);
    const int sx = p.scalex > 0 ? std::min(p.scalex, 1000) : 100;
    const int sy = p.scaley > 0 ? std::min(p.scaley, 1000) : 100;
    double w = 0, h = 0;
    if (p.goalw > 0 && p.goalh > 0) {
        w = std::min(p.goalw, kMaxTwips) * sx / 100.0 / kTwipsPerPixel;
        h = std::min(p.goalh, kMaxTwips) * sy / 100.0 / kTwipsPerPixel;
    } else if (!image.isNull()) {
        w = image.width() * sx / 100.0;
        h = image.height() * sy / 100.0;
    } else {
        // Metafiles give their extent in hundredths of a millimetre.
        w = std::clamp(p.picw, 0, 100000) * 96.0 / 2540.0 * sx / 100.0;
        h = std::clamp(p.pich, 0, 100000) * 96.0 / 2540.0 * sy / 100.0;
    }
    if (w < 1 || h < 1)
        w = h = 32;
    w = std::min(w, 10000.0);
    h = std::min(h, 10000.0);
    if (image.isNull()) {
        // A format we cannot draw, or picture bytes that do not decode: keep the group as it came.
        kind = PictureKind::Metafile;
        payload = m_in.mid(p.start, end - p.start);
        image = PlaceholderImage(w, h);
    }
    if (m_object) {
        if (!m_object->haveImage) {
            m_object->haveImage = true;
            m_object->image = image;
            m_object->w = w;
            m_object->h = h;
        }
        return;
    }
    if (top().dest == Dest::Skip)
        return;
    QTextImageFormat format = AddPicture(m_doc, image, kind, payload, w, h);
    if (p.goalw > 0 && p.goalh > 0 && kind != PictureKind::Metafile) {
        format.setProperty(GoalWidthProperty, std::min(p.goalw, kMaxTwips));
        format.setProperty(GoalHeightProperty, std::min(p.goalh, kMaxTwips));
        format.setProperty(ScaleXProperty, sx);
        format.setProperty(ScaleYProperty, sy);
    }
    insertImage(format);
}

void Parser::finishObject(qsizetype end)
{
    ObjectCapture o = std::move(*m_object);
    m_object.reset();
    const QByteArray raw = m_in.mid(o.start, end - o.start);
    if (!o.haveImage) {
        const int sx = o.scalex > 0 ? std::min(o.scalex, 1000) : 100;
        const int sy = o.scaley > 0 ? std::min(o.scaley, 1000) : 100;
        o.w = std::clamp(o.objw, 0, kMaxTwips) * sx / 100.0 / kTwipsPerPixel;
        o.h = std::clamp(o.objh, 0, kMaxTwips) * sy / 100.0 / kTwipsPerPixel;
        if (o.w < 1 || o.h < 1)
            o.w = o.h = 32;
        o.image = PlaceholderImage(o.w, o.h);
    }
    // The object's own group is being closed; its state is still on top of the stack.
    const Dest saved = top().dest;
    top().dest = Dest::Text;
    insertImage(AddPicture(m_doc, o.image, PictureKind::Object, raw, o.w, o.h));
    top().dest = saved;
}

void Parser::finish()
{
    flushBytes();
    flushText();
    if (!m_rootClosed && m_stack.size() > 1)
        info.unbalanced = true;
    m_stack.resize(1);
    if (m_blockFromPar) {
        // The input's last paragraph mark closes the text instead of opening an empty paragraph.
        const QTextBlock prev = m_cur.block().previous();
        if (prev.isValid() && !QTextCursor(prev).currentTable() && m_cur.atBlockStart())
            m_cur.deletePreviousChar();
    } else if (m_blockTouched) {
        applyBlockFormat();
    }
}

QTextCharFormat Parser::charFormat(const CharProps &p)
{
    if (m_lastFormatProps && *m_lastFormatProps == p)
        return m_lastFormat;
    QTextCharFormat f;
    f.setFontFamilies(QStringList{fontName(p.font)});
    f.setFontPointSize(p.halfPoints / 2.0);
    f.setFontWeight(p.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(p.italic);
    f.setFontUnderline(p.underline);
    f.setFontStrikeOut(p.strike);
    const QColor fg = color(p.fg);
    if (fg.isValid())
        f.setForeground(fg);
    const QColor bg = color(p.bg);
    if (bg.isValid())
        f.setBackground(bg);
    if (p.valign == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (p.valign == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    m_lastFormatProps = p;
    m_lastFormat = f;
    return f;
}

QColor Parser::color(int index) const
{
    if (index <= 0 || index >= m_colors.size())
        return QColor();
    return m_colors.at(index);
}

QString Parser::fontName(int index) const
{
    auto it = m_fonts.constFind(index >= 0 ? index : m_deff);
    if (it == m_fonts.constEnd() || it->name.isEmpty())
        it = m_fonts.constFind(m_deff);
    if (it == m_fonts.constEnd() || it->name.isEmpty())
        return QStringLiteral("宋体");
    return it->name;
}

bool LooksLikeRtf(const QByteArray &bytes)
{
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\r' || bytes[i] == '\n' || bytes[i] == '\t'))
        ++i;
    return bytes.mid(i, 5) == "{\\rtf";
}

void InsertPlainText(const QByteArray &bytes, QTextCursor &cursor)
{
    QString text = Encoding::IsValidUtf8(bytes) ? QString::fromUtf8(bytes) : Encoding::FromGbk(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n'; });
    cursor.insertText(text);
}

} // namespace

void ReadRtf(const QByteArray &rtf, QTextDocument *doc, RtfReadInfo *info)
{
    doc->clear();
    QTextCursor cursor(doc);
    if (!LooksLikeRtf(rtf)) {
        InsertPlainText(rtf, cursor);
        if (info)
            *info = RtfReadInfo{false, false};
        return;
    }
    // A whole new content is no edit to undo; one edit block keeps the layout from following every run.
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    cursor.beginEditBlock();
    Parser parser(rtf, cursor, true);
    parser.run();
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(undo);
    if (parser.pageSeen)
        SetPageSetup(doc, parser.page);
    if (info)
        *info = parser.info;
}

void InsertRtf(const QByteArray &rtf, QTextCursor &cursor, RtfReadInfo *info)
{
    if (!LooksLikeRtf(rtf)) {
        InsertPlainText(rtf, cursor);
        if (info)
            *info = RtfReadInfo{false, false};
        return;
    }
    cursor.beginEditBlock();
    Parser parser(rtf, cursor, false);
    parser.run();
    cursor.endEditBlock();
    if (info)
        *info = parser.info;
}

} // namespace RichText
