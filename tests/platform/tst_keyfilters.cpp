#include "platform/KeyFilters.h"

#include <QLineEdit>
#include <QTest>

class TestKeyFilters : public QObject
{
    Q_OBJECT
private slots:
    void filters_data();
    void filters();
    void editBoxTyping_data();
    void editBoxTyping();
};

void TestKeyFilters::filters_data()
{
    QTest::addColumn<QChar>("key");
    QTest::addColumn<bool>("digitPasses");
    QTest::addColumn<bool>("decimalPasses");
    QTest::newRow("0") << QChar(u'0') << true << true;
    QTest::newRow("9") << QChar(u'9') << true << true;
    QTest::newRow("backspace") << QChar(u'\b') << true << true;
    QTest::newRow("carriage return") << QChar(u'\r') << true << true;
    QTest::newRow("line feed") << QChar(u'\n') << true << true;
    QTest::newRow(".") << QChar(u'.') << false << true;
    QTest::newRow("-") << QChar(u'-') << false << false;
    QTest::newRow("a") << QChar(u'a') << false << false;
    QTest::newRow("E") << QChar(u'E') << false << false;
    QTest::newRow("space") << QChar(u' ') << false << false;
    QTest::newRow("full-width 1") << QChar(u'１') << false << false;
    QTest::newRow("Chinese") << QChar(u'五') << false << false;
}

void TestKeyFilters::filters()
{
    QFETCH(QChar, key);
    QFETCH(bool, digitPasses);
    QFETCH(bool, decimalPasses);
    QChar k = key;
    FilterDigitKey(k);
    QCOMPARE(k, digitPasses ? key : QChar());
    k = key;
    FilterDecimalKey(k);
    QCOMPARE(k, decimalPasses ? key : QChar());
}

void TestKeyFilters::editBoxTyping_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits keep digits") << int(KeyCharFilter::Digits) << "12a-3. 4"
                                        << "1234";
    QTest::newRow("decimal keeps point") << int(KeyCharFilter::Decimal) << "1.5x"
                                         << "1.5";
    QTest::newRow("decimal drops minus") << int(KeyCharFilter::Decimal) << "-2"
                                         << "2";
}

void TestKeyFilters::editBoxTyping()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLineEdit edit;
    KeyCharFilter::install(&edit, KeyCharFilter::Kind(kind));
    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.text(), shown);
    // Keys that type nothing still work: Backspace, cursor movement, Enter reaches the box.
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), shown.left(shown.size() - 1));
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClicks(&edit, QStringLiteral("7"));
    QCOMPARE(edit.text(), QStringLiteral("7") + shown.left(shown.size() - 1));
    bool returned = false;
    connect(&edit, &QLineEdit::returnPressed, this, [&] { returned = true; });
    QTest::keyClick(&edit, Qt::Key_Return);
    QVERIFY(returned);
}

QTEST_MAIN(TestKeyFilters)
#include "tst_keyfilters.moc"
