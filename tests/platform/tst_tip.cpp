#include "platform/widgets/TfrmTip.h"

#include <QLabel>
#include <QTest>

// The wait tip must be on screen, with the right text, by the time ShowTip returns.
class TestTip : public QObject
{
    Q_OBJECT
private slots:
    void showAndHide_data();
    void showAndHide();
};

void TestTip::showAndHide_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("default") << ""
                             << "请稍候，正在访问数据库...";
    QTest::newRow("blank is default") << "   "
                                      << "请稍候，正在访问数据库...";
    QTest::newRow("own text") << "正在生成试卷，请稍候..."
                              << "正在生成试卷，请稍候...";
}

void TestTip::showAndHide()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    ShowTip(true, text);
    TfrmTip *tip = TipWindow();
    QVERIFY(tip);
    QVERIFY(tip->isVisible());
    QCOMPARE(tip->tipText(), shown);
    QCOMPARE(tip->height(), 33);
    auto *panel = tip->findChild<QLabel *>(QStringLiteral("pnlTip"));
    QVERIFY(panel);
    QVERIFY(panel->font().bold());
    if (text.trimmed().isEmpty())
        QCOMPARE(tip->width(), 226);
    else
        QVERIFY(tip->width() >= QFontMetrics(panel->font()).horizontalAdvance(shown));
    ShowTip(false);
    QVERIFY(!tip->isVisible());
    QCOMPARE(TipWindow(), tip); // one window, kept
}

QTEST_MAIN(TestTip)
#include "tst_tip.moc"
