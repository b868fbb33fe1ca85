#include "KeyFilters.h"

#include <QEvent>
#include <QKeyEvent>

void FilterDigitKey(QChar &key)
{
    const char16_t u = key.unicode();
    if ((u >= u'0' && u <= u'9') || u == u'\b' || u == u'\r' || u == u'\n')
        return;
    key = QChar();
}

void FilterDecimalKey(QChar &key)
{
    if (key == QLatin1Char('.'))
        return;
    FilterDigitKey(key);
}

KeyCharFilter::KeyCharFilter(Kind kind, QObject *parent) : QObject(parent), m_kind(kind) {}

KeyCharFilter *KeyCharFilter::install(QObject *target, Kind kind)
{
    auto *filter = new KeyCharFilter(kind, target);
    target->installEventFilter(filter);
    return filter;
}

bool KeyCharFilter::rejects(const QKeyEvent *event) const
{
    // Backspace and Enter arrive with their control characters in text() on some platforms and with
    // none on others; map them so the filter decides the same way everywhere.
    QChar key;
    switch (event->key()) {
    case Qt::Key_Backspace:
        key = QLatin1Char('\b');
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        key = QLatin1Char('\r');
        break;
    default: {
        const QString text = event->text();
        if (text.isEmpty())
            return false;
        if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier))
            return false; // shortcuts such as Ctrl+C
        if (text.size() == 1 && text.at(0).unicode() < 0x20)
            return false; // Tab, Escape and other control keys do not type
        for (QChar c : text) {
            QChar k = c;
            if (m_kind == Digits)
                FilterDigitKey(k);
            else
                FilterDecimalKey(k);
            if (k.isNull())
                return true;
        }
        return false;
    }
    }
    if (m_kind == Digits)
        FilterDigitKey(key);
    else
        FilterDecimalKey(key);
    return key.isNull();
}

bool KeyCharFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && rejects(static_cast<QKeyEvent *>(event)))
        return true;
    return QObject::eventFilter(watched, event);
}
