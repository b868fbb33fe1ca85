#include "data/ContentStorage.h"
#include "data/DataAccess.h"
#include "data/uAssistor.h"
#include "platform/ClientDataSet.h"
#include "platform/richtext/RichTextDocument.h"
#include "platform/richtext/RtfReader.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QFile>
#include <QTest>
#include <QTextDocument>

// The content operations of TAssistor on client data sets, and content stored in a real database.
class TestAssistorContent : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void saveNeedsEditState();
    void damagedContentIsShown();
    void emptyFieldLoadsEmpty();
    void questionContentThroughDatabase();

private:
    static void MakeBlobs(ClientDataSet &ds);
    std::unique_ptr<ScriptedDialogs> m_dialogs;
};

void TestAssistorContent::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void TestAssistorContent::cleanup()
{
    m_dialogs.reset();
}

void TestAssistorContent::MakeBlobs(ClientDataSet &ds)
{
    ds.setFields({{"id", QMetaType::Int}, {"stnr", QMetaType::QByteArray}});
}

void TestAssistorContent::saveNeedsEditState()
{
    ClientDataSet ds;
    MakeBlobs(ds);
    ds.append();
    ds.setValue("id", 1);
    ds.post();
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("题目"));
    QVERIFY(!TAssistor::SaveRichEditToBlob(ds, "stnr", &doc));
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存内容出现异常！原因：数据集不在编辑或插入状态"));
    QVERIFY(ds.isNull("stnr"));

    ds.edit();
    QVERIFY(TAssistor::SaveRichEditToBlob(ds, "stnr", &doc));
    ds.post();
    QTextDocument back;
    QVERIFY(TAssistor::LoadBlobToEdit(ds, "stnr", &back));
    QCOMPARE(back.toPlainText(), QStringLiteral("题目"));

    ds.edit();
    QString error;
    QVERIFY(!TAssistor::SaveRichEditToBlob(ds, "nosuch", &doc, &error));
    QVERIFY(error.contains("nosuch"));
}

void TestAssistorContent::damagedContentIsShown()
{
    ClientDataSet ds;
    MakeBlobs(ds);
    ds.append();
    ds.setValue("stnr", QByteArray("\x00\x00\x00\x00garbage", 11));
    ds.post();
    QTextDocument doc;
    doc.setPlainText("old");
    QVERIFY(!TAssistor::LoadBlobToRichEdit(ds, "stnr", &doc));
    QVERIFY(doc.isEmpty());
    QVERIFY(m_dialogs->lastText().startsWith(QStringLiteral("读取内容出现异常！原因：长度字段无效（0）")));

    // With an error out-parameter the caller reports it: nothing is shown.
    m_dialogs->clear();
    QString error;
    QVERIFY(!TAssistor::LoadBlobToEdit(ds, "stnr", &doc, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(m_dialogs->texts().isEmpty());
    QVERIFY(!TAssistor::BlobLargerThan(ds, "stnr", 0));
    QVERIFY(m_dialogs->texts().isEmpty());
}

void TestAssistorContent::emptyFieldLoadsEmpty()
{
    ClientDataSet ds;
    MakeBlobs(ds);
    ds.append();
    ds.post();
    QTextDocument doc;
    doc.setPlainText("old");
    QVERIFY(TAssistor::LoadBlobToEdit(ds, "stnr", &doc));
    QVERIFY(doc.isEmpty());
    QByteArray rtf = "x";
    QVERIFY(TAssistor::LoadBlobToStream(ds, "stnr", &rtf));
    QVERIFY(rtf.isEmpty());
    QVERIFY(!TAssistor::BlobLargerThan(ds, "stnr", 0));
    QCOMPARE(TAssistor::QuesStateFilter(true, false, true), QStringLiteral("( stzt = '1' or stzt = '2')"));
    QVERIFY(m_dialogs->texts().isEmpty());
}

void TestAssistorContent::questionContentThroughDatabase()
{
    TestDb db;
    REQUIRE_TESTDB(db);
    QFile f(qEnvironmentVariable("LUMORA_SOURCE_DIR") + "/tests/platform/fixtures/rtf/equation.rtf");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QTextDocument content;
    RichText::ReadRtf(f.readAll(), &content);

    const QString sql = QStringLiteral("select * from st where stlsh = 1");
    ClientDataSet ds;
    QVERIFY(OpenSql(sql, &ds));
    ds.append();
    ds.setValue("stlsh", 1);
    ds.setValue("stzt", "1");
    QVERIFY(TAssistor::SaveRichEditToBlob(ds, "stnr", &content));
    ds.post();
    QString error;
    QVERIFY2(ApplyDelta(sql, &ds, error), qPrintable(error));

    // Another read, as another form would do it: the bytes come back exactly, the object intact.
    ClientDataSet check;
    QVERIFY(OpenSql(sql, &check));
    QCOMPARE(check.asBytes("stnr"), ds.asBytes("stnr"));
    QTextDocument back;
    QVERIFY(TAssistor::LoadBlobToRichEdit(check, "stnr", &back));
    QCOMPARE(back.toPlainText(), content.toPlainText());
    QVERIFY(!TAssistor::BlobLargerThan(check, "stnr", 1));
    QVERIFY(TAssistor::BlobLargerThan(check, "stnr", 0));
    QVERIFY(m_dialogs->texts().isEmpty());
}

QTEST_MAIN(TestAssistorContent)
#include "tst_assistorcontent.moc"
