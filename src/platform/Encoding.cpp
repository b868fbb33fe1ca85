#include "Encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Encoding {

namespace {

const char *CodecName(int codePage)
{
    switch (codePage) {
    case 936:
        return "GBK";
    case 54936:
        return "GB18030";
    case 950:
        return "Big5";
    case 932:
        return "Shift_JIS";
    case 949:
        return "windows-949";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1252:
        return "windows-1252";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

} // namespace

QByteArray ToGbk(const QString &text)
{
    return ToCodePage(936, text);
}

QString FromGbk(const QByteArray &bytes)
{
    return FromCodePage(936, bytes);
}

bool IsCodePageSupported(int codePage)
{
    const char *name = CodecName(codePage);
    return name && QStringDecoder(name).isValid();
}

QString FromCodePage(int codePage, const QByteArray &bytes)
{
    const char *name = CodecName(codePage);
    QStringDecoder decoder(name ? name : "windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray ToCodePage(int codePage, const QString &text)
{
    const char *name = CodecName(codePage);
    QStringEncoder encoder(name ? name : "windows-1252");
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

QStringDecoder CodePageDecoder(int codePage)
{
    const char *name = CodecName(codePage);
    QStringDecoder decoder(name ? name : "windows-1252", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return QStringDecoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless);
    return decoder;
}

QStringEncoder CodePageEncoder(int codePage)
{
    const char *name = CodecName(codePage);
    QStringEncoder encoder(name ? name : "windows-1252", QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return QStringEncoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless);
    return encoder;
}

bool IsValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        int follow = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            follow = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            follow = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            follow = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + follow >= n)
            return false;
        for (int k = 1; k <= follow; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false; // overlong forms and surrogates are not UTF-8
        i += follow + 1;
    }
    return true;
}

} // namespace Encoding
