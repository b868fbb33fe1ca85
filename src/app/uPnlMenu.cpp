#include "uPnlMenu.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

QFont MenuLook::GroupFont()
{
    QFont f(QString::fromUtf16(u"宋体"));
    f.setPointSize(10);
    f.setBold(true);
    return f;
}

QFont MenuLook::ItemFont()
{
    QFont f(QString::fromUtf16(u"宋体"));
    f.setPointSize(10);
    return f;
}

int MenuMetrics::BackgroundHeight(int items)
{
    return ItemPitch * items + 2;
}

int MenuMetrics::ItemWidth(const QString &caption)
{
    return QFontMetrics(MenuLook::ItemFont()).horizontalAdvance(caption) + ItemTextX;
}

TPnlMenu::TPnlMenu(QWidget *parent) : TImageEx(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void TPnlMenu::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    DrawMenuGroup(p);
}

void TPnlMenu::DrawMenuGroup(QPainter &p) const
{
    const QRect r = rect();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bar(0, 0, 0, r.height());
    bar.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    bar.setColorAt(1, QColor(0xC6, 0xDC, 0xF6));
    p.setPen(QColor(0x9D, 0xBE, 0xE8));
    p.setBrush(bar);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setRenderHint(QPainter::Antialiasing, false);

    const QPixmap icon = ResPicture(QStringLiteral("Icon/Yjcd.ico"));
    if (!icon.isNull())
        p.drawPixmap(3, (r.height() - 16) / 2, 16, 16, icon);
    const QPixmap state =
        ResPicture(Expanded ? QStringLiteral("Icon/Cdzt0.ico") : QStringLiteral("Icon/Cdzt1.ico"));
    if (!state.isNull())
        p.drawPixmap(r.width() - 20, (r.height() - 16) / 2, 16, 16, state);

    p.setFont(MenuLook::GroupFont());
    p.setPen(Hot ? MenuLook::Highlight : MenuLook::NormalText);
    p.drawText(QRect(22, 0, r.width() - 22 - 22, r.height()), Qt::AlignVCenter | Qt::AlignLeft, cdmc);

    if (Selected) {
        QPen dotted(MenuLook::NormalText);
        dotted.setStyle(Qt::DotLine);
        p.setPen(dotted);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(2, 2, -3, -3));
    }
}

TPnlMenuItem::TPnlMenuItem(QWidget *parent) : TImageEx(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void TPnlMenuItem::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    DrawMenuItem(p);
}

void TPnlMenuItem::DrawMenuItem(QPainter &p) const
{
    const QRect r = rect();
    p.fillRect(r, MenuLook::MenuColor);
    const QPixmap icon = ResPicture(QStringLiteral("Icon/%1.ico").arg(cdbh));
    if (!icon.isNull())
        p.drawPixmap(1, (r.height() - 16) / 2, 16, 16, icon);
    QFont f = MenuLook::ItemFont();
    f.setUnderline(Hot);
    p.setFont(f);
    p.setPen(Hot ? MenuLook::Highlight : MenuLook::NormalText);
    p.drawText(QRect(MenuMetrics::ItemTextX, 0, r.width() - MenuMetrics::ItemTextX, r.height()),
               Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, cdmc);
}
