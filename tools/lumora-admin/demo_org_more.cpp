// Demo organisation, second part: the rest of a power supply company — a production technology
// department, the distribution maintenance area with its teams, a substation maintenance team and the
// skill appraisal station — with posts, people with employee numbers (some with accounts, password
// 123456) and a photo for one of them.

#include "DemoData.h"

#include "data/uAssistor.h"
#include "data/udmMain.h"
#include "platform/ClientDataSet.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

struct Dept
{
    int key;
    int parent; // 0: top level
    int level;
    const char *name;
    const char *code;
    bool production;
    int order;
    const char *about;
};

const Dept kDepts[] = {
    {8, 0, 0, "生产技术部", "SC", false, 5, "生产计划、技术标准与安全监察"},
    {9, 0, 0, "配电运检工区", "PD", true, 4, "10kV配电线路及设备运维检修"},
    {10, 9, 1, "配电运检一班", "PD01", true, 1, "城区配电线路巡视与检修"},
    {11, 9, 1, "配电抢修班", "PD02", true, 2, "配网故障抢修，24小时值守"},
    {12, 2, 1, "变电检修班", "BD03", true, 3, "变电一次设备检修试验"},
    {13, 1, 1, "技能鉴定站", "PX01", false, 1, "职业技能鉴定考评组织"},
};

struct Post
{
    int key;
    int dept;
    const char *name;
    const char *nature;
    const char *code;
    int order;
};

const Post kPosts[] = {
    {8, 8, "生产技术专责", "管理", "SC-01", 1},   {9, 8, "安全监察专责", "管理", "SC-02", 2},
    {10, 10, "班长", "生产", "PD01-01", 1},       {11, 10, "配电运检工", "生产", "PD01-02", 2},
    {12, 11, "配电抢修工", "生产", "PD02-01", 1}, {13, 12, "变电检修工", "生产", "BD03-01", 1},
    {14, 13, "考评员", "管理", "PX01-01", 1},
};

struct Person
{
    int key;
    const char *name;
    const char *employeeNo;
    const char *account; // "" none
    int dept;
    int post;
    int role;        // 0 none
    const char *sex; // '1' male
    int education;
    int personType; // rylx
    int skill;      // jndj, 0 none
    const char *started;
};

const Person kPeople[] = {
    {12, "马志远", "PD0001", "mazy", 10, 10, 4, "1", 4, 3, 4, "2003-07-01"},
    {13, "何晓东", "PD0002", "hexd", 10, 11, 4, "1", 3, 3, 2, "2014-07-15"},
    {14, "罗丽娟", "PD0003", "", 10, 11, 0, "0", 4, 3, 2, "2016-08-01"},
    {15, "郭海涛", "PD1001", "guoht", 11, 12, 4, "1", 3, 3, 3, "2009-03-10"},
    {16, "高建军", "PD1002", "", 11, 12, 0, "1", 2, 3, 1, "2019-07-08"},
    {17, "林晓燕", "BD3001", "", 12, 13, 0, "0", 4, 3, 2, "2013-07-01"},
    {18, "谢国强", "SC0001", "xiegq", 8, 8, 0, "1", 5, 1, 0, "2000-07-20"},
    {19, "宋雅琴", "PX0101", "songyq", 13, 14, 3, "0", 5, 1, 0, "2007-09-01"},
};

QString u(const char *s)
{
    return QString::fromUtf8(s);
}

// A small head-and-shoulders picture, stored as a bitmap (the format needs no image plugin).
QByteArray PortraitBmp()
{
    QImage image(120, 160, QImage::Format_RGB32);
    image.fill(QColor(214, 230, 245));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 70, 120));
        QPainterPath body;
        body.moveTo(10, 160);
        body.cubicTo(14, 112, 106, 112, 110, 160);
        p.drawPath(body);
        p.setBrush(QColor(245, 208, 176));
        p.drawRect(52, 92, 16, 22);
        p.drawEllipse(QRectF(34, 30, 52, 66));
        p.setBrush(QColor(35, 30, 28));
        p.drawChord(QRectF(32, 24, 56, 44), 0, 180 * 16);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(52, 116), QPointF(60, 132), QPointF(68, 116)}));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

bool loadMoreOrganisation(TdmMain &dm, QString &error)
{
    if (demoHasRows(dm, QStringLiteral("select bmlsh from bm where bmlsh = 8")))
        return true;
    if (!demoHasRows(dm, QStringLiteral("select bmlsh from bm where bmlsh = 1")))
        return true; // the first part kept an organisation of its own: do not hang ours into it
    const Dialect &d = dm.dialect();
    QStringList sql;
    for (const Dept &x : kDepts)
        sql << QStringLiteral("insert into bm (bmlsh, bm_bmlsh, bmmc, bmdm, sfsczz, jb, xssx, bmms) "
                              "values (%1, %2, %3, %4, '%5', %6, %7, %8)")
                   .arg(x.key)
                   .arg(x.parent ? QString::number(x.parent) : QStringLiteral("null"))
                   .arg(demoText(dm, u(x.name)), demoText(dm, u(x.code)))
                   .arg(x.production ? 1 : 0)
                   .arg(x.level)
                   .arg(x.order)
                   .arg(demoText(dm, u(x.about)));
    for (const Post &p : kPosts)
        sql << QStringLiteral(
                   "insert into gw (gwlsh, bmlsh, gwmc, gwxz, gwdm, xssx) values (%1, %2, %3, %4, %5, %6)")
                   .arg(p.key)
                   .arg(p.dept)
                   .arg(demoText(dm, u(p.name)), demoText(dm, u(p.nature)), demoText(dm, u(p.code)))
                   .arg(p.order);
    const QString stored = TAssistor::EncodePassword(QStringLiteral("123456"));
    for (const Person &p : kPeople) {
        const bool account = *p.account != 0;
        const QDate started = QDate::fromString(u(p.started), QStringLiteral("yyyy-MM-dd"));
        sql << QStringLiteral(
                   "insert into ry (rylsh, bmlsh, gwlsh, jslsh, ryxm, zggh, dlzh, dlmm, xb, hf, "
                   "zzqklsh, xllsh, rylxlsh, jndjlsh, cjgzsj, lbqysj, sfjzpxy, sfjxjyry, sfkpsczgj, "
                   "sftkgly, mz, zzmm, zw) values (%1, %2, %3, %4, %5, %6, %7, %8, '%9', '1', 1, %10, "
                   "%11, %12, %13, %13, '0', '0', '0', '0', %14, %15, %16)")
                   .arg(p.key)
                   .arg(p.dept)
                   .arg(p.post)
                   .arg(p.role ? QString::number(p.role) : QStringLiteral("null"))
                   .arg(demoText(dm, u(p.name)), demoText(dm, u(p.employeeNo)),
                        account ? demoText(dm, u(p.account)) : QStringLiteral("null"),
                        account ? demoText(dm, stored) : QStringLiteral("null"), u(p.sex))
                   .arg(p.education)
                   .arg(p.personType)
                   .arg(p.skill ? QString::number(p.skill) : QStringLiteral("null"))
                   .arg(d.dateTimeLiteral(started.startOfDay()), demoText(dm, QStringLiteral("汉族")),
                        demoText(dm, QStringLiteral("群众")),
                        demoText(dm, p.post == 10 ? QStringLiteral("班长") : QString()));
    }
    if (!dm.execBatch(sql, error))
        return false;

    // The team leader of 配电运检一班 has a photo.
    const QString photoSql = QStringLiteral("select * from ryzp where rylsh = 12");
    ClientDataSet photo;
    if (!dm.openSql(photoSql, &photo)) {
        error = QStringLiteral("cannot read ryzp");
        return false;
    }
    if (!photo.isEmpty())
        return true;
    photo.append();
    photo.setValue(QStringLiteral("rylsh"), 12);
    photo.setValue(QStringLiteral("zp"), PortraitBmp());
    photo.post();
    return dm.applyDelta(photoSql, &photo, error);
}

const DemoStep step(120, "组织机构补充：配电运检、生产技术、技能鉴定，人员照片", loadMoreOrganisation);

} // namespace
