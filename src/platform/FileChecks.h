#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Picture and size checks used by the photo and picture inputs. A file that exists but cannot be
// read makes them return false with the reason in *error, so the caller can show its own message.

// True when the file exists and holds at most n × 1 048 576 bytes; false for an empty path or a
// missing file.
bool FileSizeWithin(const QString &path, double n, QString *error = nullptr);
// The first two bytes are "BM".
bool IsBmpFile(const QString &path, QString *error = nullptr);
// The first two bytes are FF D8 and the last two FF D9.
bool IsJpegFile(const QString &path, QString *error = nullptr);

bool IsBmpData(const QByteArray &data);
bool IsJpegData(const QByteArray &data);

// Reads a BMP or JPEG file (decided by its signature) into image; false for an empty file, any
// other format, or data that does not decode. image is left as it was on failure.
bool LoadPictureImage(const QString &path, QImage &image, QByteArray *bytes = nullptr,
                      QString *error = nullptr);
