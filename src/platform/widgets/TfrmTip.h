#pragma once

#include <QWidget>

class QLabel;

// The wait tip: a borderless window that stays on top, centred on the screen, white bold 宋体 on blue.
class TfrmTip : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmTip(QWidget *parent = nullptr);

    void setTipText(const QString &text);
    QString tipText() const;

    static const QString DefaultText;

private:
    QLabel *pnlTip;
};

// Shows or hides the wait tip. An empty (or blank) text shows the default "请稍候，正在访问数据库...".
// Pending window events are processed before it returns, so the tip is painted (or gone) before the
// caller starts its long operation.
void ShowTip(bool show, const QString &text = QString());

// The tip window, created on first use and kept (nullptr before the first ShowTip).
TfrmTip *TipWindow();
