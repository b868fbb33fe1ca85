#include "XlsWriter.h"

#include "CompoundFile.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QtEndian>
#include <cmath>
#include <xlsxwriter.h>

namespace {

constexpr int kMaxRecord = 8224; // payload limit of a BIFF8 record
constexpr quint16 kXfCell = 15;  // first cell format after the 15 style formats
constexpr quint16 kXfHeader = 16;

class Bytes
{
public:
    Bytes &u8(quint8 v)
    {
        b.append(char(v));
        return *this;
    }
    Bytes &u16(quint16 v)
    {
        char t[2];
        qToLittleEndian(v, t);
        b.append(t, 2);
        return *this;
    }
    Bytes &u32(quint32 v)
    {
        char t[4];
        qToLittleEndian(v, t);
        b.append(t, 4);
        return *this;
    }
    Bytes &f64(double v)
    {
        char t[8];
        qToLittleEndian(v, t);
        b.append(t, 8);
        return *this;
    }
    Bytes &utf16(const QString &s)
    {
        for (QChar c : s)
            u16(c.unicode());
        return *this;
    }
    // Short string with a one-byte length, always stored as UTF-16 (font and sheet names).
    Bytes &shortString(const QString &s)
    {
        u8(quint8(s.size())).u8(1);
        return utf16(s);
    }
    QByteArray b;
};

void Record(QByteArray &out, quint16 type, const QByteArray &payload)
{
    Bytes h;
    h.u16(type).u16(quint16(payload.size()));
    out += h.b;
    out += payload;
}

QString CellText(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return v.toString();
}

// Display width of a text in character cells: CJK characters take two.
int TextWidth(const QString &s)
{
    int w = 0;
    for (QChar c : s)
        w += c.unicode() >= 0x1100 ? 2 : 1;
    return w;
}

QByteArray Font(bool bold)
{
    Bytes f;
    f.u16(220).u16(0).u16(0x7FFF).u16(bold ? 700 : 400).u16(0).u8(0).u8(0).u8(0x86).u8(0);
    f.shortString(QString::fromUtf16(u"宋体"));
    return f.b;
}

QByteArray Xf(quint16 font, bool style, quint8 used, quint16 pattern, quint32 fill)
{
    Bytes x;
    x.u16(font).u16(0);
    x.u16(style ? 0xFFF5 : 0x0001); // locked; style formats have no parent, cells inherit format 0
    x.u8(0x20).u8(0).u8(0).u8(used);
    x.u32(0).u32(fill).u16(pattern);
    return x.b;
}

// The shared string table with its CONTINUE records. A string that does not fit in a record goes on
// in the next one behind a fresh option byte; a string header is never split.
void SharedStrings(QByteArray &out, const QStringList &strings, quint32 references)
{
    const int dsst = std::max(8, int(strings.size() / 128) + 1);
    QList<QPair<quint32, quint16>> buckets;
    Bytes payload;
    payload.u32(references).u32(quint32(strings.size()));
    quint16 type = 0x00FC;
    const auto flush = [&] {
        Record(out, type, payload.b);
        payload.b.clear();
        type = 0x003C;
    };
    for (int i = 0; i < strings.size(); ++i) {
        const QString &s = strings[i];
        if (payload.b.size() + 3 + (s.isEmpty() ? 0 : 2) > kMaxRecord)
            flush();
        if (i % dsst == 0)
            buckets.append({quint32(out.size() + 4 + payload.b.size()), quint16(4 + payload.b.size())});
        payload.u16(quint16(s.size())).u8(1);
        for (int pos = 0; pos < s.size();) {
            const int room = int(kMaxRecord - payload.b.size()) / 2;
            if (room == 0) {
                flush();
                payload.u8(1);
                continue;
            }
            const int take = std::min<int>(room, int(s.size()) - pos);
            payload.utf16(s.mid(pos, take));
            pos += take;
        }
    }
    flush();
    Bytes ext;
    ext.u16(quint16(dsst));
    for (const auto &b : buckets)
        ext.u32(b.first).u16(b.second).u16(0);
    Record(out, 0x00FF, ext.b);
}

} // namespace

bool IsNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return std::isfinite(v.toDouble());
    default:
        return false;
    }
}

QByteArray BuildXlsWorkbook(const SheetData &sheet, QString *error)
{
    int columns = int(sheet.captions.size());
    for (const QVariantList &row : sheet.rows)
        columns = std::max(columns, int(row.size()));
    if (sheet.rows.size() + 1 > kXlsMaxRows || columns > kXlsMaxColumns) {
        if (error)
            *error = QStringLiteral(
                         "数据超出 Excel 97-2003 格式的范围（最多 %1 行、%2 列），请保存为 .xlsx 文件。")
                         .arg(kXlsMaxRows)
                         .arg(kXlsMaxColumns);
        return {};
    }

    // Cells and the shared strings they refer to.
    QStringList strings;
    QHash<QString, quint32> index;
    quint32 references = 0;
    QList<int> widths(columns, 6);
    QByteArray cells;
    const auto text = [&](int row, int col, QString s, quint16 xf) {
        if (s.size() > kXlsMaxTextLength)
            s.truncate(kXlsMaxTextLength);
        auto it = index.find(s);
        if (it == index.end()) {
            it = index.insert(s, quint32(strings.size()));
            strings.append(s);
        }
        ++references;
        Bytes c;
        c.u16(quint16(row)).u16(quint16(col)).u16(xf).u32(it.value());
        Record(cells, 0x00FD, c.b);
        widths[col] = std::max(widths[col], std::min(60, TextWidth(s) + 2));
    };
    for (int c = 0; c < sheet.captions.size(); ++c)
        text(0, c, sheet.captions[c], kXfHeader);
    for (int r = 0; r < sheet.rows.size(); ++r) {
        const QVariantList &row = sheet.rows[r];
        for (int c = 0; c < row.size(); ++c) {
            const QVariant &v = row[c];
            if (v.isNull())
                continue;
            if (IsNumber(v)) {
                Bytes n;
                n.u16(quint16(r + 1)).u16(quint16(c)).u16(kXfCell).f64(v.toDouble());
                Record(cells, 0x0203, n.b);
                widths[c] = std::max(widths[c], std::min(60, int(v.toString().size()) + 2));
            } else {
                text(r + 1, c, CellText(v), kXfCell);
            }
        }
    }

    QByteArray globals;
    Record(globals, 0x0809, Bytes().u16(0x0600).u16(0x0005).u16(0x0DBB).u16(0x07CC).u32(0).u32(6).b);
    Record(globals, 0x0042, Bytes().u16(1200).b); // code page: UTF-16
    Record(globals, 0x003D,
           Bytes().u16(0).u16(0).u16(0x4000).u16(0x2000).u16(0x0038).u16(0).u16(0).u16(1).u16(0x0258).b);
    for (int i = 0; i < 4; ++i)
        Record(globals, 0x0031, Font(false));
    Record(globals, 0x0031, Font(true)); // index 5: there is no font 4
    for (int i = 0; i < 15; ++i)
        Record(globals, 0x00E0, Xf(0, true, i == 0 ? 0 : 0xF4, 0x20C0, 0));
    Record(globals, 0x00E0, Xf(0, false, 0, 0x20C0, 0));
    // Header: bold font, solid light grey fill (palette 22).
    Record(globals, 0x00E0, Xf(5, false, 0x48, quint16(22 | (64 << 7)), 1u << 26));
    Record(globals, 0x0293, Bytes().u16(0x8000).u8(0).u8(0xFF).b);
    const qsizetype boundSheetAt = globals.size();
    Record(globals, 0x0085, Bytes().u32(0).u8(0).u8(0).shortString(QStringLiteral("Sheet1")).b);
    SharedStrings(globals, strings, references);
    Record(globals, 0x000A, QByteArray());

    QByteArray ws;
    Record(ws, 0x0809, Bytes().u16(0x0600).u16(0x0010).u16(0x0DBB).u16(0x07CC).u32(0).u32(6).b);
    for (int c = 0; c < columns; ++c)
        Record(ws, 0x007D,
               Bytes()
                   .u16(quint16(c))
                   .u16(quint16(c))
                   .u16(quint16(widths[c] * 256))
                   .u16(kXfCell)
                   .u16(0)
                   .u16(0)
                   .b);
    Record(ws, 0x0200,
           Bytes().u32(0).u32(quint32(sheet.rows.size() + 1)).u16(0).u16(quint16(columns)).u16(0).b);
    ws += cells;
    Record(ws, 0x023E, Bytes().u16(0x06B6).u16(0).u16(0).u32(64).u16(0).u16(0).u32(0).b);
    Record(ws, 0x000A, QByteArray());

    qToLittleEndian(quint32(globals.size()), globals.data() + boundSheetAt + 4);
    return globals + ws;
}

bool WriteXlsFile(const QString &path, const SheetData &sheet, QString *error)
{
    const QByteArray workbook = BuildXlsWorkbook(sheet, error);
    if (workbook.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(BuildCompoundFile(QStringLiteral("Workbook"), workbook)) < 0 || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool WriteXlsxFile(const QString &path, const SheetData &sheet, QString *error)
{
    // libxlsxwriter writes straight into the named file: write beside it and rename on success, so a
    // failed export never leaves a broken file in place of the old one.
    const QFileInfo target(path);
    const QString temp = target.absoluteDir().filePath(
        QStringLiteral(".%1.%2.tmp").arg(target.fileName()).arg(QDateTime::currentMSecsSinceEpoch()));
    const QByteArray tempName = QFile::encodeName(temp);
    lxw_workbook *wb = workbook_new(tempName.constData());
    if (!wb) {
        if (error)
            *error = QStringLiteral("无法创建文件 %1").arg(path);
        return false;
    }
    lxw_worksheet *ws = workbook_add_worksheet(wb, "Sheet1");
    lxw_format *head = workbook_add_format(wb);
    format_set_bold(head);
    format_set_bg_color(head, 0xC0C0C0);
    QList<int> widths;
    const auto widen = [&](int c, int w) {
        while (widths.size() <= c)
            widths.append(6);
        widths[c] = std::max(widths[c], std::min(60, w + 2));
    };
    bool ok = true;
    for (int c = 0; c < sheet.captions.size() && c < LXW_COL_MAX; ++c) {
        ok = ok && worksheet_write_string(ws, 0, lxw_col_t(c), sheet.captions[c].toUtf8().constData(),
                                          head) == LXW_NO_ERROR;
        widen(c, TextWidth(sheet.captions[c]));
    }
    for (int r = 0; r < sheet.rows.size() && ok; ++r) {
        const QVariantList &row = sheet.rows[r];
        for (int c = 0; c < row.size() && ok; ++c) {
            const QVariant &v = row[c];
            if (v.isNull())
                continue;
            if (IsNumber(v)) {
                ok = worksheet_write_number(ws, lxw_row_t(r + 1), lxw_col_t(c), v.toDouble(), nullptr) ==
                     LXW_NO_ERROR;
                widen(c, int(v.toString().size()));
            } else {
                QString s = CellText(v);
                if (s.size() > kXlsMaxTextLength)
                    s.truncate(kXlsMaxTextLength);
                ok = worksheet_write_string(ws, lxw_row_t(r + 1), lxw_col_t(c), s.toUtf8().constData(),
                                            nullptr) == LXW_NO_ERROR;
                widen(c, TextWidth(s));
            }
        }
    }
    for (int c = 0; c < widths.size(); ++c)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), widths[c], nullptr);
    const lxw_error closed = workbook_close(wb);
    if (!ok || closed != LXW_NO_ERROR) {
        QFile::remove(temp);
        if (error)
            *error = ok ? QString::fromUtf8(lxw_strerror(closed)) : QStringLiteral("数据超出 Excel 的范围");
        return false;
    }
    QFile::remove(path);
    if (!QFile::rename(temp, path)) {
        QFile::remove(temp);
        if (error)
            *error = QStringLiteral("无法写入文件 %1").arg(path);
        return false;
    }
    return true;
}

bool WriteSpreadsheetFile(const QString &path, const SheetData &sheet, QString *error)
{
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return WriteXlsxFile(path, sheet, error);
    return WriteXlsFile(path, sheet, error);
}
