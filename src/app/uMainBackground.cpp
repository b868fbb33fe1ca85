#include "uMainBackground.h"

#include "uImageEx.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>

TMainBackground::TMainBackground(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pbBK"));
    lblVersion = new QLabel(QStringLiteral("版本 %1").arg(QStringLiteral(LUMORA_VERSION)), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setStyleSheet(QStringLiteral("color: #4A6FA5;"));
    lblVersion->adjustSize();
}

void TMainBackground::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPixmap tile = ResPicture(QStringLiteral("Bmp/CenterBK.bmp"));
    if (tile.isNull())
        p.fillRect(rect(), QColor(0xEE, 0xF4, 0xFB));
    else
        p.drawTiledPixmap(rect(), tile);

    const QPixmap title = ResPicture(QStringLiteral("Bmp/Title.png"));
    const int picture = title.isNull() ? 0 : 120;
    QFont big(QString::fromUtf16(u"黑体"));
    big.setPixelSize(30);
    big.setBold(true);
    QFont small(QString::fromUtf16(u"宋体"));
    small.setPixelSize(16);
    const int block = picture + 20 + 40 + 28;
    int y = (height() - block) / 2 - 20;
    if (picture) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(QRect((width() - picture) / 2, y, picture, picture), title);
        y += picture + 20;
    }
    p.setFont(big);
    p.setPen(QColor(0x1E, 0x3C, 0x78));
    p.drawText(QRect(0, y, width(), 40), Qt::AlignCenter, QStringLiteral("Lumora 题库与考试系统"));
    p.setFont(small);
    p.setPen(QColor(0x4A, 0x6F, 0xA5));
    p.drawText(QRect(0, y + 44, width(), 28), Qt::AlignCenter, QStringLiteral("电力行业职业技能鉴定"));
}

void TMainBackground::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    lblVersion->move(width() - lblVersion->width() - 16, height() - lblVersion->height() - 10);
}
