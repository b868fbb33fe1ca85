#include "XlsReader.h"

#include "platform/CompoundFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

struct Record
{
    quint16 type;
    QByteArray data;
};

quint16 U16(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 U32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

// Strings of an SST record and its CONTINUE records: a string's characters may go on in the next record
// behind a new option byte.
QStringList SharedStrings(const QList<QByteArray> &chunks)
{
    QStringList out;
    if (chunks.isEmpty() || chunks[0].size() < 8)
        return out;
    const quint32 count = U32(chunks[0], 4);
    int ci = 0;
    qsizetype at = 8;
    for (quint32 i = 0; i < count; ++i) {
        if (at >= chunks[ci].size()) {
            if (++ci >= chunks.size())
                return out;
            at = 0;
        }
        const QByteArray *c = &chunks[ci];
        quint16 remaining = U16(*c, at);
        quint8 flags = quint8((*c)[at + 2]);
        at += 3;
        int runs = (flags & 0x08) ? U16(*c, at) : 0;
        at += (flags & 0x08) ? 2 : 0;
        quint32 ext = (flags & 0x04) ? U32(*c, at) : 0;
        at += (flags & 0x04) ? 4 : 0;
        QString s;
        while (remaining > 0) {
            if (at >= c->size()) {
                if (++ci >= chunks.size())
                    return out;
                c = &chunks[ci];
                flags = quint8((*c)[0]);
                at = 1;
            }
            const bool wide = flags & 0x01;
            const qsizetype avail = (c->size() - at) / (wide ? 2 : 1);
            const int take = int(std::min<qsizetype>(avail, remaining));
            for (int k = 0; k < take; ++k) {
                s += wide ? QChar(U16(*c, at)) : QChar(quint8((*c)[at]));
                at += wide ? 2 : 1;
            }
            remaining -= quint16(take);
        }
        at += runs * 4 + ext;
        out << s;
    }
    return out;
}

} // namespace

QList<QVariantList> ReadXlsCells(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return {};
    }
    const QByteArray stream = ReadCompoundStream(f.readAll(), QStringLiteral("Workbook"));
    QList<Record> records;
    for (qsizetype at = 0; at + 4 <= stream.size();) {
        const quint16 type = U16(stream, at), size = U16(stream, at + 2);
        if (type == 0 && size == 0)
            break; // padding behind the last EOF
        records.append({type, stream.mid(at + 4, size)});
        at += 4 + size;
    }
    QList<QByteArray> sst;
    QList<QVariantList> rows;
    int sheetBofs = 0;
    const auto put = [&](int r, int c, const QVariant &v) {
        while (rows.size() <= r)
            rows.append(QVariantList());
        while (rows[r].size() <= c)
            rows[r].append(QVariant());
        rows[r][c] = v;
    };
    QStringList strings;
    for (int i = 0; i < records.size(); ++i) {
        const Record &r = records[i];
        if (r.type == 0x00FC) {
            sst = {r.data};
            for (int k = i + 1; k < records.size() && records[k].type == 0x003C; ++k)
                sst.append(records[k].data);
            strings = SharedStrings(sst);
        } else if (r.type == 0x0809 && U16(r.data, 2) == 0x0010) {
            ++sheetBofs;
        } else if (sheetBofs == 1 && r.type == 0x00FD) {
            const quint32 idx = U32(r.data, 6);
            put(U16(r.data, 0), U16(r.data, 2), idx < quint32(strings.size()) ? strings[idx] : QString());
        } else if (sheetBofs == 1 && r.type == 0x0203) {
            put(U16(r.data, 0), U16(r.data, 2), qFromLittleEndian<double>(r.data.constData() + 6));
        }
    }
    if (error && rows.isEmpty())
        *error = QStringLiteral("no cells");
    return rows;
}

QStringList ConvertToCsvWithLibreOffice(const QString &path, bool *available)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    *available = !soffice.isEmpty();
    if (soffice.isEmpty())
        return {};
    QTemporaryDir dir;
    QProcess p;
    p.start(soffice,
            {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
             QStringLiteral("--headless"), QStringLiteral("--convert-to"),
             QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"),
             dir.path(), path});
    if (!p.waitForFinished(120000))
        return {};
    QFile csv(dir.filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".csv")));
    if (!csv.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(csv.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
