#include "platform/richtext/RichTextDocument.h"
#include "platform/widgets/RichEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace RichText;

namespace {

QByteArray Fixture(const QString &name)
{
    QFile f(qEnvironmentVariable("LUMORA_SOURCE_DIR") + "/tests/platform/fixtures/rtf/" + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return f.readAll();
}

QList<QTextImageFormat> Pictures(const QTextDocument *doc)
{
    QList<QTextImageFormat> pictures;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                pictures.append(it.fragment().charFormat().toImageFormat());
        }
    }
    return pictures;
}

QTextCharFormat FormatAt(const QTextDocument *doc, int position)
{
    QTextCursor c(const_cast<QTextDocument *>(doc));
    c.setPosition(position + 1);
    return c.charFormat();
}

} // namespace

class TestRichEdit : public QObject
{
    Q_OBJECT

private slots:
    void loadAndSave();
    void defaultFontAndPlainText();
    void formatRanges();
    void findAndLines();
    void insertRichText();
    void insertPictureFiles_data();
    void insertPictureFiles();
    void refusedPictureFiles();
    void copyPasteKeepsPictures();
    void readOnlyWithoutUndo();
};

void TestRichEdit::loadAndSave()
{
    RichEdit re;
    re.LoadRtf(Fixture("equation.rtf"));
    QCOMPARE(re.Text(), QStringLiteral("公式 ") + QChar(QChar::ObjectReplacementCharacter) + " 结束");
    QVERIFY(!re.document()->isUndoAvailable());
    const QByteArray saved = re.SaveRtf();
    QVERIFY(saved.contains("{\\object\\objemb{\\*\\objclass Equation.3}"));

    QTemporaryDir dir;
    const QString path = dir.filePath("nr.rtf");
    QVERIFY(re.SaveToFile(path));
    RichEdit other;
    QVERIFY(other.LoadFromFile(path));
    QCOMPARE(other.Text(), re.Text());
    QString error;
    QVERIFY(!other.LoadFromFile(dir.filePath("missing.rtf"), &error));
    QVERIFY(!error.isEmpty());
}

void TestRichEdit::defaultFontAndPlainText()
{
    RichEdit re;
    re.SetText(QStringLiteral("第一段\r\n第二段"));
    QCOMPARE(re.LineCount(), 2);
    QCOMPARE(re.Text(), QStringLiteral("第一段\n第二段"));
    const QByteArray rtf = re.SaveRtf();
    QVERIFY(rtf.contains("\\fcharset134 \\'cb\\'ce\\'cc\\'e5;"));
    QVERIFY(!rtf.contains("\\fs")); // 12 pt is the default size: nothing to say
    RichEdit back;
    back.LoadRtf(rtf);
    QCOMPARE(back.Text(), re.Text());
    QCOMPARE(FormatAt(back.document(), 0).fontFamilies().toStringList(), QStringList{"宋体"});
    QCOMPARE(FormatAt(back.document(), 0).fontPointSize(), 12.0);
}

void TestRichEdit::formatRanges()
{
    RichEdit re;
    re.SetText(QStringLiteral("题目内容\n答案"));
    re.SetBold(0, 2, true);
    re.SetColor(2, 2, Qt::red);
    re.SetFontSize(5, -1, 14);
    re.SetAlignment(5, 1, Qt::AlignHCenter);
    re.SetLineSpacing(0, -1, 150);

    RichEdit back;
    back.LoadRtf(re.SaveRtf());
    const QTextDocument *doc = back.document();
    QCOMPARE(FormatAt(doc, 1).fontWeight(), int(QFont::Bold));
    QCOMPARE(FormatAt(doc, 2).fontWeight(), int(QFont::Normal));
    QCOMPARE(FormatAt(doc, 2).foreground().color(), QColor(Qt::red));
    QVERIFY(!FormatAt(doc, 4).hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(FormatAt(doc, 3).fontPointSize(), 12.0);
    QCOMPARE(FormatAt(doc, 5).fontPointSize(), 14.0);
    QCOMPARE(doc->findBlockByNumber(0).blockFormat().alignment(), Qt::AlignLeft);
    QCOMPARE(doc->findBlockByNumber(1).blockFormat().alignment(), Qt::AlignHCenter);
    QCOMPARE(doc->findBlockByNumber(0).blockFormat().lineHeight(), 150.0);
    QCOMPARE(doc->findBlockByNumber(1).blockFormat().lineHeight(), 150.0);

    re.SetSelection(2, 3);
    QCOMPARE(re.SelStart(), 2);
    QCOMPARE(re.SelLength(), 3);
    QCOMPARE(re.SelText(), QStringLiteral("内容\n"));
}

void TestRichEdit::findAndLines()
{
    RichEdit re;
    re.SetText(QStringLiteral("一、判断题\n1．>电压\n2．>电流"));
    QCOMPARE(re.FindText(QStringLiteral("．>")), 7);
    QCOMPARE(re.FindText(QStringLiteral("．>"), 8), 13);
    QCOMPARE(re.FindText(QStringLiteral("．>"), 14), -1);
    QCOMPARE(re.FindText(QString()), -1);
    QCOMPARE(re.LineFromChar(13), 2);
    QCOMPARE(re.Line(2), QStringLiteral("2．>电流"));
    QCOMPARE(re.LineStart(2), 12);
    QCOMPARE(re.LineStart(9), -1);
    // Positions in Text() are the editor's positions.
    QCOMPARE(re.Text().indexOf(QStringLiteral("2．>")), 12);
}

void TestRichEdit::insertRichText()
{
    RichEdit source;
    source.LoadRtf(Fixture("pictures.rtf"));
    RichEdit re;
    re.SetText(QStringLiteral("1．>"));
    re.AppendRtf(source.SaveRtf());
    QVERIFY(re.Text().startsWith(QStringLiteral("1．>PNG:")));
    QCOMPARE(Pictures(re.document()).size(), 4);
    for (const QTextImageFormat &f : Pictures(re.document()))
        QVERIFY(!PictureImage(re.document(), f).isNull());

    // At the caret, in the middle of the text.
    re.SetText(QStringLiteral("前后"));
    re.SetSelection(1, 0);
    re.InsertRtf(Fixture("gbk_text.rtf"));
    QCOMPARE(re.Text(), QStringLiteral("前电力系统\n1．>判断题：（  ）后"));
}

void TestRichEdit::insertPictureFiles_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("kind");
    QTest::newRow("bmp") << "BMP" << int(PictureKind::Png);
    QTest::newRow("jpeg") << "JPEG" << int(PictureKind::Jpeg);
    QTest::newRow("png") << "PNG" << int(PictureKind::Png);
    QTest::newRow("gif") << "GIF" << int(PictureKind::Png);
}

void TestRichEdit::insertPictureFiles()
{
    QFETCH(QString, format);
    QFETCH(int, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("pic." + format.toLower());
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::blue);
    if (format == "GIF") {
        // Qt writes no GIF: the well-known 1×1 one.
        QFile gif(path);
        QVERIFY(gif.open(QIODevice::WriteOnly));
        gif.write(QByteArray::fromBase64("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7"));
        image = QImage(1, 1, QImage::Format_RGB32);
    } else {
        QVERIFY(image.save(path, qPrintable(format)));
    }
    RichEdit re;
    re.SetText(QStringLiteral("图"));
    QString error;
    QVERIFY2(re.InsertPictureFromFile(path, &error), qPrintable(error));
    const QList<QTextImageFormat> pics = Pictures(re.document());
    QCOMPARE(pics.size(), 1);
    QCOMPARE(int(PictureKindOf(pics[0])), kind);
    QCOMPARE(pics[0].width(), double(image.width()));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    if (kind == int(PictureKind::Jpeg))
        QCOMPARE(PicturePayload(re.document(), pics[0]), bytes);

    RichEdit back;
    back.LoadRtf(re.SaveRtf());
    const QList<QTextImageFormat> again = Pictures(back.document());
    QCOMPARE(again.size(), 1);
    QCOMPARE(PictureImage(back.document(), again[0]).size(), image.size());
    if (kind == int(PictureKind::Jpeg))
        QCOMPARE(PicturePayload(back.document(), again[0]), bytes);
}

void TestRichEdit::refusedPictureFiles()
{
    QTemporaryDir dir;
    RichEdit re;
    QString error;
    QVERIFY(!re.InsertPictureFromFile(dir.filePath("none.bmp"), &error));
    QVERIFY(error.contains(QStringLiteral("无法打开图形文件")));
    const QString text = dir.filePath("text.bmp");
    QFile f(text);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    error.clear();
    QVERIFY(!re.InsertPictureFromFile(text, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(re.document()->isEmpty());
}

void TestRichEdit::copyPasteKeepsPictures()
{
    RichEdit source;
    source.LoadRtf(Fixture("equation.rtf"));
    source.selectAll();
    source.copy();
    RichEdit target;
    target.SetText(QStringLiteral("答："));
    target.moveCursor(QTextCursor::End);
    target.paste();
    QCOMPARE(target.Text(), QStringLiteral("答：公式 ") + QChar(QChar::ObjectReplacementCharacter) + " 结束");
    const QList<QTextImageFormat> pics = Pictures(target.document());
    QCOMPARE(pics.size(), 1);
    QCOMPARE(PictureKindOf(pics[0]), PictureKind::Object);
    QVERIFY(!PictureImage(target.document(), pics[0]).isNull());

    // A picture on the clipboard.
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    QApplication::clipboard()->setImage(image);
    RichEdit re;
    QVERIFY(re.InsertPictureFromClipboard());
    QCOMPARE(Pictures(re.document()).size(), 1);
    QApplication::clipboard()->clear();
    QString error;
    QVERIFY(!re.InsertPictureFromClipboard(&error));
    QVERIFY(!error.isEmpty());
}

void TestRichEdit::readOnlyWithoutUndo()
{
    RichEdit re;
    re.SetUndoEnabled(false);
    re.setReadOnly(true);
    re.LoadRtf(Fixture("gbk_text.rtf"));
    QTest::keyClicks(&re, "abc");
    QCOMPARE(re.Text(), QStringLiteral("电力系统\n1．>判断题：（  ）"));
    QVERIFY(!re.document()->isUndoRedoEnabled());
    // After a load, still no undo.
    re.setReadOnly(false);
    re.LoadRtf(Fixture("gbk_text.rtf"));
    QVERIFY(!re.document()->isUndoRedoEnabled());
}

QTEST_MAIN(TestRichEdit)
#include "tst_richedit.moc"
