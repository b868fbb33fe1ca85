#include "SharedServices.h"

#include <cmath>

const QStringList ChineseNumerals = {
    QStringLiteral("一"),   QStringLiteral("二"),   QStringLiteral("三"),   QStringLiteral("四"),
    QStringLiteral("五"),   QStringLiteral("六"),   QStringLiteral("七"),   QStringLiteral("八"),
    QStringLiteral("九"),   QStringLiteral("十"),   QStringLiteral("十一"), QStringLiteral("十二"),
    QStringLiteral("十三"), QStringLiteral("十四"),
};

const QStringList RomanNumerals = {QStringLiteral("Ⅰ"), QStringLiteral("Ⅱ"), QStringLiteral("Ⅲ")};

QString ChineseNumeral(int n)
{
    return n >= 1 && n <= ChineseNumerals.size() ? ChineseNumerals.at(n - 1) : QString();
}

QString RomanNumeral(int n)
{
    return n >= 1 && n <= RomanNumerals.size() ? RomanNumerals.at(n - 1) : QString();
}

namespace {

// Case changes touch ASCII letters only: a Chinese character is never altered by them.
QString AsciiUpper(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    }
    return out;
}

QString AsciiLower(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    }
    return out;
}

bool ContainsAny(const QString &text, std::initializer_list<const char16_t *> needles)
{
    for (const char16_t *needle : needles) {
        if (text.contains(QString::fromUtf16(needle)))
            return true;
    }
    return false;
}

bool CompareJudgement(const QString &given, const QString &standard)
{
    if (given == QStringLiteral("√"))
        return ContainsAny(standard, {u"正确", u"Y", u"对", u"√"});
    if (given == QStringLiteral("×"))
        return ContainsAny(standard, {u"错误", u"N", u"错", u"×"});
    return false;
}

bool CompareSingle(const QString &given, const QString &standard)
{
    if (given.isEmpty())
        return false;
    return AsciiLower(standard).contains(given) || AsciiUpper(standard).contains(given);
}

bool CompareMultiple(const QString &given, const QString &standard)
{
    static const QString letters = QStringLiteral("abcdefABCDEF");
    QString keys;
    for (const QChar c : ToHalfWidth(standard)) {
        if (letters.contains(c) && !keys.contains(c))
            keys += c;
    }
    keys = AsciiUpper(keys);
    if (given.size() != keys.size())
        return false;
    for (const QChar c : given) {
        if (!keys.contains(c))
            return false;
    }
    return true;
}

QString OrderingSymbols(const QString &text)
{
    QString out;
    for (const QChar c : AsciiUpper(text.trimmed())) {
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
            (c >= QLatin1Char('A') && c <= QLatin1Char('T')))
            out += c;
    }
    return out;
}

} // namespace

bool CompareAnswer(const QString &type, const QString &given, const QString &standard)
{
    const QString t = type.trimmed();
    if (t == QLatin1String("1"))
        return CompareJudgement(given, standard);
    if (t == QLatin1String("2"))
        return CompareSingle(given, standard);
    if (t == QLatin1String("5"))
        return CompareMultiple(given, standard);
    if (t == QLatin1String("12"))
        return OrderingSymbols(given) == OrderingSymbols(standard);
    return false;
}

QString ToHalfWidth(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000)
            c = QLatin1Char(' ');
    }
    return out;
}

int CmToPoints(double centimetres)
{
    // nearbyint follows the default rounding mode, round half to even.
    return static_cast<int>(std::nearbyint(centimetres * 72.0 / 2.54));
}
