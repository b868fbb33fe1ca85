#include "uAssistor.h"

#include "platform/Encoding.h"

#include <algorithm>

QString TAssistor::EncodePassword(const QString &text)
{
    QByteArray bytes = Encoding::ToGbk(text);
    for (char &b : bytes)
        b = static_cast<char>(static_cast<unsigned char>(b) - 2);
    std::reverse(bytes.begin(), bytes.end());
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);

    const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        return QString::fromLatin1(bytes);
    // Text as an older client's GBK column reads it, when that spelling is exact and cannot be taken for
    // the Latin-1 form (which DecodePassword recognises by having no character above U+00FF).
    const QString gbk = Encoding::FromGbk(bytes);
    const bool wide = std::any_of(gbk.cbegin(), gbk.cend(), [](QChar c) { return c.unicode() > 0xFF; });
    if (wide && Encoding::ToGbk(gbk) == bytes)
        return gbk;
    return QString::fromLatin1(bytes);
}

QString TAssistor::DecodePassword(const QString &stored)
{
    const bool wide = std::any_of(stored.cbegin(), stored.cend(), [](QChar c) { return c.unicode() > 0xFF; });
    QByteArray bytes = wide ? Encoding::ToGbk(stored) : stored.toLatin1();
    for (char &b : bytes)
        b = static_cast<char>(static_cast<unsigned char>(b) + 2);
    std::reverse(bytes.begin(), bytes.end());
    return Encoding::FromGbk(bytes);
}
