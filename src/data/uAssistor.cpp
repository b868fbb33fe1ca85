#include "uAssistor.h"

#include "ContentStorage.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"
#include "platform/Encoding.h"

#include <QTextDocument>

#include <algorithm>

QString TAssistor::EncodePassword(const QString &text)
{
    QByteArray bytes = Encoding::ToGbk(text);
    for (char &b : bytes)
        b = static_cast<char>(static_cast<unsigned char>(b) - 2);
    std::reverse(bytes.begin(), bytes.end());
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);

    const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        return QString::fromLatin1(bytes);
    // Text as an older client's GBK column reads it, when that spelling is exact and cannot be taken for
    // the Latin-1 form (which DecodePassword recognises by having no character above U+00FF).
    const QString gbk = Encoding::FromGbk(bytes);
    const bool wide = std::any_of(gbk.cbegin(), gbk.cend(), [](QChar c) { return c.unicode() > 0xFF; });
    if (wide && Encoding::ToGbk(gbk) == bytes)
        return gbk;
    return QString::fromLatin1(bytes);
}

QString TAssistor::DecodePassword(const QString &stored)
{
    const bool wide = std::any_of(stored.cbegin(), stored.cend(), [](QChar c) { return c.unicode() > 0xFF; });
    QByteArray bytes = wide ? Encoding::ToGbk(stored) : stored.toLatin1();
    for (char &b : bytes)
        b = static_cast<char>(static_cast<unsigned char>(b) + 2);
    std::reverse(bytes.begin(), bytes.end());
    return Encoding::FromGbk(bytes);
}

namespace {

bool Fail(QString *error, const QString &prefix, const QString &reason)
{
    if (error)
        *error = reason;
    else
        ShowError(prefix + reason);
    return false;
}

const QString kReadFailed = QStringLiteral("读取内容出现异常！原因：");
const QString kSaveFailed = QStringLiteral("保存内容出现异常！原因：");

QString UnknownField(const QString &field)
{
    return QStringLiteral("没有字段 %1").arg(field);
}

} // namespace

bool TAssistor::SaveRichEditToBlob(ClientDataSet &dataSet, const QString &field, const QTextDocument *doc,
                                   QString *error)
{
    if (dataSet.state() != ClientDataSet::Edit && dataSet.state() != ClientDataSet::Insert)
        return Fail(error, kSaveFailed, QStringLiteral("数据集不在编辑或插入状态"));
    if (!dataSet.hasField(field))
        return Fail(error, kSaveFailed, UnknownField(field));
    if (!dataSet.setValue(field, ContentStorage::SaveRichEditToBlob(doc)))
        return Fail(error, kSaveFailed, QStringLiteral("字段 %1 不能保存内容").arg(field));
    return true;
}

bool TAssistor::LoadBlobToStream(const ClientDataSet &dataSet, const QString &field, QByteArray *rtf,
                                 QString *error)
{
    rtf->clear();
    if (!dataSet.hasField(field))
        return Fail(error, kReadFailed, UnknownField(field));
    const QByteArray blob = dataSet.asBytes(field);
    if (blob.isEmpty())
        return true;
    QString reason;
    if (!ContentStorage::LoadBlobToStream(blob, rtf, &reason))
        return Fail(error, kReadFailed, reason);
    return true;
}

bool TAssistor::LoadBlobToEdit(const ClientDataSet &dataSet, const QString &field, QTextDocument *doc,
                               QString *error)
{
    doc->clear();
    if (!dataSet.hasField(field))
        return Fail(error, kReadFailed, UnknownField(field));
    QString reason;
    if (!ContentStorage::LoadBlobToEdit(dataSet.asBytes(field), doc, &reason))
        return Fail(error, kReadFailed, reason);
    return true;
}

bool TAssistor::LoadBlobToRichEdit(const ClientDataSet &dataSet, const QString &field, QTextDocument *doc,
                                   QString *error)
{
    doc->clear();
    if (!dataSet.hasField(field))
        return Fail(error, kReadFailed, UnknownField(field));
    QString reason;
    if (!ContentStorage::LoadBlobToRichEdit(dataSet.asBytes(field), doc, &reason))
        return Fail(error, kReadFailed, reason);
    return true;
}

bool TAssistor::BlobLargerThan(const ClientDataSet &dataSet, const QString &field, int n, QString *error)
{
    if (!dataSet.hasField(field)) {
        if (error)
            *error = UnknownField(field);
        return false;
    }
    return ContentStorage::BlobLargerThan(dataSet.asBytes(field), n, error);
}

QString TAssistor::QuesStateFilter(bool standard, bool pending, bool discarded)
{
    return ContentStorage::QuesStateFilter(standard, pending, discarded);
}
