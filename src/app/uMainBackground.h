#pragma once

#include <QWidget>

class QLabel;

// The empty main area: tiled with Bmp/CenterBK.bmp, the title picture and the program's name in the
// middle, the version label at the lower right.
class TMainBackground : public QWidget
{
    Q_OBJECT
public:
    explicit TMainBackground(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *lblVersion;
};
