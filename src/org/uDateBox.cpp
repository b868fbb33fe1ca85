#include "org/uDateBox.h"

#include "platform/Dates.h"

#include <QCalendarWidget>
#include <QKeyEvent>

TDateBox::TDateBox(QWidget *parent) : QDateEdit(parent)
{
    setDisplayFormat(kDateFormat);
    setCalendarPopup(true);
    setMinimumDate(QDate(1900, 1, 1));
    setSpecialValueText(QStringLiteral(" "));
    clearValue();
}

void TDateBox::setValue(const QDate &date)
{
    if (date.isValid() && date > minimumDate())
        setDate(date);
    else
        clearValue();
}

void TDateBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete) {
        clearValue();
        return;
    }
    // Typing into an empty box starts from today rather than from the placeholder date.
    if (isEmpty() && !event->text().isEmpty() && event->text().at(0).isDigit())
        setDate(QDate::currentDate());
    QDateEdit::keyPressEvent(event);
}

void TDateBox::mousePressEvent(QMouseEvent *event)
{
    // The calendar of an empty box opens on today.
    if (isEmpty() && calendarWidget())
        calendarWidget()->setSelectedDate(QDate::currentDate());
    QDateEdit::mousePressEvent(event);
}
