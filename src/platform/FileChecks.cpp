#include "FileChecks.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool ReadAll(const QString &path, QByteArray &data, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    data = file.readAll();
    return true;
}

} // namespace

bool FileSizeWithin(const QString &path, double n, QString *error)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return false;
    return static_cast<double>(info.size()) <= n * 1048576.0;
}

bool IsBmpData(const QByteArray &data)
{
    return data.size() >= 2 && data.at(0) == 'B' && data.at(1) == 'M';
}

bool IsJpegData(const QByteArray &data)
{
    const int n = data.size();
    return n >= 4 && uchar(data.at(0)) == 0xFF && uchar(data.at(1)) == 0xD8 &&
           uchar(data.at(n - 2)) == 0xFF && uchar(data.at(n - 1)) == 0xD9;
}

bool IsBmpFile(const QString &path, QString *error)
{
    QByteArray data;
    return ReadAll(path, data, error) && IsBmpData(data);
}

bool IsJpegFile(const QString &path, QString *error)
{
    QByteArray data;
    return ReadAll(path, data, error) && IsJpegData(data);
}

bool LoadPictureImage(const QString &path, QImage &image, QByteArray *bytes, QString *error)
{
    QByteArray data;
    if (!ReadAll(path, data, error) || data.isEmpty())
        return false;
    const char *format = IsBmpData(data) ? "BMP" : IsJpegData(data) ? "JPEG" : nullptr;
    if (!format)
        return false;
    QImage decoded;
    if (!decoded.loadFromData(data, format)) {
        if (error)
            *error = QStringLiteral("图片数据已损坏，无法显示。");
        return false;
    }
    image = decoded;
    if (bytes)
        *bytes = data;
    return true;
}
