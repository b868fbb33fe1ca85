#pragma once

#include "uImageEx.h"

#include <QColor>
#include <QFont>

// Colours and fonts of the side menu.
namespace MenuLook {
const QColor MenuColor(0xDC, 0xEB, 0xFA);  // item background
const QColor Highlight(0x0A, 0x64, 0xD8);  // text under the mouse
const QColor NormalText(0x1E, 0x3C, 0x78); // darker blue
QFont GroupFont();                         // bold 10-point 宋体
QFont ItemFont();                          // 10-point 宋体
} // namespace MenuLook

// Placement of the menu: groups 38 pixels apart from the top, items 26 apart inside the group's
// background.
namespace MenuMetrics {
constexpr int GroupLeft = 10, GroupTop = 12, GroupPitch = 38, GroupWidth = 142, GroupHeight = 26;
constexpr int ItemPitch = 26, ItemHeight = 20, ItemTopGap = 6, ItemIndent = 2, ItemTextX = 20;
constexpr int ExpandedWidth = 166;
int BackgroundHeight(int items);       // 26·n + 2
int ItemWidth(const QString &caption); // caption width at 10 points + 20
} // namespace MenuMetrics

// A menu group: a bar with the group icon, its caption and the open/closed marker.
class TPnlMenu : public TImageEx
{
    Q_OBJECT
public:
    explicit TPnlMenu(QWidget *parent = nullptr);

    QString cdbh;
    QString cdmc;
    bool Selected = false;
    bool Expanded = false;
    bool Hot = false;
    int OrgTop = 0;

    void DrawMenuGroup(QPainter &p) const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A menu item inside an expanded group.
class TPnlMenuItem : public TImageEx
{
    Q_OBJECT
public:
    explicit TPnlMenuItem(QWidget *parent = nullptr);

    QString cdbh;
    QString cdmc;
    QString sjcdbh;
    bool Hot = false;
    QString sfydymk;

    void DrawMenuItem(QPainter &p) const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
