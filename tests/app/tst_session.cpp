#include "app/uSession.h"
#include "app/ufrmCommon.h"
#include "data/udmMain.h"
#include "platform/widgets/RichEdit.h"
#include "support/TestDb.h"

#include <QTest>

// The objects a login creates live until the session is released; the work form's buffers are
// hidden editors that hold RTF, Chinese text included.
class TestSession : public QObject
{
    Q_OBJECT
private slots:
    void workFormLivesWithTheSession();
};

void TestSession::workFormLivesWithTheSession()
{
    TestDb db;
    REQUIRE_TESTDB(db);
    QVERIFY(!frmCommon());
    CreateSessionObjects();
    TfrmCommon *form = frmCommon();
    QVERIFY(form);
    QVERIFY(!form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("公共窗体"));
    for (const char *name : {"reContent", "reTemp", "rePaper", "reAnswer", "reMerge", "reNoPaper"})
        QVERIFY2(form->findChild<RichEdit *>(QLatin1String(name)), name);

    form->reTemp->SetText(QStringLiteral("１．>变压器的作用是什么？"));
    const QByteArray rtf = form->reTemp->SaveRtf();
    form->rePaper->LoadRtf(rtf);
    QCOMPARE(form->rePaper->Text(), QStringLiteral("１．>变压器的作用是什么？"));

    ReleaseSession();
    QVERIFY(!frmCommon());
    QVERIFY(dmMain()); // modules installed by the test stay with the test
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
