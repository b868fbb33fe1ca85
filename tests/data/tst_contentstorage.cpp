#include "data/ContentStorage.h"
#include "platform/richtext/RtfWriter.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtEndian>
#include <zlib.h>

using namespace ContentStorage;

namespace {

QByteArray Bytes(int n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        b[i] = char('a' + i % 26);
    return b;
}

QByteArray WithLength(qint32 length, const QByteArray &rest)
{
    QByteArray b(4, Qt::Uninitialized);
    qToLittleEndian<qint32>(length, b.data());
    return b + rest;
}

QByteArray Inflate(const QByteArray &zlibData, int size)
{
    QByteArray out(size, Qt::Uninitialized);
    uLongf len = uLongf(size);
    uncompress(reinterpret_cast<Bytef *>(out.data()), &len,
               reinterpret_cast<const Bytef *>(zlibData.constData()), uLong(zlibData.size()));
    out.resize(int(len));
    return out;
}

} // namespace

class TestContentStorage : public QObject
{
    Q_OBJECT

private slots:
    void storedLayout();
    void swapBoundaries_data();
    void swapBoundaries();
    void damagedValues_data();
    void damagedValues();
    void emptyValue();
    void documentRoundTrip();
    void richEditGuard_data();
    void richEditGuard();
    void blobLargerThan_data();
    void blobLargerThan();
    void quesStateFilter_data();
    void quesStateFilter();
};

void TestContentStorage::storedLayout()
{
    const QByteArray rtf = "{\\rtf1\\ansi abc}";
    const QByteArray blob = SaveStreamToBlob(rtf);
    // Length, then the zlib header of level 1 (78 01), then deflate data of the swapped document.
    QCOMPARE(blob.left(4), QByteArray("\x10\x00\x00\x00", 4));
    QCOMPARE(blob.mid(4, 2), QByteArray("\x78\x01"));
    QCOMPARE(Inflate(blob.mid(4), 16), QByteArray("\\{tr1fa\\sn iba}c"));
}

void TestContentStorage::swapBoundaries_data()
{
    QTest::addColumn<int>("size");
    for (int n : {1, 2, 99, 100, 101, 5000})
        QTest::newRow(qPrintable(QString::number(n))) << n;
}

void TestContentStorage::swapBoundaries()
{
    QFETCH(int, size);
    const QByteArray doc = Bytes(size);
    QByteArray swapped = doc;
    SwapLeadingPairs(swapped);
    for (int i = 0; i < size; ++i) {
        const int partner = i >= 100 || (i % 2 == 0 && i + 1 >= size) ? i : (i % 2 == 0 ? i + 1 : i - 1);
        QCOMPARE(swapped[i], doc[partner]);
    }
    const QByteArray blob = SaveStreamToBlob(doc);
    QCOMPARE(Inflate(blob.mid(4), size), swapped);
    QByteArray back;
    QVERIFY(LoadBlobToStream(blob, &back));
    QCOMPARE(back, doc);
}

void TestContentStorage::damagedValues_data()
{
    QTest::addColumn<QByteArray>("blob");
    QTest::addColumn<QString>("reason");
    const QByteArray good = CompressStream(Bytes(300));
    QByteArray flipped = good;
    flipped[10] = char(flipped[10] ^ 0x55);
    QTest::newRow("length 0") << WithLength(0, good.mid(4)) << "长度字段无效（0）";
    QTest::newRow("length negative") << WithLength(-5, good.mid(4)) << "长度字段无效（-5）";
    QTest::newRow("too short for length") << QByteArray("\x01\x02", 2) << "缺少长度字段";
    QTest::newRow("not zlib") << WithLength(300, QByteArray("plain text, not compressed"))
                              << "压缩数据已损坏";
    QTest::newRow("bit flip") << flipped << "压缩数据";
    QTest::newRow("truncated") << good.left(good.size() / 2) << "压缩数据不完整";
    QTest::newRow("length larger than data") << WithLength(301, good.mid(4)) << "压缩数据不完整";
    QTest::newRow("length beyond any ratio") << WithLength(0x7fffffff, good.mid(4)) << "与数据不符";
}

void TestContentStorage::damagedValues()
{
    QFETCH(QByteArray, blob);
    QFETCH(QString, reason);
    QByteArray rtf;
    QString error;
    QVERIFY(!LoadBlobToStream(blob, &rtf, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(rtf.isEmpty());

    // The editor was cleared first and stays empty.
    QTextDocument doc;
    doc.setPlainText("old content");
    error.clear();
    QVERIFY(!LoadBlobToRichEdit(blob, &doc, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(doc.isEmpty());
    QVERIFY(!BlobLargerThan(blob, 0));
}

void TestContentStorage::emptyValue()
{
    QTextDocument doc;
    doc.setPlainText("old content");
    QString error;
    QVERIFY(LoadBlobToEdit(QByteArray(), &doc, &error));
    QVERIFY(doc.isEmpty());
    QVERIFY(error.isEmpty());
    QVERIFY(!BlobLargerThan(QByteArray(), 0));
}

void TestContentStorage::documentRoundTrip()
{
    QTextDocument doc;
    QTextCursor cur(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cur.insertText(QStringLiteral("1．>"), bold);
    cur.insertText(QStringLiteral("变压器的额定容量是指什么？"));
    const QByteArray blob = SaveRichEditToBlob(&doc);
    QCOMPARE(qFromLittleEndian<qint32>(blob.constData()), qint32(RichText::WriteRtf(&doc).size()));
    QTextDocument back;
    QVERIFY(LoadBlobToEdit(blob, &back));
    QCOMPARE(back.toPlainText(), doc.toPlainText());
    QCOMPARE(back.begin().begin().fragment().charFormat().fontWeight(), int(QFont::Bold));
}

void TestContentStorage::richEditGuard_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("shown");
    QTest::newRow("10 000 000 loads") << 10'000'000 << true;
    QTest::newRow("10 000 001 refused") << 10'000'001 << false;
}

void TestContentStorage::richEditGuard()
{
    QFETCH(int, size);
    QFETCH(bool, shown);
    // A document of exactly the given size: RTF header, filler text, closing brace.
    QByteArray rtf = "{\\rtf1\\ansi ";
    rtf += QByteArray(size - rtf.size() - 1, 'x');
    rtf += '}';
    QCOMPARE(rtf.size(), size);
    const QByteArray blob = SaveStreamToBlob(rtf);

    QTextDocument doc;
    QVERIFY(LoadBlobToRichEdit(blob, &doc));
    if (shown)
        QCOMPARE(doc.characterCount(), size - 12 - 1 + 1);
    else
        QCOMPARE(doc.toPlainText(), kTooLargeMessage);
    // The editor variant without the guard always loads.
    QTextDocument plain;
    QVERIFY(LoadBlobToEdit(blob, &plain));
    QCOMPARE(plain.characterCount(), size - 12);
}

void TestContentStorage::blobLargerThan_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("larger");
    QTest::newRow("1 000 000 vs 1") << 1'000'000 << 1 << false;
    QTest::newRow("1 000 001 vs 1") << 1'000'001 << 1 << true;
    QTest::newRow("1 vs 0") << 1 << 0 << true;
    QTest::newRow("2 000 000 vs 2") << 2'000'000 << 2 << false;
}

void TestContentStorage::blobLargerThan()
{
    QFETCH(int, size);
    QFETCH(int, n);
    QFETCH(bool, larger);
    QCOMPARE(BlobLargerThan(SaveStreamToBlob(QByteArray(size, 'r')), n), larger);
}

void TestContentStorage::quesStateFilter_data()
{
    QTest::addColumn<bool>("standard");
    QTest::addColumn<bool>("pending");
    QTest::addColumn<bool>("discarded");
    QTest::addColumn<QString>("filter");
    QTest::newRow("none") << false << false << false << "()";
    QTest::newRow("standard") << true << false << false << "( stzt = '1')";
    QTest::newRow("pending") << false << true << false << "( stzt = '0')";
    QTest::newRow("discarded") << false << false << true << "( stzt = '2')";
    QTest::newRow("standard pending") << true << true << false << "( stzt = '1' or stzt = '0')";
    QTest::newRow("standard discarded") << true << false << true << "( stzt = '1' or stzt = '2')";
    QTest::newRow("pending discarded") << false << true << true << "( stzt = '0' or stzt = '2')";
    QTest::newRow("all") << true << true << true << "( stzt = '1' or stzt = '0' or stzt = '2')";
}

void TestContentStorage::quesStateFilter()
{
    QFETCH(bool, standard);
    QFETCH(bool, pending);
    QFETCH(bool, discarded);
    QFETCH(QString, filter);
    QCOMPARE(QuesStateFilter(standard, pending, discarded), filter);
}

QTEST_MAIN(TestContentStorage)
#include "tst_contentstorage.moc"
