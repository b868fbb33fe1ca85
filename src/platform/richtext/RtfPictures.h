#pragma once

#include <QByteArray>
#include <QImage>

// Picture bytes as RTF carries them, turned into images. Every decoder refuses sizes that no real
// document has, so a damaged document cannot make us allocate gigabytes.
namespace RichText {

// A device-independent bitmap (\dibitmap): BITMAPINFOHEADER, palette and bits, without a file header.
QImage DecodeDib(const QByteArray &data);
// A device-dependent bitmap (\wbitmap): bare rows, top-down, 1, 8, 24 or 32 bits per pixel.
QImage DecodeWbitmap(const QByteArray &data, int width, int height, int bitsPerPixel, int widthBytes);
// The stand-in picture for content we keep but cannot draw (metafiles, objects without a result).
QImage PlaceholderImage(double width, double height);
QByteArray EncodePng(const QImage &image);

} // namespace RichText
