#include "platform/SharedServices.h"

#include <QTest>

class TestSharedServices : public QObject
{
    Q_OBJECT
private slots:
    void compareAnswer_data();
    void compareAnswer();
    void toHalfWidth_data();
    void toHalfWidth();
    void cmToPoints_data();
    void cmToPoints();
    void numerals();
};

void TestSharedServices::compareAnswer_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("standard");
    QTest::addColumn<bool>("right");

    // Judgement: only the two symbols count as a given answer.
    QTest::newRow("judge √ 正确") << "1"
                                  << "√"
                                  << "正确" << true;
    QTest::newRow("judge √ N") << "1"
                               << "√"
                               << "N" << false;
    QTest::newRow("judge √ ×") << "1"
                               << "√"
                               << "×" << false;
    QTest::newRow("judge × N") << "1"
                               << "×"
                               << "N" << true;
    QTest::newRow("judge × 错误") << "1"
                                  << "×"
                                  << "错误" << true;
    QTest::newRow("judge √ inside text") << "1"
                                         << "√"
                                         << "答案：对" << true;
    QTest::newRow("judge 对 given") << "1"
                                    << "对"
                                    << "对" << false;
    QTest::newRow("judge empty") << "1"
                                 << ""
                                 << "正确" << false;
    // Single choice: case of the standard does not matter, the given letter must occur in it.
    QTest::newRow("single A a") << "2"
                                << "A"
                                << "a" << true;
    QTest::newRow("single B B") << "2"
                                << "B"
                                << "B" << true;
    QTest::newRow("single B 答案：b") << "2"
                                      << "B"
                                      << "答案：b" << true;
    QTest::newRow("single B A") << "2"
                                << "B"
                                << "A" << false;
    QTest::newRow("single empty") << "2"
                                  << ""
                                  << "A" << false;
    // A Chinese character around the letter is never changed by the case folding.
    QTest::newRow("single 选B。") << "2"
                                  << "B"
                                  << "选b。" << true;
    QTest::newRow("single 中 not a letter") << "2"
                                            << "C"
                                            << "中文" << false;
    QTest::newRow("single full-width Ｂ") << "2"
                                          << "B"
                                          << "Ｂ" << false;
    // Multiple choice: letters a–f of the standard, first occurrences, upper-cased; order free.
    QTest::newRow("multi AC CA") << "5"
                                 << "AC"
                                 << "CA" << true;
    QTest::newRow("multi AC A,C") << "5"
                                  << "AC"
                                  << "A,C" << true;
    QTest::newRow("multi CA ＡＣ") << "5"
                                   << "CA"
                                   << "ＡＣ" << true;
    QTest::newRow("multi AC full-width") << "5"
                                         << "AC"
                                         << "ＡＣ" << true;
    QTest::newRow("multi A ＡＣ") << "5"
                                  << "A"
                                  << "ＡＣ" << false;
    QTest::newRow("multi A AC") << "5"
                                << "A"
                                << "AC" << false;
    QTest::newRow("multi ACD AC") << "5"
                                  << "ACD"
                                  << "AC" << false;
    QTest::newRow("multi lower standard") << "5"
                                          << "BD"
                                          << "b d" << true;
    QTest::newRow("multi full-width comma") << "5"
                                            << "AB"
                                            << "A，B" << true;
    QTest::newRow("multi Chinese around") << "5"
                                          << "AB"
                                          << "答案为A与B" << true;
    // Chinese characters never yield stray letters (their GBK bytes once did).
    QTest::newRow("multi only Chinese") << "5"
                                        << ""
                                        << "正确答案" << true;
    QTest::newRow("multi Chinese is no letter") << "5"
                                                << "A"
                                                << "中国" << false;
    QTest::newRow("multi G ignored") << "5"
                                     << "AG"
                                     << "AG" << false;
    // Ordering: upper-cased, only 0–9 and A–T kept, order matters.
    QTest::newRow("order b a d c") << "12"
                                   << "BADC"
                                   << "b a d c" << true;
    QTest::newRow("order ABCD vs b a d c") << "12"
                                           << "ABCD"
                                           << "b a d c" << false;
    QTest::newRow("order C、A、D、B") << "12"
                                      << "CADB"
                                      << "C、A、D、B" << true;
    QTest::newRow("order cadb") << "12"
                                << "CADB"
                                << "cadb" << true;
    QTest::newRow("order CABD") << "12"
                                << "CABD"
                                << "C、A、D、B" << false;
    QTest::newRow("order digits") << "12"
                                  << "3142"
                                  << "3,1,4,2" << true;
    QTest::newRow("order U dropped") << "12"
                                     << "AB"
                                     << "AUB" << true;
    // Subjective types are scored by hand.
    QTest::newRow("type 3") << "3"
                            << "A"
                            << "A" << false;
    QTest::newRow("type empty") << ""
                                << "A"
                                << "A" << false;
}

void TestSharedServices::compareAnswer()
{
    QFETCH(QString, type);
    QFETCH(QString, given);
    QFETCH(QString, standard);
    QFETCH(bool, right);
    QCOMPARE(CompareAnswer(type, given, standard), right);
}

void TestSharedServices::toHalfWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("letters") << "ＡＢｃ"
                             << "ABc";
    QTest::newRow("digits and comma") << "１，２"
                                      << "1,2";
    QTest::newRow("ideographic space") << "A　B"
                                       << "A B";
    QTest::newRow("Chinese untouched") << "中文答案"
                                       << "中文答案";
    QTest::newRow("Chinese punctuation untouched") << "、。"
                                                   << "、。";
    QTest::newRow("tilde end of range") << "～"
                                        << "~";
    QTest::newRow("empty") << ""
                           << "";
}

void TestSharedServices::toHalfWidth()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ToHalfWidth(text), expected);
}

void TestSharedServices::cmToPoints_data()
{
    QTest::addColumn<double>("cm");
    QTest::addColumn<int>("points");
    QTest::newRow("2.54") << 2.54 << 72;
    QTest::newRow("1") << 1.0 << 28;
    QTest::newRow("0") << 0.0 << 0;
    QTest::newRow("A4 width 21") << 21.0 << 595;
    QTest::newRow("A4 height 29.7") << 29.7 << 842;
    // 0.0352777… cm is exactly half a point: ties go to the even neighbour.
    QTest::newRow("half point to 0") << (0.5 * 2.54 / 72.0) << 0;
    QTest::newRow("1.5 points to 2") << (1.5 * 2.54 / 72.0) << 2;
    QTest::newRow("2.5 points to 2") << (2.5 * 2.54 / 72.0) << 2;
}

void TestSharedServices::cmToPoints()
{
    QFETCH(double, cm);
    QFETCH(int, points);
    QCOMPARE(CmToPoints(cm), points);
}

void TestSharedServices::numerals()
{
    QCOMPARE(ChineseNumerals.size(), 14);
    QCOMPARE(ChineseNumeral(1), QStringLiteral("一"));
    QCOMPARE(ChineseNumeral(14), QStringLiteral("十四"));
    QCOMPARE(ChineseNumeral(15), QString());
    QCOMPARE(RomanNumeral(2), QStringLiteral("Ⅱ"));
    QCOMPARE(RomanNumeral(0), QString());
}

QTEST_APPLESS_MAIN(TestSharedServices)
#include "tst_sharedservices.moc"
