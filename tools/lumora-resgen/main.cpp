// Draws the pictures of the main window (Res/Bmp, Res/Icon). Run once by a developer when the menu or
// the look changes; its output is committed under res/Res/, so the build needs nothing of it.
//
//   lumora-resgen res/Res tools/lumora-resgen/menu.tsv
//
// MENU.tsv has one menu entry a line: code <TAB> class name <TAB> caption (as `sqlite3 -tabs` prints
// "select cdbh, mknm, cdmc from gncd"). Every code gets Icon/<code>.ico; the glyph follows the class
// name, or the caption for the entries that open no module.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

const QColor kMenuBlue(0xDC, 0xEB, 0xFA);
const QColor kDeepBlue(0x1E, 0x3C, 0x78);
const QColor kBrightBlue(0x0A, 0x64, 0xD8);

using Glyph = std::function<void(QPainter &)>; // draws white on a 32×32 canvas

QPen WhitePen(double w)
{
    return QPen(Qt::white, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Person(QPainter &p, double cx, double cy, double s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(cx, cy - 5 * s), 4 * s, 4 * s);
    QPainterPath body;
    body.moveTo(cx - 8 * s, cy + 9 * s);
    body.cubicTo(cx - 8 * s, cy + 1 * s, cx + 8 * s, cy + 1 * s, cx + 8 * s, cy + 9 * s);
    body.closeSubpath();
    p.drawPath(body);
}

void Page(QPainter &p, QRectF r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 1.5, 1.5);
}

void Lines(QPainter &p, QRectF r, int n, const QColor &c)
{
    p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < n; ++i) {
        const double y = r.top() + 4 + i * 5;
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3 - (i == n - 1 ? 4 : 0), y));
    }
}

std::map<QString, Glyph> Glyphs(const QColor &tint)
{
    std::map<QString, Glyph> g;
    g["TfrmBmgw"] = [](QPainter &p) { // organisation chart
        p.setPen(WhitePen(2));
        p.drawLine(16, 11, 16, 16);
        p.drawLine(8, 16, 24, 16);
        p.drawLine(8, 16, 8, 20);
        p.drawLine(24, 16, 24, 20);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(11, 5, 10, 7);
        p.drawRect(3, 20, 10, 7);
        p.drawRect(19, 20, 10, 7);
    };
    g["TfrmRy"] = [](QPainter &p) { Person(p, 16, 16, 1.1); };
    g["TfrmZdksry"] = [](QPainter &p) {
        Person(p, 11, 17, 0.85);
        Person(p, 21, 15, 0.85);
    };
    g["TfrmJsqxgl"] = [](QPainter &p) { // key
        p.setPen(WhitePen(3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(11, 12), 5, 5);
        p.drawLine(15, 16, 26, 27);
        p.drawLine(22, 23, 25, 20);
        p.drawLine(25, 26, 28, 23);
    };
    g["TfrmTkqx"] = [](QPainter &p) { // lock
        p.setPen(WhitePen(3));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10, 5, 12, 14), 0, 180 * 16);
        p.drawLine(10, 12, 10, 15);
        p.drawLine(22, 12, 22, 15);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(7, 15, 18, 13), 2, 2);
    };
    g["TfrmZyzl"] = [tint](QPainter &p) { // gear
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.save();
        p.translate(16, 16);
        for (int i = 0; i < 8; ++i) {
            p.drawRect(QRectF(-2.5, -12, 5, 6));
            p.rotate(45);
        }
        p.restore();
        p.drawEllipse(QPointF(16, 16), 8, 8);
        p.setBrush(tint);
        p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
    };
    g["TfrmKm"] = [tint](QPainter &p) { // book
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(7, 5, 18, 23), 2, 2);
        p.setBrush(tint);
        p.drawRect(QRectF(10, 5, 2, 23));
        p.setPen(QPen(tint, 2));
        p.drawLine(15, 11, 22, 11);
        p.drawLine(15, 15, 22, 15);
    };
    g["TfrmMk"] = [](QPainter &p) { // modules: four tiles
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(6, 6, 9, 9), 1.5, 1.5);
        p.drawRoundedRect(QRectF(17, 6, 9, 9), 1.5, 1.5);
        p.drawRoundedRect(QRectF(6, 17, 9, 9), 1.5, 1.5);
        p.drawRoundedRect(QRectF(17, 17, 9, 9), 1.5, 1.5);
    };
    g["TfrmNl"] = [](QPainter &p) { // star
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const double r = (i % 2) ? 5.0 : 12.0;
            const double a = -M_PI / 2 + i * M_PI / 5;
            const QPointF pt(16 + r * std::cos(a), 17 + r * std::sin(a));
            i ? star.lineTo(pt) : star.moveTo(pt);
        }
        star.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(star);
    };
    g["TfrmQuesMake"] = [](QPainter &p) { // pencil
        p.save();
        p.translate(16, 16);
        p.rotate(45);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(-3.5, -12, 7, 17));
        QPainterPath tip;
        tip.moveTo(-3.5, 6);
        tip.lineTo(3.5, 6);
        tip.lineTo(0, 12);
        tip.closeSubpath();
        p.drawPath(tip);
        p.restore();
    };
    g["TfrmQuesAudit"] = [](QPainter &p) { // tick
        p.setPen(WhitePen(4));
        p.drawPolyline(QPolygonF({QPointF(7, 17), QPointF(13, 23), QPointF(25, 9)}));
    };
    g["TfrmBigQuesEdit"] = [tint](QPainter &p) {
        const QRectF r(7, 4, 18, 24);
        Page(p, r);
        Lines(p, r, 4, tint);
    };
    g["TfrmQuesImport"] = [](QPainter &p) { // arrow into a tray
        p.setPen(WhitePen(3));
        p.drawLine(16, 4, 16, 18);
        p.drawPolyline(QPolygonF({QPointF(10, 13), QPointF(16, 19), QPointF(22, 13)}));
        p.drawPolyline(QPolygonF({QPointF(6, 19), QPointF(6, 26), QPointF(26, 26), QPointF(26, 19)}));
    };
    g["TfrmQuesStat"] = [](QPainter &p) { // bars
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 17, 5, 10));
        p.drawRect(QRectF(13.5, 8, 5, 19));
        p.drawRect(QRectF(21, 13, 5, 14));
    };
    g["TfrmZjjh"] = [tint](QPainter &p) { // clipboard
        const QRectF r(7, 6, 18, 22);
        Page(p, r);
        p.setBrush(tint.darker(130));
        p.drawRoundedRect(QRectF(12, 4, 8, 5), 1.5, 1.5);
        Lines(p, QRectF(7, 9, 18, 19), 3, tint);
    };
    g["TfrmManualPaper"] = [tint](QPainter &p) { // stacked papers
        p.setPen(QPen(tint, 1));
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawRoundedRect(QRectF(11, 4, 15, 19), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(6, 9, 15, 19), 1.5, 1.5);
        Lines(p, QRectF(6, 10, 15, 18), 3, tint);
    };
    g["TfrmPaperManage"] = [tint](QPainter &p) { // folder
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 190));
        p.drawRoundedRect(QRectF(5, 8, 10, 6), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(5, 11, 22, 15), 2, 2);
        p.setPen(QPen(tint, 2));
        p.drawLine(9, 18, 23, 18);
    };
    g["TfrmKsjh"] = [tint](QPainter &p) { // calendar
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(5, 7, 22, 20), 2, 2);
        p.setBrush(tint.darker(130));
        p.drawRect(QRectF(5, 7, 22, 5));
        p.setBrush(tint);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(8.5 + c * 6, 15 + r * 5.5, 3.5, 3.5));
        p.setPen(WhitePen(2));
        p.drawLine(11, 4, 11, 9);
        p.drawLine(21, 4, 21, 9);
    };
    g["TfrmZdkssj"] = [tint](QPainter &p) { // paper with an arrow
        const QRectF r(5, 4, 16, 22);
        Page(p, r);
        Lines(p, r, 3, tint);
        p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(18, 24, 28, 24);
        p.drawPolyline(QPolygonF({QPointF(24, 20), QPointF(28, 24), QPointF(24, 28)}));
    };
    g["TfrmKspf"] = [](QPainter &p) { // score: 100 underlined
        p.setPen(WhitePen(2.5));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(6, 9), QPointF(6, 21));
        p.drawEllipse(QRectF(10, 9, 7, 12));
        p.drawEllipse(QRectF(20, 9, 7, 12));
        p.drawLine(QPointF(5, 25.5), QPointF(27, 25.5));
    };
    g["TfrmXzlxlb"] = [](QPainter &p) { // target
        p.setPen(WhitePen(2.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 16), 11, 11);
        p.drawEllipse(QPointF(16, 16), 6, 6);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 16), 1.8, 1.8);
    };
    g["TfrmLoginExam"] = [tint](QPainter &p) { // monitor
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(4, 6, 24, 16), 2, 2);
        p.drawRect(QRectF(14, 22, 4, 3));
        p.drawRoundedRect(QRectF(9, 25, 14, 3), 1, 1);
        p.setBrush(tint);
        p.drawRect(QRectF(7, 9, 18, 10));
    };
    g[QString::fromUtf16(u"系统帮助")] = [](QPainter &p) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(24);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("?"));
    };
    g[QString::fromUtf16(u"退出系统")] = [](QPainter &p) { // power symbol
        p.setPen(WhitePen(3));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(7, 7, 18, 18), 120 * 16, 300 * 16);
        p.drawLine(16, 4, 16, 15);
    };
    return g;
}

// Tint of an icon by its menu group, so the items of one group share a colour.
QColor GroupTint(const QString &code)
{
    static const QColor tints[] = {QColor(0x2F, 0x7C, 0xD3), QColor(0x1F, 0x9E, 0x89),
                                   QColor(0xE0, 0x8A, 0x1E), QColor(0x7B, 0x5C, 0xC9),
                                   QColor(0xD2, 0x4D, 0x57), QColor(0x3E, 0x9B, 0x3A),
                                   QColor(0x4A, 0x6F, 0xA5), QColor(0x8E, 0x6C, 0x3F)};
    const int group = code.mid(2, 2).toInt();
    return tints[(group > 0 ? group - 1 : 0) % (sizeof tints / sizeof tints[0])];
}

QImage Badge(const QColor &tint, const Glyph &glyph)
{
    QImage big(32, 32, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, tint.lighter(125));
    g.setColorAt(1, tint.darker(115));
    p.setPen(QPen(tint.darker(150), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 7, 7);
    if (glyph)
        glyph(p);
    p.end();
    return big.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool Save(const QImage &image, const QString &path)
{
    const bool ok = image.save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// The arrow of the side-menu expander: a slim tab, arrow pointing left or right, brighter on hover.
QImage Arrow(bool left, bool hover)
{
    QImage img(10, 64, QImage::Format_RGB32);
    img.fill(QColor(0xB8, 0xD0, 0xEE));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 10, 0);
    g.setColorAt(0, hover ? QColor(0x5C, 0x9B, 0xEA) : QColor(0x8F, 0xB6, 0xE6));
    g.setColorAt(1, hover ? QColor(0x2E, 0x78, 0xD8) : QColor(0x6E, 0x9C, 0xD8));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 9, 63), 3, 3);
    QPolygonF tri = left ? QPolygonF({QPointF(7, 26), QPointF(2.5, 32), QPointF(7, 38)})
                         : QPolygonF({QPointF(3, 26), QPointF(7.5, 32), QPointF(3, 38)});
    p.setBrush(Qt::white);
    p.drawPolygon(tri);
    return img;
}

QImage CenterTile()
{
    QImage img(64, 64, QImage::Format_RGB32);
    img.fill(QColor(0xEE, 0xF4, 0xFB));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xE2, 0xEC, 0xF8), 1));
    for (int k = -64; k < 64; k += 16)
        p.drawLine(QPointF(k, 64), QPointF(k + 64, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD8, 0xE6, 0xF6));
    p.drawEllipse(QPointF(8, 8), 1.2, 1.2);
    p.drawEllipse(QPointF(40, 40), 1.2, 1.2);
    return img;
}

// The emblem of the main area and the login dialog: a lightning bolt in a ring.
QImage Title()
{
    QImage img(160, 160, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(64, 56), 90);
    g.setColorAt(0, QColor(0x4F, 0x9A, 0xF0));
    g.setColorAt(1, QColor(0x15, 0x4A, 0xA8));
    p.setPen(QPen(QColor(255, 255, 255, 230), 6));
    p.setBrush(g);
    p.drawEllipse(QPointF(80, 80), 74, 74);
    QPainterPath bolt;
    bolt.moveTo(92, 22);
    bolt.lineTo(48, 90);
    bolt.lineTo(78, 90);
    bolt.lineTo(66, 138);
    bolt.lineTo(114, 66);
    bolt.lineTo(84, 66);
    bolt.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xD2, 0x3F));
    p.drawPath(bolt);
    return img;
}

QImage CloseSys(bool hover)
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(hover ? QColor(0xD9, 0x3F, 0x3F) : QColor(0x6E, 0x8C, 0xB8));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
    return img;
}

QImage GroupIcon()
{
    return Badge(kBrightBlue, [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (int i = 0; i < 3; ++i) {
            p.drawEllipse(QPointF(9, 9 + i * 7), 2.2, 2.2);
            p.drawRoundedRect(QRectF(13, 7.5 + i * 7, 12, 3), 1.5, 1.5);
        }
    });
}

// Double chevron: up while the group is open, down while it is closed.
QImage Chevron(bool up)
{
    QImage big(32, 32, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x7F, 0xA8, 0xDE), 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 14.5, 14.5);
    p.setPen(QPen(kDeepBlue, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int i = 0; i < 2; ++i) {
        const double y = (up ? 13 : 10) + i * 8;
        const double d = up ? -5 : 5;
        p.drawPolyline(
            QPolygonF({QPointF(9.5, y - d / 2), QPointF(16, y + d / 2), QPointF(22.5, y - d / 2)}));
    }
    p.end();
    return big.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumora-resgen OUTDIR [MENU.tsv]\n");
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("Bmp"));
    out.mkpath(QStringLiteral("Icon"));
    bool ok = true;
    const auto save = [&](const QImage &img, const QString &name) {
        ok = Save(img, out.filePath(name)) && ok;
    };
    save(Arrow(true, false), QStringLiteral("Bmp/GoLeft1.bmp"));
    save(Arrow(true, true), QStringLiteral("Bmp/GoLeft2.bmp"));
    save(Arrow(false, false), QStringLiteral("Bmp/GoRight1.bmp"));
    save(Arrow(false, true), QStringLiteral("Bmp/GoRight2.bmp"));
    save(CenterTile(), QStringLiteral("Bmp/CenterBK.bmp"));
    save(Title(), QStringLiteral("Bmp/Title.png"));
    save(CloseSys(false), QStringLiteral("Bmp/CloseSys1.png"));
    save(CloseSys(true), QStringLiteral("Bmp/CloseSys2.png"));
    save(GroupIcon(), QStringLiteral("Icon/Yjcd.ico"));
    save(Chevron(true), QStringLiteral("Icon/Cdzt0.ico"));
    save(Chevron(false), QStringLiteral("Icon/Cdzt1.ico"));

    if (argc > 2) {
        QFile menu(QString::fromLocal8Bit(argv[2]));
        if (!menu.open(QIODevice::ReadOnly | QIODevice::Text)) {
            std::fprintf(stderr, "cannot read %s\n", argv[2]);
            return 1;
        }
        QTextStream in(&menu);
        while (!in.atEnd()) {
            const QStringList f = in.readLine().split(QLatin1Char('\t'));
            if (f.size() < 3 || f[0].trimmed().isEmpty())
                continue;
            const QString code = f[0].trimmed();
            const std::map<QString, Glyph> glyphs = Glyphs(GroupTint(code));
            auto it = glyphs.find(f[1].trimmed());
            if (it == glyphs.end())
                it = glyphs.find(f[2].trimmed());
            if (code.size() == 4) // a group has the group icon
                save(GroupIcon(), QStringLiteral("Icon/%1.ico").arg(code));
            else
                save(Badge(GroupTint(code), it != glyphs.end() ? it->second : Glyph()),
                     QStringLiteral("Icon/%1.ico").arg(code));
        }
    }
    return ok ? 0 : 1;
}
