#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Every date the program turns into text, on screen or in SQL, reads year-month-day. The formats
// are fixed here, inside the program; the user's desktop locale is left alone.
inline const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
inline const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
inline const QString kTimeFormat = QStringLiteral("HH:mm:ss");

inline QString DateToStr(const QDate &date)
{
    return date.isValid() ? date.toString(kDateFormat) : QString();
}

inline QString DateTimeToStr(const QDateTime &dateTime)
{
    return dateTime.isValid() ? dateTime.toString(kDateTimeFormat) : QString();
}

// Parses "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss" (also with a 'T' separator); invalid on anything else.
QDateTime StrToDateTime(const QString &text);
QDate StrToDate(const QString &text);
