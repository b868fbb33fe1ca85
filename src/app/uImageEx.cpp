#include "uImageEx.h"

#include "platform/AppGlobals.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>

TImageEx::TImageEx(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_Hover);
}

void TImageEx::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void TImageEx::setProportional(bool on)
{
    m_proportional = on;
    update();
}

void TImageEx::setCenter(bool on)
{
    m_center = on;
    update();
}

void TImageEx::setFill(const QColor &fill, const QColor &frame)
{
    m_fill = fill;
    m_frame = frame;
    update();
}

void TImageEx::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_fill.isValid())
        p.fillRect(rect(), m_fill);
    if (m_frame.isValid()) {
        p.setPen(m_frame);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (m_picture.isNull())
        return;
    QSize size = m_picture.deviceIndependentSize().toSize();
    if (m_proportional)
        size.scale(this->size(), Qt::KeepAspectRatio);
    QPoint at(0, 0);
    if (m_center)
        at = QPoint((width() - size.width()) / 2, (height() - size.height()) / 2);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(QRect(at, size), m_picture);
}

void TImageEx::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    emit mouseEnter();
}

void TImageEx::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    emit mouseLeave();
}

void TImageEx::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void TImageEx::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked(); // may delete this control (a menu item closing its group): nothing after this
}

QPixmap ResPicture(const QString &relative)
{
    const QString path = ResPath + relative;
    QPixmap pm;
    if (QPixmapCache::find(path, &pm))
        return pm;
    if (QFileInfo::exists(path) && pm.load(path))
        QPixmapCache::insert(path, pm);
    return pm;
}
