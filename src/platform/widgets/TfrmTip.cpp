#include "TfrmTip.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QScreen>

const QString TfrmTip::DefaultText = QStringLiteral("请稍候，正在访问数据库...");

namespace {
QPointer<TfrmTip> g_tip;
constexpr int kTipWidth = 226;
constexpr int kTipHeight = 33;
} // namespace

TfrmTip::TfrmTip(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    pnlTip = new QLabel(DefaultText, this);
    pnlTip->setObjectName(QStringLiteral("pnlTip"));
    pnlTip->setAlignment(Qt::AlignCenter);
    pnlTip->setAutoFillBackground(true);
    pnlTip->setStyleSheet(QStringLiteral("QLabel { background: #0000FF; color: white; }"));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(16);
    font.setBold(true);
    pnlTip->setFont(font);
    layout->addWidget(pnlTip);
    resize(kTipWidth, kTipHeight);
}

void TfrmTip::setTipText(const QString &text)
{
    pnlTip->setText(text);
}

QString TfrmTip::tipText() const
{
    return pnlTip->text();
}

TfrmTip *TipWindow()
{
    return g_tip.data();
}

void ShowTip(bool show, const QString &text)
{
    if (!g_tip)
        g_tip = new TfrmTip; // kept for the rest of the run
    g_tip->setTipText(TfrmTip::DefaultText);
    int width = kTipWidth;
    if (!text.trimmed().isEmpty()) {
        g_tip->setTipText(text);
        width = QFontMetrics(g_tip->findChild<QLabel *>(QStringLiteral("pnlTip"))->font())
                    .horizontalAdvance(text) +
                16;
    }
    g_tip->resize(width, kTipHeight);
    if (show) {
        if (QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            g_tip->move(area.center() - QPoint(g_tip->width() / 2, g_tip->height() / 2));
        }
        g_tip->show();
        g_tip->raise();
        g_tip->repaint();
    } else {
        g_tip->hide();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
