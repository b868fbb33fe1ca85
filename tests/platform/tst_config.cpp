#include "platform/AppGlobals.h"
#include "platform/Config.h"
#include "platform/Encoding.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Config.ini as written by older clients on Windows (GBK, CRLF) and by this program (UTF-8).
class TestConfig : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void missingFileGivesDefaults();
    void readsChineseNames_data();
    void readsChineseNames();
    void writeKeepsOtherLinesAndEncoding_data();
    void writeKeepsOtherLinesAndEncoding();
    void writeCreatesUtf8File();
    void integerValues_data();
    void integerValues();

private:
    void writeFile(const QByteArray &bytes);
    QByteArray readFile() const;
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {
const QString kSample =
    QStringLiteral("[服务器]\r\nDBType=2\r\nIP=10.0.0.5\r\n\r\n[默认用户]\r\n用户帐号=张三\r\n\r\n"
                   "; 行业列表\r\n[科目]\r\n变电运行=1\r\n配电线路\r\n输电线路=\r\n");
}

void TestConfig::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    SetAppPath(m_dir->path());
}

void TestConfig::writeFile(const QByteArray &bytes)
{
    QFile f(ConfigFilePath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray TestConfig::readFile() const
{
    QFile f(ConfigFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestConfig::missingFileGivesDefaults()
{
    QCOMPARE(ReadConfigString(QStringLiteral("服务器"), QStringLiteral("IP")), QString());
    QCOMPARE(ReadConfigString(QStringLiteral("服务器"), QStringLiteral("IP"), QStringLiteral("127.0.0.1")),
             QStringLiteral("127.0.0.1"));
    QCOMPARE(ReadConfigInteger(QStringLiteral("服务器"), QStringLiteral("DBType"), 0), 0);
    QVERIFY(ReadConfigSectionKeys(QStringLiteral("科目")).isEmpty());
    QVERIFY(!QFile::exists(ConfigFilePath())); // reading never creates the file
}

void TestConfig::readsChineseNames_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("GBK") << Encoding::ToGbk(kSample);
    QTest::newRow("UTF-8") << kSample.toUtf8();
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + kSample.toUtf8();
    QString lf = kSample;
    lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTest::newRow("UTF-8 LF") << lf.toUtf8();
}

void TestConfig::readsChineseNames()
{
    QFETCH(QByteArray, bytes);
    writeFile(bytes);
    QCOMPARE(ReadConfigInteger(QStringLiteral("服务器"), QStringLiteral("DBType"), 0), 2);
    QCOMPARE(ReadConfigString(QStringLiteral("服务器"), QStringLiteral("IP")), QStringLiteral("10.0.0.5"));
    QCOMPARE(ReadConfigString(QStringLiteral("默认用户"), QStringLiteral("用户帐号")),
             QStringLiteral("张三"));
    // Keys in file order, with and without values; the values are not part of the list.
    QCOMPARE(
        ReadConfigSectionKeys(QStringLiteral("科目")),
        QStringList({QStringLiteral("变电运行"), QStringLiteral("配电线路"), QStringLiteral("输电线路")}));
    QCOMPARE(ReadConfigString(QStringLiteral("默认科目"), QStringLiteral("科目名称")), QString());
    // Names match case-insensitively, as the Windows profile routines do.
    QCOMPARE(ReadConfigString(QStringLiteral("服务器"), QStringLiteral("dbtype")), QStringLiteral("2"));
}

void TestConfig::writeKeepsOtherLinesAndEncoding_data()
{
    QTest::addColumn<bool>("gbk");
    QTest::newRow("GBK") << true;
    QTest::newRow("UTF-8") << false;
}

void TestConfig::writeKeepsOtherLinesAndEncoding()
{
    QFETCH(bool, gbk);
    writeFile(gbk ? Encoding::ToGbk(kSample) : kSample.toUtf8());

    QVERIFY(
        WriteConfigString(QStringLiteral("默认用户"), QStringLiteral("用户帐号"), QStringLiteral("李四")));
    QVERIFY(WriteConfigString(QStringLiteral("服务器"), QStringLiteral("IP"), QStringLiteral("192.168.1.9")));
    QVERIFY(WriteConfigString(QStringLiteral("默认科目"), QStringLiteral("科目名称"),
                              QStringLiteral("变电运行")));

    QString expected = kSample;
    expected.replace(QStringLiteral("张三"), QStringLiteral("李四"));
    expected.replace(QStringLiteral("10.0.0.5"), QStringLiteral("192.168.1.9"));
    expected += QStringLiteral("\r\n[默认科目]\r\n科目名称=变电运行\r\n");
    QCOMPARE(readFile(), gbk ? Encoding::ToGbk(expected) : expected.toUtf8());
    QCOMPARE(ReadConfigString(QStringLiteral("默认用户"), QStringLiteral("用户帐号")),
             QStringLiteral("李四"));
}

void TestConfig::writeCreatesUtf8File()
{
    QVERIFY(
        WriteConfigString(QStringLiteral("默认用户"), QStringLiteral("用户帐号"), QStringLiteral("王五")));
    QCOMPARE(readFile(), QStringLiteral("[默认用户]\r\n用户帐号=王五\r\n").toUtf8());
    // A key added to an existing section goes after its last entry.
    QVERIFY(WriteConfigString(QStringLiteral("默认用户"), QStringLiteral("备注"), QStringLiteral("x")));
    QCOMPARE(ReadConfigSectionKeys(QStringLiteral("默认用户")),
             QStringList({QStringLiteral("用户帐号"), QStringLiteral("备注")}));
}

void TestConfig::integerValues_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("ok");
    QTest::newRow("3") << "DBType=3" << 3 << true;
    QTest::newRow("blanks") << "DBType = 1 " << 1 << true;
    QTest::newRow("empty value") << "DBType=" << 0 << true;
    QTest::newRow("missing key") << "IP=1.2.3.4" << 0 << true;
    QTest::newRow("not a number") << "DBType=abc" << 0 << false;
    QTest::newRow("7") << "DBType=7" << 7 << true;
}

void TestConfig::integerValues()
{
    QFETCH(QString, line);
    QFETCH(int, value);
    QFETCH(bool, ok);
    writeFile((QStringLiteral("[服务器]\n") + line + QLatin1Char('\n')).toUtf8());
    bool parsed = false;
    QCOMPARE(ReadConfigInteger(QStringLiteral("服务器"), QStringLiteral("DBType"), 0, &parsed), value);
    QCOMPARE(parsed, ok);
}

QTEST_APPLESS_MAIN(TestConfig)
#include "tst_config.moc"
