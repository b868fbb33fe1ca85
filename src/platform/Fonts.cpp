#include "Fonts.h"

#include <QFont>
#include <QStringList>

void InstallFontSubstitutions()
{
    const QStringList serif = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                               QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList sans = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC"),
                              QStringLiteral("WenQuanYi Zen Hei")};
    for (const char16_t *name : {u"宋体", u"新宋体", u"SimSun", u"NSimSun", u"仿宋", u"仿宋_GB2312",
                                 u"FangSong", u"楷体", u"楷体_GB2312", u"KaiTi"})
        QFont::insertSubstitutions(QString::fromUtf16(name), serif);
    for (const char16_t *name : {u"黑体", u"SimHei", u"微软雅黑", u"Microsoft YaHei"})
        QFont::insertSubstitutions(QString::fromUtf16(name), sans);
}
