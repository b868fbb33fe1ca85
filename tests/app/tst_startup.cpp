#include "app/uStartup.h"
#include "platform/AppGlobals.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The database settings read at start-up, and the refusal of a type the program cannot connect with.
class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void databaseSettings_data();
    void databaseSettings();
};

void TestStartup::databaseSettings_data()
{
    QTest::addColumn<QString>("ini"); // "" = no Config.ini at all
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("ip");
    QTest::newRow("no file") << "" << true << 0 << "127.0.0.1";
    QTest::newRow("embedded") << "[服务器]\nDBType=2\nIP=10.1.1.1\n" << true << 2 << "10.1.1.1";
    QTest::newRow("PostgreSQL") << "[服务器]\nDBType=3\n" << true << 3 << "127.0.0.1";
    QTest::newRow("named instance") << "[服务器]\nDBType=1\nIP=db1\n" << true << 1 << "db1";
    QTest::newRow("4 refused") << "[服务器]\nDBType=4\n" << false << 0 << "";
    QTest::newRow("7 refused") << "[服务器]\nDBType=7\n" << false << 0 << "";
    QTest::newRow("-1 refused") << "[服务器]\nDBType=-1\n" << false << 0 << "";
    QTest::newRow("text refused") << "[服务器]\nDBType=Access\n" << false << 0 << "";
}

void TestStartup::databaseSettings()
{
    QFETCH(QString, ini);
    QFETCH(bool, accepted);
    QFETCH(int, type);
    QFETCH(QString, ip);
    QTemporaryDir dir;
    SetAppPath(dir.path());
    if (!ini.isEmpty()) {
        QFile f(dir.filePath(QStringLiteral("Config.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(ini.toUtf8());
    }
    DBType = 0;
    const QString message = LoadDatabaseSettings();
    QCOMPARE(message.isEmpty(), accepted);
    if (accepted) {
        QCOMPARE(DBType, type);
        QCOMPARE(ServerIP, ip);
    } else {
        // The message names the value found and the values allowed.
        const QString value = ini.section(QLatin1Char('='), 1).trimmed();
        QVERIFY2(message.contains(QStringLiteral("DBType=") + value), qPrintable(message));
        for (const char *allowed : {"0", "1", "2", "3"})
            QVERIFY(message.contains(QLatin1String(allowed)));
    }
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
