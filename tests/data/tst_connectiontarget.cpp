#include "data/udmMain.h"
#include "platform/AppGlobals.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

// The server address comes from the login dialog's server page: whatever is typed there must stay
// one address and never add connection settings of its own.
class TestConnectionTarget : public QObject
{
    Q_OBJECT
private slots:
    void typedAddressStaysOneValue();
};

void TestConnectionTarget::typedAddressStaysOneValue()
{
    ScriptedDialogs dialogs;
    const int savedType = DBType;
    const QString savedIp = ServerIP;
    DBType = DbPostgres;
    ServerIP = QStringLiteral("127.0.0.1' port='1");
    {
        TdmMain module(nullptr, false);
        QVERIFY(!module.isConnected());
        QVERIFY2(module.target().startsWith(QStringLiteral("host=127.0.0.1' port='1 dbname=korvax")),
                 qPrintable(module.target()));
    }
    QVERIFY(dialogs.shown.isEmpty()); // the caller reports the failure itself
    DBType = savedType;
    ServerIP = savedIp;
}

QTEST_GUILESS_MAIN(TestConnectionTarget)
#include "tst_connectiontarget.moc"
