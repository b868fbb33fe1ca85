#pragma once

#include <QPixmap>
#include <QWidget>

// The image control the menu is built of: shows a picture (optionally scaled to fit, keeping its
// proportions, centred), reports the mouse entering and leaving it and clicks, and carries a help
// keyword the main window uses to tell which menu group a control belongs to.
class TImageEx : public QWidget
{
    Q_OBJECT
public:
    explicit TImageEx(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    QPixmap picture() const { return m_picture; }
    void setProportional(bool on);
    void setCenter(bool on);
    void setFill(const QColor &fill, const QColor &frame = QColor());

    QString helpKeyword() const { return m_helpKeyword; }
    void setHelpKeyword(const QString &keyword) { m_helpKeyword = keyword; }

signals:
    void mouseEnter();
    void mouseLeave();
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPixmap m_picture;
    QColor m_fill, m_frame;
    QString m_helpKeyword;
    bool m_proportional = false;
    bool m_center = false;
    bool m_pressed = false;
};

// A picture of the program folder's Res/ (relative path like "Icon/Yjcd.ico"), cached. A missing or
// unreadable file gives a null pixmap, which the controls simply do not draw.
QPixmap ResPicture(const QString &relative);
