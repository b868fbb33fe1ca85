#include "platform/CompoundFile.h"
#include "platform/XlsWriter.h"
#include "support/XlsReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The spreadsheet files of the grid export: what we write must read back cell for cell, in our own
// reader and in LibreOffice Calc (when it is installed).
class TestXlsWriter : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void libreOfficeReadsIt_data();
    void libreOfficeReadsIt();
    void largeStreamUsesExtensionSectors();
    void tooManyRowsRefused();

private:
    static SheetData Sample();
};

SheetData TestXlsWriter::Sample()
{
    SheetData s;
    s.captions = {QStringLiteral("序号"), QStringLiteral("工种名称"), QStringLiteral("分值"),
                  QStringLiteral("备注")};
    s.rows = {
        {1, QStringLiteral("变电运行"), 3.5, QStringLiteral("O'Brien \"引号\"")},
        {2, QStringLiteral("继电保护"), 10, QVariant()},
        {3, QString(), -2, QStringLiteral("a,b")},
    };
    return s;
}

void TestXlsWriter::roundTrip_data()
{
    QTest::addColumn<int>("extraRows");
    QTest::addColumn<int>("longText");
    QTest::newRow("small") << 0 << 0;
    // Thousands of distinct strings and one long text: the string table spans several CONTINUE records and
    // strings are split across record boundaries.
    QTest::newRow("continued strings") << 4000 << 20000;
}

void TestXlsWriter::roundTrip()
{
    QFETCH(int, extraRows);
    QFETCH(int, longText);
    SheetData sheet = Sample();
    for (int i = 0; i < extraRows; ++i)
        sheet.rows.append(
            {i + 4, QStringLiteral("试题%1号").arg(i), i * 0.25, QStringLiteral("行%1").arg(i)});
    if (longText)
        sheet.rows.append(
            {0, QString(longText, QChar(0x7535)) + QStringLiteral("尾"), 1, QStringLiteral("end")});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.xls"));
    QString error;
    QVERIFY2(WriteXlsFile(path, sheet, &error), qPrintable(error));
    const QList<QVariantList> cells = ReadXlsCells(path, &error);
    QCOMPARE(cells.size(), sheet.rows.size() + 1);
    for (int c = 0; c < sheet.captions.size(); ++c)
        QCOMPARE(cells[0].value(c).toString(), sheet.captions[c]);
    for (int r = 0; r < sheet.rows.size(); ++r) {
        for (int c = 0; c < sheet.rows[r].size(); ++c) {
            const QVariant want = sheet.rows[r][c];
            const QVariant got = cells[r + 1].value(c);
            if (want.isNull() || (want.typeId() == QMetaType::QString && want.toString().isEmpty()))
                QVERIFY(got.isNull() || got.toString().isEmpty());
            else if (want.typeId() == QMetaType::QString)
                QCOMPARE(got.toString(), want.toString());
            else
                QCOMPARE(got.toDouble(), want.toDouble());
        }
    }
}

void TestXlsWriter::libreOfficeReadsIt_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("extraRows");
    QTest::newRow("xls") << "list.xls" << 0;
    QTest::newRow("xlsx") << "list.xlsx" << 0;
    // Strings split over CONTINUE records must come out whole in another reader too.
    QTest::newRow("xls continued strings") << "list.xls" << 3000;
}

void TestXlsWriter::libreOfficeReadsIt()
{
    QFETCH(QString, name);
    QFETCH(int, extraRows);
    SheetData sheet = Sample();
    const QString longText = QString(9000, QChar(0x7535)) + QStringLiteral("尾");
    for (int i = 0; i < extraRows; ++i)
        sheet.rows.append({i + 4, i == extraRows / 2 ? longText : QStringLiteral("试题%1").arg(i)});
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QString error;
    QVERIFY2(WriteSpreadsheetFile(path, sheet, &error), qPrintable(error));
    bool available = false;
    const QStringList lines = ConvertToCsvWithLibreOffice(path, &available);
    if (!available)
        QSKIP("LibreOffice is not installed");
    const QStringList expected = {
        QStringLiteral("序号,工种名称,分值,备注"),
        QStringLiteral("1,变电运行,3.5,\"O'Brien \"\"引号\"\"\""),
        QStringLiteral("2,继电保护,10,"),
        QStringLiteral("3,,-2,\"a,b\""),
    };
    QCOMPARE(lines.mid(0, 4), expected);
    QCOMPARE(lines.size(), 4 + extraRows);
    for (int i = 0; i < extraRows; ++i) {
        const QString text = i == extraRows / 2 ? longText : QStringLiteral("试题%1").arg(i);
        QCOMPARE(lines[4 + i], QStringLiteral("%1,%2,,").arg(i + 4).arg(text));
    }
}

void TestXlsWriter::largeStreamUsesExtensionSectors()
{
    // 8 MB needs more than the 109 allocation sectors the header can list.
    QByteArray stream(8 * 1024 * 1024 + 123, '\0');
    for (qsizetype i = 0; i < stream.size(); ++i)
        stream[i] = char((i * 7) & 0xFF);
    const QByteArray file = BuildCompoundFile(QStringLiteral("Workbook"), stream);
    QCOMPARE(ReadCompoundStream(file, QStringLiteral("Workbook")).left(stream.size()), stream);
}

void TestXlsWriter::tooManyRowsRefused()
{
    SheetData sheet;
    sheet.captions = {QStringLiteral("a")};
    for (int i = 0; i < kXlsMaxRows; ++i)
        sheet.rows.append(QVariantList{i});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.xls"));
    QString error;
    QVERIFY(!WriteXlsFile(path, sheet, &error));
    QVERIFY(error.contains(QStringLiteral(".xlsx")));
    QVERIFY(!QFile::exists(path));
    // The newer format takes it.
    QVERIFY2(WriteXlsxFile(dir.filePath(QStringLiteral("big.xlsx")), sheet, &error), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestXlsWriter)
#include "tst_xlswriter.moc"
