#include "platform/FileChecks.h"
#include "platform/os/Processes.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestFileChecks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sizeLimit_data();
    void sizeLimit();
    void signatures_data();
    void signatures();
    void loadPicture();
    void unreadableFileReportsError();
    void killProcessEndsFirstMatchOnly();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
};

void TestFileChecks::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString TestFileChecks::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(bytes);
    return path;
}

void TestFileChecks::sizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("within");
    QTest::newRow("empty file") << qint64(0) << true;
    QTest::newRow("exactly 2 MiB") << qint64(2 * 1048576) << true;
    QTest::newRow("one byte over") << qint64(2 * 1048576 + 1) << false;
}

void TestFileChecks::sizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(bool, within);
    const QString path = write(QStringLiteral("size.bin"), QByteArray(size, 'x'));
    QCOMPARE(FileSizeWithin(path, 2), within);
    QVERIFY(!FileSizeWithin(QString(), 2));
    QVERIFY(!FileSizeWithin(m_dir.filePath(QStringLiteral("missing.bin")), 2));
}

void TestFileChecks::signatures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("bmp");
    QTest::addColumn<bool>("jpeg");
    QTest::newRow("BM header") << QByteArray("BM\x00\x01", 4) << true << false;
    QTest::newRow("JPEG ends") << QByteArray("\xFF\xD8\x00\x00\xFF\xD9", 6) << false << true;
    QTest::newRow("JPEG cut off") << QByteArray("\xFF\xD8\x00\x00\xFF", 5) << false << false;
    QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1a\n", 8) << false << false;
    QTest::newRow("one byte") << QByteArray("B") << false << false;
    QTest::newRow("empty") << QByteArray() << false << false;
}

void TestFileChecks::signatures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, bmp);
    QFETCH(bool, jpeg);
    const QString path = write(QStringLiteral("sig.bin"), bytes);
    QCOMPARE(IsBmpFile(path), bmp);
    QCOMPARE(IsJpegFile(path), jpeg);
}

void TestFileChecks::loadPicture()
{
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(red.save(&buffer, "JPEG"));
    }
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(red.save(&buffer, "PNG"));
    }
    QImage image;
    QByteArray bytes;
    QVERIFY(LoadPictureImage(write(QStringLiteral("p.jpg"), jpeg), image, &bytes));
    QCOMPARE(image.size(), QSize(4, 3));
    QCOMPARE(bytes, jpeg); // the original bytes, so a JPEG is stored as it came

    // A PNG named .jpg, an empty file and a broken JPEG body are refused; the image stays as it was.
    QVERIFY(!LoadPictureImage(write(QStringLiteral("q.jpg"), png), image));
    QVERIFY(!LoadPictureImage(write(QStringLiteral("e.jpg"), QByteArray()), image));
    QVERIFY(
        !LoadPictureImage(write(QStringLiteral("b.jpg"), QByteArray("\xFF\xD8garbage\xFF\xD9", 11)), image));
    QCOMPARE(image.size(), QSize(4, 3));
}

void TestFileChecks::unreadableFileReportsError()
{
    if (::geteuid() == 0)
        QSKIP("root can read every file");
    const QString path = write(QStringLiteral("locked.bmp"), QByteArray("BM"));
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    QString error;
    QVERIFY(!IsBmpFile(path, &error));
    QVERIFY(!error.isEmpty());
}

void TestFileChecks::killProcessEndsFirstMatchOnly()
{
    // Two copies of sleep under a name nothing else on the machine uses.
    const QString sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
    QVERIFY(!sleep.isEmpty());
    const QString name = QStringLiteral("lumora_kill_probe");
    const QString copy = m_dir.filePath(name);
    QVERIFY(QFile::copy(sleep, copy));
    QFile::setPermissions(copy, QFile::permissions(copy) | QFileDevice::ExeOwner);

    QProcess first, second;
    first.start(copy, {QStringLiteral("30")});
    QVERIFY(first.waitForStarted());
    second.start(copy, {QStringLiteral("30")});
    QVERIFY(second.waitForStarted());
    QVERIFY(first.processId() < second.processId());

    QVERIFY(!KillProcess(name.toUpper())); // the match is case-sensitive
    QVERIFY(!KillProcess(name.left(10)));  // and exact
    QVERIFY(KillProcess(name));
    QVERIFY(first.waitForFinished(5000));
    QCOMPARE(second.state(), QProcess::Running);
    QVERIFY(KillProcess(name));
    QVERIFY(second.waitForFinished(5000));
    QVERIFY(!KillProcess(name));
}

QTEST_GUILESS_MAIN(TestFileChecks)
#include "tst_filechecks.moc"
