#pragma once

#include <QDate>
#include <QDateEdit>

// A date box that can be empty. An empty box shows nothing (the lowest date stands for "no date");
// choosing a date in it or typing one fills it, Delete empties it again.
class TDateBox : public QDateEdit
{
    Q_OBJECT
public:
    explicit TDateBox(QWidget *parent = nullptr);

    bool isEmpty() const { return date() == minimumDate(); }
    // The date, invalid when the box is empty.
    QDate value() const { return isEmpty() ? QDate() : date(); }
    // An invalid date empties the box.
    void setValue(const QDate &date);
    void clearValue() { setDate(minimumDate()); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};
