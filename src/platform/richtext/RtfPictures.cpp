#include "RtfPictures.h"

#include <QBuffer>
#include <QColor>
#include <QtEndian>
#include <algorithm>

namespace RichText {

namespace {

constexpr int kMaxSide = 16000;
constexpr qint64 kMaxPixels = 40'000'000;

quint32 Le32(const QByteArray &d, int at)
{
    return qFromLittleEndian<quint32>(d.constData() + at);
}

quint16 Le16(const QByteArray &d, int at)
{
    return qFromLittleEndian<quint16>(d.constData() + at);
}

} // namespace

QImage DecodeDib(const QByteArray &data)
{
    if (data.size() < 12)
        return QImage();
    const quint32 headerSize = Le32(data, 0);
    if (headerSize < 12 || headerSize > quint32(data.size()))
        return QImage();
    const bool core = headerSize == 12;
    quint32 colors = 0;
    quint32 masks = 0;
    if (core) {
        const int bits = Le16(data, 10);
        colors = bits <= 8 ? (1u << bits) : 0;
    } else {
        if (data.size() < 40)
            return QImage();
        const int bits = Le16(data, 14);
        const quint32 compression = Le32(data, 16);
        const quint32 used = Le32(data, 32);
        colors = used ? used : (bits <= 8 ? (1u << bits) : 0);
        if (colors > 256)
            return QImage();
        if (compression == 3 && headerSize == 40)
            masks = 12;
    }
    const quint32 offBits = 14 + headerSize + masks + colors * (core ? 3 : 4);
    if (offBits > quint32(data.size()) + 14)
        return QImage();
    QByteArray file;
    file.reserve(data.size() + 14);
    file += "BM";
    char header[12];
    qToLittleEndian<quint32>(quint32(data.size() + 14), header);
    qToLittleEndian<quint32>(0, header + 4);
    qToLittleEndian<quint32>(offBits, header + 8);
    file.append(header, 12);
    file += data;
    return QImage::fromData(file, "BMP");
}

QImage DecodeWbitmap(const QByteArray &data, int width, int height, int bitsPerPixel, int widthBytes)
{
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        qint64(width) * height > kMaxPixels)
        return QImage();
    if (bitsPerPixel != 1 && bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return QImage();
    const qint64 minRow = (qint64(width) * bitsPerPixel + 7) / 8;
    qint64 stride = widthBytes > 0 ? widthBytes : ((qint64(width) * bitsPerPixel + 15) / 16) * 2;
    if (stride < minRow || stride * height > data.size())
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    const auto *bits = reinterpret_cast<const uchar *>(data.constData());
    for (int y = 0; y < height; ++y) {
        const uchar *row = bits + stride * y;
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            switch (bitsPerPixel) {
            case 1:
                out[x] = (row[x / 8] & (0x80 >> (x % 8))) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                break;
            case 8:
                out[x] = qRgb(row[x], row[x], row[x]);
                break;
            case 24:
                out[x] = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
                break;
            default:
                out[x] = qRgb(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
                break;
            }
        }
    }
    return image;
}

QImage PlaceholderImage(double width, double height)
{
    // Small image, shown scaled by the format's size: a frame on a light ground.
    const double w = std::clamp(width, 1.0, 10000.0);
    const double h = std::clamp(height, 1.0, 10000.0);
    const double scale = std::min(1.0, 64.0 / std::max(w, h));
    const int iw = std::max(1, int(w * scale));
    const int ih = std::max(1, int(h * scale));
    QImage image(iw, ih, QImage::Format_RGB32);
    image.fill(QColor(0xF2, 0xF2, 0xF2));
    const QRgb frame = qRgb(0x99, 0x99, 0x99);
    for (int x = 0; x < iw; ++x) {
        image.setPixel(x, 0, frame);
        image.setPixel(x, ih - 1, frame);
    }
    for (int y = 0; y < ih; ++y) {
        image.setPixel(0, y, frame);
        image.setPixel(iw - 1, y, frame);
    }
    return image;
}

QByteArray EncodePng(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace RichText
