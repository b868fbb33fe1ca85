#include "platform/richtext/RichTextDocument.h"
#include "platform/richtext/RtfReader.h"
#include "platform/richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

using namespace RichText;

namespace {

QString FixtureDir()
{
    return qEnvironmentVariable("LUMORA_SOURCE_DIR") + QStringLiteral("/tests/platform/fixtures/rtf/");
}

QByteArray Fixture(const QString &name)
{
    QFile f(FixtureDir() + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(f.fileName()));
    return f.readAll();
}

struct Run
{
    QString text;
    QTextCharFormat format;
};

// The text runs of the whole document in order, tables included, pictures left out.
QList<Run> Runs(const QTextDocument &doc)
{
    QList<Run> runs;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (!it.fragment().charFormat().isImageFormat())
                runs.append({it.fragment().text(), it.fragment().charFormat()});
        }
    }
    return runs;
}

QTextCharFormat FormatOf(const QTextDocument &doc, const QString &text)
{
    for (const Run &r : Runs(doc)) {
        if (r.text.contains(text))
            return r.format;
    }
    qWarning() << "no run holds" << text;
    return QTextCharFormat();
}

QList<QTextImageFormat> Pictures(const QTextDocument &doc)
{
    QList<QTextImageFormat> pictures;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                for (int i = 0; i < it.fragment().length(); ++i)
                    pictures.append(it.fragment().charFormat().toImageFormat());
            }
        }
    }
    return pictures;
}

QTextTable *FirstTable(const QTextDocument &doc)
{
    for (QTextFrame *f : doc.rootFrame()->childFrames()) {
        if (auto *t = qobject_cast<QTextTable *>(f))
            return t;
    }
    return nullptr;
}

QString CellText(QTextTable *t, int r, int c)
{
    QTextCursor cur = t->cellAt(r, c).firstCursorPosition();
    cur.setPosition(t->cellAt(r, c).lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cur.selectedText();
}

// A canonical description of a document: what a reader sees of it. Two documents with the same
// description look and print the same.
QString Describe(const QTextDocument &doc)
{
    QString out;
    QTextStream s(&out);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        s << "[" << int(bf.alignment()) << " " << bf.leftMargin() << " " << bf.textIndent() << " "
          << bf.lineHeight() << "/" << bf.lineHeightType() << (QTextCursor(b).currentTable() ? " T" : "")
          << "]";
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat()) {
                const QTextImageFormat im = f.toImageFormat();
                s << "<img " << int(PictureKindOf(im)) << " " << qRound(im.width()) << "x"
                  << qRound(im.height()) << " " << PicturePayload(&doc, im).size() << ">";
                continue;
            }
            s << "{" << f.fontFamilies().toStringList().value(0) << " " << f.fontPointSize() << " "
              << f.fontWeight() << f.fontItalic() << f.fontUnderline() << f.fontStrikeOut() << " "
              << (f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name() : "-") << " "
              << (f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color().name() : "-") << " "
              << f.verticalAlignment() << "}" << it.fragment().text();
        }
        s << "\n";
    }
    return out;
}

const QStringList kFixtures = {"gbk_text.rtf",   "charset_1252.rtf", "unicode.rtf",  "formats.rtf",
                               "paragraphs.rtf", "table.rtf",        "pictures.rtf", "wmetafile.rtf",
                               "equation.rtf",   "page_setup.rtf"};

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT

private slots:
    void gbkTextUnderAnsicpg936();
    void cjkFontInsideWesternDocument();
    void unicodeWithFallbacks();
    void characterFormats();
    void paragraphFormats();
    void table();
    void pictures();
    void deviceDependentBitmap();
    void metafileKeptVerbatim();
    void equationObjectKeptWithResult();
    void pageSettingsAndFooter();
    void damagedInput_data();
    void damagedInput();
    void plainTextInput();
    void skippedGroupJumpsOverBin();
    void roundTrip_data();
    void roundTrip();
    void writtenDocumentsAreStable_data();
    void writtenDocumentsAreStable();
    void writerOutputForOldReaders();
    void insertAtCursor();
    void footerWithPageFields();
    void fuzzRegressions();
};

void TestRtf::gbkTextUnderAnsicpg936()
{
    QTextDocument doc;
    RtfReadInfo info;
    ReadRtf(Fixture("gbk_text.rtf"), &doc, &info);
    QVERIFY(info.isRtf);
    QVERIFY(!info.unbalanced);
    // The final \par closes the last paragraph; the NUL after the document is ignored.
    QCOMPARE(doc.toPlainText(), QStringLiteral("电力系统\n1．>判断题：（  ）"));
    QCOMPARE(doc.blockCount(), 2);
    QCOMPARE(FormatOf(doc, "电力").fontFamilies().toStringList(), QStringList{"宋体"});
    QCOMPARE(FormatOf(doc, "电力").fontPointSize(), 12.0);
}

void TestRtf::cjkFontInsideWesternDocument()
{
    QTextDocument doc;
    ReadRtf(Fixture("charset_1252.rtf"), &doc);
    // é comes from Windows-1252 (font 0); 中文 from GBK (font 1), its first character split over a
    // line break between its two escapes.
    QCOMPARE(doc.toPlainText(), QStringLiteral("Café 中文 end"));
    QCOMPARE(FormatOf(doc, "Caf").fontFamilies().toStringList(), QStringList{"Arial"});
    QCOMPARE(FormatOf(doc, "Caf").fontPointSize(), 10.0);
    QCOMPARE(FormatOf(doc, "中文").fontFamilies().toStringList(), QStringList{"宋体"});
}

void TestRtf::unicodeWithFallbacks()
{
    QTextDocument doc;
    ReadRtf(Fixture("unicode.rtf"), &doc);
    // \uc1 skips "?", \uc2 skips two \'xx, \uc0 skips nothing, negative N and a surrogate pair.
    QCOMPARE(doc.toPlainText(), QStringLiteral("电压 输电 变电站 鐵 😀"));
}

void TestRtf::characterFormats()
{
    QTextDocument doc;
    ReadRtf(Fixture("formats.rtf"), &doc);
    QCOMPARE(doc.toPlainText(), QStringLiteral("粗体 红色 大字 斜体 下划线 删除 H2O x2 高亮 黑体蓝"));
    QCOMPARE(FormatOf(doc, "粗体").fontWeight(), int(QFont::Bold));
    QCOMPARE(FormatOf(doc, "红色").fontWeight(), int(QFont::Normal));
    QCOMPARE(FormatOf(doc, "红色").foreground().color(), QColor(255, 0, 0));
    QVERIFY(!FormatOf(doc, "大字").hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(FormatOf(doc, "大字").fontPointSize(), 18.0);
    QVERIFY(FormatOf(doc, "斜体").fontItalic());
    QVERIFY(FormatOf(doc, "下划线").fontUnderline());
    QVERIFY(FormatOf(doc, "删除").fontStrikeOut());
    QCOMPARE(FormatOf(doc, "高亮").background().color(), QColor(255, 255, 0));
    QCOMPARE(FormatOf(doc, "黑体蓝").fontFamilies().toStringList(), QStringList{"黑体"});
    QCOMPARE(FormatOf(doc, "黑体蓝").foreground().color(), QColor(0, 0, 255));
    const QList<Run> runs = Runs(doc);
    int sub = 0, super = 0;
    for (const Run &r : runs) {
        if (r.text == "2" && r.format.verticalAlignment() == QTextCharFormat::AlignSubScript)
            ++sub;
        if (r.text == "2" && r.format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            ++super;
    }
    QCOMPARE(sub, 1);
    QCOMPARE(super, 1);
}

void TestRtf::paragraphFormats()
{
    QTextDocument doc;
    ReadRtf(Fixture("paragraphs.rtf"), &doc);
    QCOMPARE(doc.blockCount(), 4);
    const QTextBlockFormat centred = doc.findBlockByNumber(0).blockFormat();
    QCOMPARE(centred.alignment(), Qt::AlignHCenter);
    QCOMPARE(centred.lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    QCOMPARE(centred.lineHeight(), 150.0);
    const QTextBlock indented = doc.findBlockByNumber(1);
    QCOMPARE(indented.text(), QStringLiteral("缩进段落\tA") + QChar(QChar::LineSeparator) + "B");
    QCOMPARE(indented.blockFormat().leftMargin(), 48.0); // 720 twips
    QCOMPARE(indented.blockFormat().rightMargin(), 24.0);
    QCOMPARE(indented.blockFormat().textIndent(), -24.0);
    QCOMPARE(indented.blockFormat().topMargin(), 8.0);
    QCOMPARE(indented.blockFormat().bottomMargin(), 16.0);
    // \pard resets the paragraph: the indent does not reach the next one.
    QCOMPARE(doc.findBlockByNumber(2).blockFormat().alignment(), Qt::AlignRight);
    QCOMPARE(doc.findBlockByNumber(2).blockFormat().leftMargin(), 0.0);
    const QTextBlockFormat fixed = doc.findBlockByNumber(3).blockFormat();
    QCOMPARE(fixed.alignment(), Qt::AlignJustify);
    QCOMPARE(fixed.lineHeightType(), int(QTextBlockFormat::FixedHeight));
    QCOMPARE(fixed.lineHeight(), 20.0);
}

void TestRtf::table()
{
    QTextDocument doc;
    ReadRtf(Fixture("table.rtf"), &doc);
    QTextTable *t = FirstTable(doc);
    QVERIFY(t);
    QCOMPARE(t->rows(), 3);
    QCOMPARE(t->columns(), 2);
    QCOMPARE(CellText(t, 0, 0), QStringLiteral("名称"));
    QCOMPARE(CellText(t, 0, 1), QStringLiteral("数值"));
    QCOMPARE(CellText(t, 1, 1), QStringLiteral("220V"));
    QCOMPARE(CellText(t, 2, 0), QStringLiteral("电流"));
    // The nested table's cells are kept as text of the outer cell.
    QVERIFY(CellText(t, 2, 1).contains("n1\tn2"));
    QVERIFY(CellText(t, 2, 1).endsWith("5A"));
    const QList<QTextLength> widths = t->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 2);
    QCOMPARE(widths[0].rawValue(), 2880 / 15.0);
    QVERIFY(doc.toPlainText().startsWith(QStringLiteral("表格前\n")));
    QVERIFY(doc.toPlainText().endsWith(QStringLiteral("\n表格后")));
    // Text after the table is outside it.
    QTextCursor after = doc.find(QStringLiteral("表格后"));
    QVERIFY(!after.currentTable());
}

void TestRtf::pictures()
{
    QTextDocument doc;
    ReadRtf(Fixture("pictures.rtf"), &doc);
    QCOMPARE(doc.toPlainText().remove(QChar::ObjectReplacementCharacter),
             QStringLiteral("PNG:\nJPEG:\nDIB:\nBIN:"));
    const QList<QTextImageFormat> pics = Pictures(doc);
    QCOMPARE(pics.size(), 4);

    QCOMPARE(PictureKindOf(pics[0]), PictureKind::Png);
    QCOMPARE(PictureImage(&doc, pics[0]).size(), QSize(8, 6));
    QCOMPARE(PictureImage(&doc, pics[0]).pixelColor(0, 3), QColor(200, 30, 30));
    QCOMPARE(pics[0].width(), 120.0); // \picwgoal1800
    QCOMPARE(pics[0].height(), 90.0);

    QCOMPARE(PictureKindOf(pics[1]), PictureKind::Jpeg);
    QCOMPARE(PictureImage(&doc, pics[1]).size(), QSize(16, 8));
    QCOMPARE(pics[1].width(), 16.0); // 480 twips at 50 %
    QCOMPARE(pics[1].height(), 8.0);
    QVERIFY(PicturePayload(&doc, pics[1]).startsWith("\xff\xd8"));

    QCOMPARE(PictureKindOf(pics[2]), PictureKind::Png);
    const QImage dib = PictureImage(&doc, pics[2]);
    QCOMPARE(dib.size(), QSize(2, 2));
    QCOMPARE(dib.pixelColor(0, 1), QColor(255, 0, 0)); // bottom-up: first row stored is the last shown
    QCOMPARE(dib.pixelColor(1, 0), QColor(255, 255, 255));

    // \bin data is taken as it is.
    QCOMPARE(PictureImage(&doc, pics[3]).size(), QSize(8, 6));
    QCOMPARE(PicturePayload(&doc, pics[3]), PicturePayload(&doc, pics[0]));
}

void TestRtf::deviceDependentBitmap()
{
    // 2×2 at 24 bits, rows top-down padded to 8 bytes: red, green / blue, white.
    const QByteArray rtf =
        "{\\rtf1{\\pict\\wbitmap0\\picw2\\pich2\\wbmbitspixel24\\wbmplanes1\\wbmwidthbytes8 "
        "0000ff00ff000000ff0000ffffff0000}}";
    QTextDocument doc;
    ReadRtf(rtf, &doc);
    const QList<QTextImageFormat> pics = Pictures(doc);
    QCOMPARE(pics.size(), 1);
    const QImage image = PictureImage(&doc, pics[0]);
    QCOMPARE(image.size(), QSize(2, 2));
    QCOMPARE(image.pixelColor(0, 0), QColor(255, 0, 0));
    QCOMPARE(image.pixelColor(1, 0), QColor(0, 255, 0));
    QCOMPARE(image.pixelColor(0, 1), QColor(0, 0, 255));
    QCOMPARE(image.pixelColor(1, 1), QColor(255, 255, 255));
    // Written back as PNG.
    QVERIFY(WriteRtf(&doc).contains("\\pngblip"));
}

void TestRtf::metafileKeptVerbatim()
{
    const QByteArray rtf = Fixture("wmetafile.rtf");
    QTextDocument doc;
    ReadRtf(rtf, &doc);
    const QList<QTextImageFormat> pics = Pictures(doc);
    QCOMPARE(pics.size(), 1);
    QCOMPARE(PictureKindOf(pics[0]), PictureKind::Metafile);
    const QByteArray payload = PicturePayload(&doc, pics[0]);
    QVERIFY(payload.startsWith("{\\pict\\wmetafile8"));
    QVERIFY(payload.endsWith("}"));
    QVERIFY(rtf.contains(payload));
    QCOMPARE(pics[0].width(), 48.0); // shown at \picwgoal720 × \pichgoal360
    QCOMPARE(pics[0].height(), 24.0);
    QVERIFY(!PictureImage(&doc, pics[0]).isNull());
}

void TestRtf::equationObjectKeptWithResult()
{
    const QByteArray rtf = Fixture("equation.rtf");
    QTextDocument doc;
    ReadRtf(rtf, &doc);
    QCOMPARE(doc.toPlainText(), QStringLiteral("公式 ") + QChar(QChar::ObjectReplacementCharacter) + " 结束");
    const QList<QTextImageFormat> pics = Pictures(doc);
    QCOMPARE(pics.size(), 1);
    QCOMPARE(PictureKindOf(pics[0]), PictureKind::Object);
    const QByteArray payload = PicturePayload(&doc, pics[0]);
    QVERIFY(payload.startsWith("{\\object\\objemb{\\*\\objclass Equation.3}"));
    QVERIFY(payload.endsWith("}}}"));
    QVERIFY(rtf.contains(payload));
    // Shown at the size of its result picture.
    QCOMPARE(pics[0].width(), 80.0);
    QCOMPARE(pics[0].height(), 40.0);
}

void TestRtf::pageSettingsAndFooter()
{
    QTextDocument doc;
    ReadRtf(Fixture("page_setup.rtf"), &doc);
    const PageSetup page = GetPageSetup(&doc);
    QCOMPARE(page.paperWidth, 23811);
    QCOMPARE(page.paperHeight, 16838);
    QCOMPARE(page.marginLeft, 2268);
    QVERIFY(page.landscape);
    QCOMPARE(page.columns, 2);
    QCOMPARE(page.columnSpacing, 567);
    QVERIFY(page.headerFooter.startsWith("{\\footer"));
    QCOMPARE(HeaderFooterText(page, "footer"), QStringLiteral("第 1 页 共 3 页"));
    QCOMPARE(HeaderFooterText(page, "header"), QString());
    // The footer is not body text; a field shows its result; generator, info, stylesheet are skipped.
    QCOMPARE(doc.toPlainText(), QStringLiteral("试卷正文 链接\n"));
}

void TestRtf::damagedInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("unbalanced");
    QTest::newRow("unclosed") << QByteArray("{\\rtf1 abc{\\b def") << "abcdef" << true;
    QTest::newRow("extra close") << QByteArray("{\\rtf1 abc}}") << "abc" << false;
    QTest::newRow("bin past end") << QByteArray("{\\rtf1 a{\\pict\\pngblip\\bin99999 xx}") << "a" << true;
    QTest::newRow("bad hex") << QByteArray("{\\rtf1 a\\'zzb\\'4}") << "azzb" << false;
    QTest::newRow("huge numbers") << QByteArray("{\\rtf1\\fs99999999999\\li-99999999999 \\u99999999999?x}")
                                  << "x" << false;
    QTest::newRow("lone lead byte") << QByteArray("{\\rtf1\\ansi\\ansicpg936 a\\'b5}") << "a" << false;
    QTest::newRow("cell without table") << QByteArray("{\\rtf1 a\\cell b\\row c\\par}") << "\na\nb\nc\n\n"
                                        << false;
    QTest::newRow("deep nesting") << QByteArray("{\\rtf1 ") + QByteArray(100000, '{') + "x" +
                                         QByteArray(100000, '}') + "y}"
                                  << "y" << false;
    QTest::newRow("picture of garbage")
        << QByteArray("{\\rtf1 a{\\pict\\pngblip 0102}b}") << "a\uFFFCb" << false;
}

void TestRtf::damagedInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(bool, unbalanced);
    QTextDocument doc;
    RtfReadInfo info;
    ReadRtf(rtf, &doc, &info);
    QCOMPARE(doc.toPlainText(), text);
    QCOMPARE(info.unbalanced, unbalanced);
}

void TestRtf::plainTextInput()
{
    QTextDocument doc;
    RtfReadInfo info;
    ReadRtf(QStringLiteral("第一行\r\n第二行").toUtf8(), &doc, &info);
    QVERIFY(!info.isRtf);
    QCOMPARE(doc.toPlainText(), QStringLiteral("第一行\n第二行"));
    ReadRtf(QByteArray("\xb5\xe7\xc1\xa6"), &doc, &info); // GBK
    QCOMPARE(doc.toPlainText(), QStringLiteral("电力"));
}

void TestRtf::skippedGroupJumpsOverBin()
{
    // The binary data holds braces and backslashes that must not be read as RTF.
    const QByteArray rtf = QByteArray("{\\rtf1 a{\\*\\unknown \\bin6 }}{\\b}}b}");
    QTextDocument doc;
    RtfReadInfo info;
    ReadRtf(rtf, &doc, &info);
    QCOMPARE(doc.toPlainText(), QStringLiteral("ab"));
    QVERIFY(!info.unbalanced);
}

void TestRtf::roundTrip_data()
{
    QTest::addColumn<QString>("fixture");
    for (const QString &name : kFixtures)
        QTest::newRow(qPrintable(name)) << name;
}

void TestRtf::roundTrip()
{
    QFETCH(QString, fixture);
    QTextDocument first;
    ReadRtf(Fixture(fixture), &first);
    const QByteArray written = WriteRtf(&first);
    QTextDocument second;
    RtfReadInfo info;
    ReadRtf(written, &second, &info);
    QVERIFY(!info.unbalanced);
    QCOMPARE(Describe(second), Describe(first));
    QCOMPARE(GetPageSetup(&second), GetPageSetup(&first));
    const QList<QTextImageFormat> a = Pictures(first), b = Pictures(second);
    QCOMPARE(b.size(), a.size());
    for (int i = 0; i < a.size(); ++i) {
        QCOMPARE(PicturePayload(&second, b[i]), PicturePayload(&first, a[i]));
        QCOMPARE(PictureImage(&second, b[i]), PictureImage(&first, a[i]));
    }
    // Writing twice gives the same bytes.
    QCOMPARE(WriteRtf(&second), written);
}

void TestRtf::writtenDocumentsAreStable_data()
{
    QTest::addColumn<int>("shape");
    QTest::newRow("empty") << 0;
    QTest::newRow("table first") << 1;
    QTest::newRow("trailing empty paragraphs") << 2;
    QTest::newRow("picture only") << 3;
    QTest::newRow("two tables in a row") << 4;
}

// Documents built in the editor rather than read: write, read, write gives the same bytes and the
// same document.
void TestRtf::writtenDocumentsAreStable()
{
    QFETCH(int, shape);
    QTextDocument doc;
    QTextCursor cur(&doc);
    switch (shape) {
    case 1: {
        QTextTable *t = cur.insertTable(2, 2);
        t->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("右下"));
        break;
    }
    case 2:
        cur.insertText(QStringLiteral("答案\n\n\n"));
        break;
    case 3: {
        QImage image(3, 3, QImage::Format_RGB32);
        image.fill(Qt::red);
        InsertPictureImage(cur, image);
        break;
    }
    case 4:
        cur.insertText(QStringLiteral("前"));
        cur.insertTable(1, 3);
        cur.movePosition(QTextCursor::End);
        cur.insertTable(2, 1);
        break;
    default:
        break;
    }
    const QByteArray first = WriteRtf(&doc);
    QTextDocument back;
    ReadRtf(first, &back);
    // Same paragraphs, tables and pictures; runs that had no font of their own now name the default.
    QCOMPARE(back.blockCount(), doc.blockCount());
    QCOMPARE(back.rootFrame()->childFrames().size(), doc.rootFrame()->childFrames().size());
    QCOMPARE(back.toPlainText(), doc.toPlainText());
    const QByteArray second = WriteRtf(&back);
    QCOMPARE(second, first);
    QTextDocument again;
    ReadRtf(second, &again);
    QCOMPARE(Describe(again), Describe(back));
}

void TestRtf::writerOutputForOldReaders()
{
    QTextDocument doc;
    QTextCursor cur(&doc);
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("宋体")});
    f.setFontPointSize(12);
    cur.insertText(QStringLiteral("电{a}\\😀"), f);
    const QByteArray rtf = WriteRtf(&doc);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
    QVERIFY(rtf.contains("{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"));
    // \u with the GBK bytes as fallback, braces and backslash escaped, a surrogate pair as two \u.
    QVERIFY(rtf.contains("\\uc2\\u30005\\'b5\\'e7\\{a\\}\\\\"));
    QVERIFY(rtf.contains("\\uc1\\u-10179?\\u-8704?"));
}

void TestRtf::insertAtCursor()
{
    QTextDocument doc;
    QTextCursor cur(&doc);
    cur.insertText(QStringLiteral("1．>"));
    InsertRtf(Fixture("formats.rtf"), cur);
    cur.insertText(QStringLiteral("!"));
    QCOMPARE(doc.blockCount(), 1);
    QVERIFY(doc.toPlainText().startsWith(QStringLiteral("1．>粗体")));
    QVERIFY(doc.toPlainText().endsWith(QStringLiteral("黑体蓝!")));

    // A picture inserted into another document brings its image with it.
    QTextDocument target;
    QTextCursor end(&target);
    InsertRtf(Fixture("equation.rtf"), end);
    const QList<QTextImageFormat> pics = Pictures(target);
    QCOMPARE(pics.size(), 1);
    QVERIFY(!PictureImage(&target, pics[0]).isNull());
    QVERIFY(PicturePayload(&target, pics[0]).startsWith("{\\object"));
}

void TestRtf::footerWithPageFields()
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("试卷"));
    PageSetup page;
    page.paperWidth = CmToTwips(42);
    page.paperHeight = CmToTwips(29.7);
    page.landscape = true;
    page.columns = 2;
    page.columnSpacing = CmToTwips(1);
    page.headerFooter = HeaderFooterGroup("footer", QStringLiteral("第 {PAGE} 页 共 {NUMPAGES} 页"));
    SetPageSetup(&doc, page);
    const QByteArray rtf = WriteRtf(&doc);
    QVERIFY(rtf.contains("\\paperw23811\\paperh16838"));
    QVERIFY(rtf.contains("\\landscape"));
    QVERIFY(rtf.contains("\\cols2\\colsx567"));
    QVERIFY(rtf.contains("{\\field{\\*\\fldinst { PAGE }}"));
    QVERIFY(rtf.contains("{\\field{\\*\\fldinst { NUMPAGES }}"));
    QTextDocument back;
    ReadRtf(rtf, &back);
    QCOMPARE(GetPageSetup(&back), page);
    QCOMPARE(HeaderFooterText(GetPageSetup(&back), "footer"), QStringLiteral("第 1 页 共 1 页"));
    QCOMPARE(back.toPlainText(), QStringLiteral("试卷"));
}

void TestRtf::fuzzRegressions()
{
    // Inputs that once crashed or hung the reader: each must read (to anything) and write again.
    const QDir dir(FixtureDir() + "fuzz");
    for (const QString &name : dir.entryList(QDir::Files)) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QTextDocument doc;
        ReadRtf(f.readAll(), &doc);
        QTextDocument again;
        ReadRtf(WriteRtf(&doc), &again);
    }
}

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
