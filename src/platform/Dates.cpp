#include "Dates.h"

QDateTime StrToDateTime(const QString &text)
{
    const QString t = text.trimmed();
    for (const QString &format :
         {kDateTimeFormat, QStringLiteral("yyyy-MM-ddTHH:mm:ss"), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"),
          QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"), QStringLiteral("yyyy-MM-dd HH:mm")}) {
        const QDateTime dt = QDateTime::fromString(t, format);
        if (dt.isValid())
            return dt;
    }
    const QDate d = QDate::fromString(t, kDateFormat);
    return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
}

QDate StrToDate(const QString &text)
{
    return StrToDateTime(text).date();
}
