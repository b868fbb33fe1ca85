#pragma once

#include <QChar>
#include <QObject>

class QKeyEvent;

// Key-press filters of numeric boxes. A key that is not allowed becomes the null character, which
// the caller drops.
void FilterDigitKey(QChar &key);   // '0'–'9', backspace, carriage return, line feed
void FilterDecimalKey(QChar &key); // as FilterDigitKey, also '.'

// An event filter that applies one of the two filters to the typed characters of any widget it is
// installed on (an edit box, a spin box's editor, a grid cell editor). Keys that type no character
// (arrows, Delete, Home, Tab, shortcuts) pass untouched, as they never reach a key-press handler.
class KeyCharFilter : public QObject
{
    Q_OBJECT
public:
    enum Kind { Digits, Decimal };
    explicit KeyCharFilter(Kind kind, QObject *parent = nullptr);

    // Installs a filter owned by the target on the target; returns it.
    static KeyCharFilter *install(QObject *target, Kind kind);

    // Whether the key event would be dropped.
    bool rejects(const QKeyEvent *event) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Kind m_kind;
};
