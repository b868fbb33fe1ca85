#include "ContentStorage.h"

#include "platform/richtext/RtfReader.h"
#include "platform/richtext/RtfWriter.h"

#include <QTextDocument>
#include <QtEndian>
#include <algorithm>
#include <zlib.h>

namespace ContentStorage {

namespace {

// deflate never expands by more than this factor, so a length field beyond it cannot be honest.
constexpr qint64 kMaxInflateRatio = 1032;

void SetError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

void SwapLeadingPairs(QByteArray &bytes)
{
    const qsizetype end = std::min<qsizetype>(bytes.size(), 100) & ~qsizetype(1);
    char *p = bytes.data();
    for (qsizetype i = 0; i < end; i += 2)
        std::swap(p[i], p[i + 1]);
}

QByteArray CompressStream(const QByteArray &bytes)
{
    uLongf size = compressBound(uLong(bytes.size()));
    QByteArray out(qsizetype(size) + 4, Qt::Uninitialized);
    qToLittleEndian<qint32>(qint32(bytes.size()), out.data());
    const int rc = compress2(reinterpret_cast<Bytef *>(out.data() + 4), &size,
                             reinterpret_cast<const Bytef *>(bytes.constData()), uLong(bytes.size()), 1);
    if (rc != Z_OK)
        return QByteArray(); // only on memory exhaustion
    out.resize(qsizetype(size) + 4);
    return out;
}

bool DecompressStream(const QByteArray &blob, QByteArray *out, QString *error)
{
    out->clear();
    if (blob.size() < 4) {
        SetError(error, QStringLiteral("内容不完整，缺少长度字段"));
        return false;
    }
    const qint32 length = qFromLittleEndian<qint32>(blob.constData());
    if (length <= 0) {
        SetError(error, QStringLiteral("长度字段无效（%1），不是压缩内容").arg(length));
        return false;
    }
    const qint64 compressed = blob.size() - 4;
    if (length > compressed * kMaxInflateRatio + 64) {
        SetError(error, QStringLiteral("压缩数据已损坏（长度字段 %1 与数据不符）").arg(length));
        return false;
    }

    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) {
        SetError(error, QStringLiteral("无法初始化解压缩"));
        return false;
    }
    // Grow the buffer with the data rather than trusting the length field for the allocation.
    QByteArray buffer;
    buffer.resize(std::min<qint64>(length, std::max<qint64>(compressed * 4, 65536)));
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(blob.constData() + 4));
    zs.avail_in = uInt(compressed);
    qint64 produced = 0;
    int rc = Z_OK;
    while (produced < length) {
        if (produced == buffer.size())
            buffer.resize(std::min<qint64>(length, buffer.size() * 2));
        zs.next_out = reinterpret_cast<Bytef *>(buffer.data() + produced);
        zs.avail_out = uInt(buffer.size() - produced);
        rc = inflate(&zs, Z_NO_FLUSH);
        produced = buffer.size() - zs.avail_out;
        if (rc == Z_STREAM_END || (rc != Z_OK && rc != Z_BUF_ERROR))
            break;
        if (rc == Z_BUF_ERROR && zs.avail_in == 0)
            break; // input used up
    }
    const QString message = zs.msg ? QString::fromLatin1(zs.msg) : QString();
    inflateEnd(&zs);
    if (rc == Z_DATA_ERROR || rc == Z_NEED_DICT || rc == Z_MEM_ERROR || rc == Z_STREAM_ERROR) {
        SetError(
            error,
            QStringLiteral("压缩数据已损坏（%1）").arg(message.isEmpty() ? QString::number(rc) : message));
        return false;
    }
    if (produced < length) {
        SetError(error,
                 QStringLiteral("压缩数据不完整（应有 %1 字节，只得到 %2 字节）").arg(length).arg(produced));
        return false;
    }
    buffer.resize(length);
    *out = std::move(buffer);
    return true;
}

QByteArray SaveStreamToBlob(const QByteArray &rtf)
{
    // The same bytes as CompressStream on a swapped copy, without copying a document of megabytes:
    // the swapped head goes to the compressor from a small buffer, the rest straight from the input.
    QByteArray head = rtf.left(100);
    SwapLeadingPairs(head);
    z_stream zs{};
    if (deflateInit(&zs, 1) != Z_OK)
        return QByteArray();
    const uLong bound = deflateBound(&zs, uLong(rtf.size())) + 64;
    QByteArray out(qsizetype(bound) + 4, Qt::Uninitialized);
    qToLittleEndian<qint32>(qint32(rtf.size()), out.data());
    zs.next_out = reinterpret_cast<Bytef *>(out.data() + 4);
    zs.avail_out = uInt(bound);
    zs.next_in = reinterpret_cast<Bytef *>(head.data());
    zs.avail_in = uInt(head.size());
    const bool more = rtf.size() > head.size();
    int rc = deflate(&zs, more ? Z_NO_FLUSH : Z_FINISH);
    if (more && rc == Z_OK) {
        zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(rtf.constData() + head.size()));
        zs.avail_in = uInt(rtf.size() - head.size());
        rc = deflate(&zs, Z_FINISH);
    }
    const qsizetype written = qsizetype(zs.total_out);
    deflateEnd(&zs);
    if (rc != Z_STREAM_END) {
        QByteArray scrambled = rtf;
        SwapLeadingPairs(scrambled);
        return CompressStream(scrambled);
    }
    out.resize(written + 4);
    return out;
}

bool LoadBlobToStream(const QByteArray &blob, QByteArray *rtf, QString *error)
{
    if (!DecompressStream(blob, rtf, error))
        return false;
    SwapLeadingPairs(*rtf);
    return true;
}

QByteArray SaveRichEditToBlob(const QTextDocument *doc)
{
    return SaveStreamToBlob(RichText::WriteRtf(doc));
}

namespace {

bool LoadBlob(const QByteArray &blob, QTextDocument *doc, bool guard, QString *error)
{
    doc->clear();
    if (blob.isEmpty())
        return true;
    QByteArray rtf;
    if (!LoadBlobToStream(blob, &rtf, error))
        return false;
    if (guard && rtf.size() > kRichEditLimit) {
        doc->setPlainText(kTooLargeMessage);
        return true;
    }
    RichText::ReadRtf(rtf, doc);
    return true;
}

} // namespace

bool LoadBlobToEdit(const QByteArray &blob, QTextDocument *doc, QString *error)
{
    return LoadBlob(blob, doc, false, error);
}

bool LoadBlobToRichEdit(const QByteArray &blob, QTextDocument *doc, QString *error)
{
    return LoadBlob(blob, doc, true, error);
}

bool BlobLargerThan(const QByteArray &blob, int n, QString *error)
{
    if (blob.isEmpty())
        return false;
    // Only the length is needed, but a value that does not decode has no trustworthy length.
    QByteArray rtf;
    if (!LoadBlobToStream(blob, &rtf, error))
        return false;
    return rtf.size() > qint64(n) * 1'000'000;
}

QString QuesStateFilter(bool standard, bool pending, bool discarded)
{
    QString text;
    if (standard)
        text = QStringLiteral(" stzt = '1'");
    if (pending)
        text = text.isEmpty() ? QStringLiteral(" stzt = '0'") : text + QStringLiteral(" or stzt = '0'");
    if (discarded)
        text = text.isEmpty() ? QStringLiteral(" stzt = '2'") : text + QStringLiteral(" or stzt = '2'");
    return QLatin1Char('(') + text + QLatin1Char(')');
}

} // namespace ContentStorage
