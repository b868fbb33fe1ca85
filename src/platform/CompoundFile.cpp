#include "CompoundFile.h"

#include <QList>
#include <QtEndian>
#include <algorithm>

namespace {

constexpr int kSector = 512;
constexpr quint32 kFree = 0xFFFFFFFF; // also "no stream" in directory links
constexpr quint32 kEnd = 0xFFFFFFFE;  // end of a chain
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr quint32 kDifSect = 0xFFFFFFFC;
constexpr int kHeaderDifat = 109;
constexpr int kPerSector = kSector / 4; // 128 sector numbers per FAT sector

void Put16(QByteArray &b, int at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}

void Put32(QByteArray &b, int at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

quint32 Get32(const QByteArray &b, qsizetype at)
{
    return at + 4 <= b.size() ? qFromLittleEndian<quint32>(b.constData() + at) : kEnd;
}

QByteArray DirEntry(const QString &name, quint8 type, quint32 child, quint32 start, quint32 size)
{
    QByteArray e(128, '\0');
    if (type != 0) {
        const QString n = name.left(31);
        for (int i = 0; i < n.size(); ++i)
            Put16(e, i * 2, n.at(i).unicode());
        Put16(e, 64, quint16((n.size() + 1) * 2));
        e[66] = char(type);
        e[67] = 1; // black: a one-node tree is trivially balanced
    }
    Put32(e, 68, kFree);
    Put32(e, 72, kFree);
    Put32(e, 76, child);
    Put32(e, 116, start);
    Put32(e, 120, size);
    return e;
}

} // namespace

QByteArray BuildCompoundFile(const QString &streamName, const QByteArray &stream)
{
    QByteArray data = stream;
    if (data.size() < 4096)
        data.append(QByteArray(4096 - data.size(), '\0'));
    if (data.size() % kSector)
        data.append(QByteArray(kSector - data.size() % kSector, '\0'));
    const quint32 dataSectors = quint32(data.size() / kSector);

    // FAT and DIFAT sectors also need FAT entries: grow until everything is covered.
    quint32 fatSectors = 1, difatSectors = 0;
    for (;;) {
        const quint32 total = dataSectors + 1 + fatSectors + difatSectors;
        const quint32 needFat = (total + kPerSector - 1) / kPerSector;
        const quint32 needDifat =
            needFat > kHeaderDifat ? (needFat - kHeaderDifat + kPerSector - 2) / (kPerSector - 1) : 0;
        if (needFat <= fatSectors && needDifat <= difatSectors)
            break;
        fatSectors = std::max(fatSectors, needFat);
        difatSectors = std::max(difatSectors, needDifat);
    }
    const quint32 dirSector = dataSectors;
    const quint32 firstFat = dirSector + 1;
    const quint32 firstDifat = firstFat + fatSectors;

    QByteArray fat(int(fatSectors) * kSector, '\xFF');
    for (quint32 i = 0; i < dataSectors; ++i)
        Put32(fat, int(i * 4), i + 1 < dataSectors ? i + 1 : kEnd);
    Put32(fat, int(dirSector * 4), kEnd);
    for (quint32 i = 0; i < fatSectors; ++i)
        Put32(fat, int((firstFat + i) * 4), kFatSect);
    for (quint32 i = 0; i < difatSectors; ++i)
        Put32(fat, int((firstDifat + i) * 4), kDifSect);

    QByteArray header(kSector, '\0');
    static const unsigned char sig[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::copy(std::begin(sig), std::end(sig), header.begin());
    Put16(header, 24, 0x003E);
    Put16(header, 26, 0x0003);
    Put16(header, 28, 0xFFFE);
    Put16(header, 30, 9);
    Put16(header, 32, 6);
    Put32(header, 44, fatSectors);
    Put32(header, 48, dirSector);
    Put32(header, 56, 4096);
    Put32(header, 60, kEnd);
    Put32(header, 68, difatSectors ? firstDifat : kEnd);
    Put32(header, 72, difatSectors);
    for (int i = 0; i < kHeaderDifat; ++i)
        Put32(header, 76 + i * 4, quint32(i) < fatSectors ? firstFat + quint32(i) : kFree);

    QByteArray difat(int(difatSectors) * kSector, '\xFF');
    for (quint32 k = kHeaderDifat; k < fatSectors; ++k) {
        const quint32 idx = k - kHeaderDifat;
        const quint32 sector = idx / (kPerSector - 1), slot = idx % (kPerSector - 1);
        Put32(difat, int(sector * kSector + slot * 4), firstFat + k);
    }
    for (quint32 s = 0; s < difatSectors; ++s)
        Put32(difat, int(s * kSector + (kPerSector - 1) * 4),
              s + 1 < difatSectors ? firstDifat + s + 1 : kEnd);

    QByteArray dir;
    dir += DirEntry(QStringLiteral("Root Entry"), 5, 1, kEnd, 0);
    dir += DirEntry(streamName, 2, kFree, 0, quint32(data.size()));
    dir += DirEntry(QString(), 0, kFree, 0, 0);
    dir += DirEntry(QString(), 0, kFree, 0, 0);

    QByteArray out;
    out.reserve(header.size() + data.size() + dir.size() + fat.size() + difat.size());
    out += header;
    out += data;
    out += dir;
    out += fat;
    out += difat;
    return out;
}

QByteArray ReadCompoundStream(const QByteArray &file, const QString &streamName)
{
    if (file.size() < kSector || !file.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        return {};
    const auto sectorAt = [&](quint32 s) -> qsizetype { return qsizetype(s + 1) * kSector; };
    const quint32 nFat = Get32(file, 44);
    QList<quint32> fatSectors;
    for (int i = 0; i < kHeaderDifat && quint32(fatSectors.size()) < nFat; ++i)
        fatSectors << Get32(file, 76 + i * 4);
    for (quint32 d = Get32(file, 68), guard = 0; d < kDifSect && guard < 100000; ++guard) {
        for (int i = 0; i < kPerSector - 1 && quint32(fatSectors.size()) < nFat; ++i)
            fatSectors << Get32(file, sectorAt(d) + i * 4);
        d = Get32(file, sectorAt(d) + (kPerSector - 1) * 4);
    }
    const auto next = [&](quint32 s) -> quint32 {
        const quint32 fs = s / kPerSector;
        return fs < quint32(fatSectors.size()) ? Get32(file, sectorAt(fatSectors[fs]) + (s % kPerSector) * 4)
                                               : kEnd;
    };
    const auto chain = [&](quint32 start, qsizetype limit) {
        QByteArray out;
        for (quint32 s = start, guard = 0; s < kDifSect && guard < 4000000 && out.size() < limit; ++guard) {
            if (sectorAt(s) + kSector > file.size())
                return QByteArray();
            out += file.mid(sectorAt(s), kSector);
            s = next(s);
        }
        return out;
    };
    const QByteArray dir = chain(Get32(file, 48), 1 << 24);
    for (qsizetype at = 0; at + 128 <= dir.size(); at += 128) {
        const int len = qFromLittleEndian<quint16>(dir.constData() + at + 64) / 2 - 1;
        if (dir[at + 66] != 2 || len <= 0 || len > 31)
            continue;
        QString name;
        for (int i = 0; i < len; ++i)
            name += QChar(qFromLittleEndian<quint16>(dir.constData() + at + i * 2));
        if (name.compare(streamName, Qt::CaseInsensitive) != 0)
            continue;
        const quint32 size = Get32(dir, at + 120);
        if (size < 4096)
            return {}; // mini-stream storage: we never write it
        QByteArray data = chain(Get32(dir, at + 116), size);
        return data.size() >= qsizetype(size) ? data.left(size) : QByteArray();
    }
    return {};
}
