#include "app/uEditCycle.h"
#include "app/uLogin.h"
#include "app/ufrmLogin.h"
#include "app/ufrmMain.h"
#include "bank/BankFixture.h"
#include "data/uAssistor.h"
#include "data/udmMain.h"
#include "org/uDateBox.h"
#include "org/ufrmRy.h"
#include "platform/ClientDataSet.h"
#include "platform/widgets/DataGrid.h"
#include "platform/widgets/DataTree.h"
#include "platform/widgets/PictureBox.h"
#include "support/DbRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlError>
#include <QTemporaryDir>
#include <QTest>

// 人员管理: new persons, accounts, person types, dates, passwords, photos, moving through the list, and a
// login with an account set here.
class TestRy : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void newPersonDefaults();
    void detailShowsStoredRow();
    void account_data();
    void account();
    void managementTypeOnlyForFirstType_data();
    void managementTypeOnlyForFirstType();
    void emptyDatesStayEmpty();
    void passwords_data();
    void passwords();
    void photoFile_data();
    void photoFile();
    void photoStoredAndShownAgain();
    void photoWriteFailure();
    void previousNext();
    void loginWithAccountSetHere();

private:
    void open(int dept = 1);
    QLineEdit *edit(const char *name) { return Ctl<QLineEdit>(m_form.get(), name); }
    void addPerson(int key, const QString &name, const QString &account, int dept = 1);
    static QByteArray Jpeg(int size);

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<TfrmRy> m_form;
    QTemporaryDir m_files;
};

void TestRy::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_db = std::make_unique<TestDb>();
    REQUIRE_TESTDB(*m_db);
    QVERIFY(DbExec("delete from ry where dlzh <> 'admin'"));
    QVERIFY(DbExec(
        "insert into bm (bmlsh, bm_bmlsh, bmmc, sfsczz, jb, xssx) values (1, null, '培训中心', '0', 0, 1)"));
    QVERIFY(DbExec(
        "insert into bm (bmlsh, bm_bmlsh, bmmc, sfsczz, jb, xssx) values (2, 1, '题库组', '0', 1, 1)"));
    QVERIFY(DbExec("insert into gw (gwlsh, bmlsh, gwmc, xssx) values (7, 1, '培训专责', 1)"));
    QVERIFY(DbExec("insert into gw (gwlsh, bmlsh, gwmc, xssx) values (8, 1, '题库管理员', 2)"));
    QVERIFY(DbExec("insert into js (jslsh, jsmc) values (5, '考生')"));
    QVERIFY(DbExec("insert into js (jslsh, jsmc) values (6, '考务员')"));
    QVERIFY(DbExec("insert into jsgnqx (cdbh, jslsh) values ('0405', 6)"));
    QVERIFY(DbExec("insert into jsgnqx (cdbh, jslsh) values ('040501', 6)"));
    QVERIFY(AddTrades());
}

void TestRy::cleanup()
{
    m_form.reset();
    if (m_dialogs)
        QVERIFY2(m_dialogs->unexpected.isEmpty(), qPrintable(m_dialogs->unexpected.join(u'|')));
    m_db.reset();
    m_dialogs.reset();
}

void TestRy::open(int dept)
{
    m_form = std::make_unique<TfrmRy>();
    m_form->show();
    QVERIFY(Ctl<DataTree>(m_form.get(), "dtlZzjg")->selectKey(dept));
}

void TestRy::addPerson(int key, const QString &name, const QString &account, int dept)
{
    QVERIFY(
        DbExec(QStringLiteral("insert into ry (rylsh, bmlsh, ryxm, dlzh, xb, hf) values (%1, %2, '%3', %4, "
                              "'1', '1')")
                   .arg(key)
                   .arg(dept)
                   .arg(name, account.isNull() ? QStringLiteral("null") : "'" + account + "'")));
}

// A JPEG file of exactly size bytes: a small picture with comment segments after its start marker.
QByteArray TestRy::Jpeg(int size)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray small;
    QBuffer buffer(&small);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG"))
        qFatal("no JPEG writer");
    QByteArray out = small.left(2); // FF D8
    int padding = size - small.size();
    while (padding > 0) {
        const int segment = qMin(padding, 65535 + 2);
        const int body = qMax(segment - 4, 0);
        const int length = body + 2;
        out += char(0xFF);
        out += char(0xFE);
        out += char(length >> 8);
        out += char(length & 0xFF);
        out += QByteArray(body, 'x');
        padding -= body + 4;
    }
    out += small.mid(2);
    return out;
}

void TestRy::newPersonDefaults()
{
    open();
    Click(m_form.get(), "btnAdd");
    QCOMPARE(Ctl<QTabWidget>(m_form.get(), "pcRy")->currentIndex(), 1);
    QVERIFY(Ctl<QRadioButton>(m_form.get(), "rbF")->isChecked());
    QVERIFY(Ctl<QRadioButton>(m_form.get(), "rbNo")->isChecked());
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbJs")->currentIndex(), -1);
    edit("edtRyxm")->setText(QStringLiteral(" 李四 "));
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存人员信息成功！"));
    QCOMPARE(
        DbRows("select bmlsh, ryxm, xb, hf, sfjzpxy, sftkgly, jslsh, zyzllsh from ry where ryxm = '李四'"),
        QStringList{"1|李四|0|0|0|0||"});
    QCOMPARE(DbScalar("select rylsh from ry where ryxm = '李四'"), QStringLiteral("2")); // after admin's 1
}

void TestRy::detailShowsStoredRow()
{
    QVERIFY(
        DbExec("insert into ry (rylsh, bmlsh, ryxm, zggh, xb, hf, zzqklsh, xllsh, rylxlsh, glrylxlsh, gwlsh, "
               "jslsh, zyzllsh, sftkgly, sfjzpxy, sfjxjyry, sfkpsczgj, pxyjb) values (5, 1, '王五', 'PX01', "
               "'1', '1', 2, "
               "5, 1, 3, 8, 6, 2, '1', '0', '0', '0', 3)"));
    open();
    QCOMPARE(edit("edtRyxm")->text(), QStringLiteral("王五"));
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbZzzk")->currentText(), QStringLiteral("退休"));
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbXl")->currentText(), QStringLiteral("本科"));
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbGlrylx")->currentText(), QStringLiteral("经营管理人员"));
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbGw")->currentText(), QStringLiteral("题库管理员"));
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbJs")->currentText(), QStringLiteral("考务员"));
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbZyzl")->currentText(), QStringLiteral("配电线路"));
    QCOMPARE(Ctl<QComboBox>(m_form.get(), "cbPxyjb")->currentText(), QStringLiteral("班组培训员"));
    QVERIFY(Ctl<QRadioButton>(m_form.get(), "rbM")->isChecked());
    QVERIFY(Ctl<QCheckBox>(m_form.get(), "cbSftkgly")->isChecked());
    auto *grid = Ctl<DataGrid>(m_form.get(), "dbgRy");
    QCOMPARE(grid->model()->index(0, 5).data().toString(), QStringLiteral("本科"));
    QCOMPARE(grid->model()->index(0, 6).data().toString(), QStringLiteral("退休"));
    QCOMPARE(grid->model()->index(0, 7).data().toString(), QStringLiteral("是"));
    QCOMPARE(grid->model()->index(0, 8).data().toString(), QStringLiteral("否"));
    // Saving untouched writes the same row back.
    const QStringList before = DbRows("select * from ry where rylsh = 5");
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存人员信息成功！"));
    QCOMPARE(DbRows("select * from ry where rylsh = 5"), before);
}

void TestRy::account_data()
{
    QTest::addColumn<QString>("typed"); // account typed for person 3 (stored 'wang')
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");
    QTest::newRow("unchanged though shared") << "wang"
                                             << "保存人员信息成功！"
                                             << "wang";
    QTest::newRow("another person's account") << "li"
                                              << "该帐号己存在，请重新输入！"
                                              << "wang";
    QTest::newRow("emptied while others have none") << ""
                                                    << "保存人员信息成功！"
                                                    << "";
    QTest::newRow("apostrophe") << "o'neil"
                                << "保存人员信息成功！"
                                << "o'neil";
}

void TestRy::account()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    addPerson(2, QStringLiteral("李"), QStringLiteral("li"));
    addPerson(3, QStringLiteral("王"), QStringLiteral("wang"));
    addPerson(4, QStringLiteral("王二"), QStringLiteral("wang")); // an older duplicate
    addPerson(5, QStringLiteral("无帐号"), QString());
    addPerson(6, QStringLiteral("空帐号"), QStringLiteral(""));
    open();
    QVERIFY(m_form->findChild<ClientDataSet *>(QStringLiteral("cdsRy"))->locate(QStringLiteral("rylsh"), 3));
    edit("edtDlzh")->setText(typed);
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), message);
    QCOMPARE(DbScalar("select dlzh from ry where rylsh = 3"), stored);
    QCOMPARE(edit("edtDlzh")->text(), stored);
}

void TestRy::managementTypeOnlyForFirstType_data()
{
    QTest::addColumn<int>("personType");
    QTest::addColumn<QString>("stored");
    QTest::newRow("first type writes it") << 0 << "2|1";
    QTest::newRow("other type keeps the old value") << 2 << "4|3";
}

void TestRy::managementTypeOnlyForFirstType()
{
    QFETCH(int, personType);
    QFETCH(QString, stored);
    QVERIFY(DbExec("insert into ry (rylsh, bmlsh, ryxm, rylxlsh, glrylxlsh) values (5, 1, '赵六', 1, 4)"));
    open();
    Ctl<QComboBox>(m_form.get(), "cbRylx")->setCurrentIndex(personType);
    Ctl<QComboBox>(m_form.get(), "cbGlrylx")->setCurrentIndex(1);
    Click(m_form.get(), "btnSave");
    QCOMPARE(DbRows("select glrylxlsh, rylxlsh from ry where rylsh = 5"), QStringList{stored});
}

void TestRy::emptyDatesStayEmpty()
{
    QVERIFY(
        DbExec("insert into ry (rylsh, bmlsh, ryxm, cjgzsj) values (5, 1, '有日期', '2001-08-01 00:00:00')"));
    QVERIFY(DbExec("insert into ry (rylsh, bmlsh, ryxm) values (6, 1, '无日期')"));
    open();
    auto *started = Ctl<TDateBox>(m_form.get(), "dtpCjgzsj");
    QCOMPARE(started->value(), QDate(2001, 8, 1));
    Click(m_form.get(), "btnNex");
    QCOMPARE(edit("edtRyxm")->text(), QStringLiteral("无日期"));
    QVERIFY(started->isEmpty()); // not the previous person's date
    Ctl<TDateBox>(m_form.get(), "dtpJdsj")->setValue(QDate(2020, 5, 6));
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存人员信息成功！"));
    QVERIFY(DbScalar("select cjgzsj from ry where rylsh = 6").isEmpty());
    QVERIFY(DbScalar("select txsj from ry where rylsh = 6").isEmpty());
    QVERIFY(DbScalar("select jdsj from ry where rylsh = 6").startsWith(QStringLiteral("2020-05-06")));
    QVERIFY(DbScalar("select cjgzsj from ry where rylsh = 5").startsWith(QStringLiteral("2001-08-01")));
}

void TestRy::passwords_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message");
    QTest::newRow("equal") << "变电123"
                           << " 变电123 "
                           << "保存人员信息成功！";
    QTest::newRow("different") << "abc"
                               << "abd"
                               << "两次输入的密码不一致，请重新输入！";
}

void TestRy::passwords()
{
    QFETCH(QString, password);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    QVERIFY(
        DbExec(QStringLiteral("insert into ry (rylsh, bmlsh, ryxm, dlzh, dlmm) values (5, 1, '钱七', 'qian', "
                              "'%1')")
                   .arg(TAssistor::EncodePassword(QStringLiteral("old")))));
    open();
    QCOMPARE(edit("edtDlmm")->text(), QStringLiteral("old")); // decoded for the detail page
    QCOMPARE(edit("edtQrmm")->text(), QStringLiteral("old"));
    edit("edtDlmm")->setText(password);
    edit("edtQrmm")->setText(confirm);
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), message);
    const bool saved = message.startsWith(QStringLiteral("保存"));
    QCOMPARE(DbScalar("select dlmm from ry where rylsh = 5"),
             TAssistor::EncodePassword(saved ? password.trimmed() : QStringLiteral("old")));
}

void TestRy::photoFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::newRow("JPEG of exactly 2 MiB") << Jpeg(2 * 1048576) << "";
    QTest::newRow("JPEG one byte over") << Jpeg(2 * 1048576 + 1) << "文件大于2M，请将文件缩小处理后上传！";
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bmp, png;
    QBuffer b1(&bmp), b2(&png);
    b1.open(QIODevice::WriteOnly);
    image.save(&b1, "BMP");
    b2.open(QIODevice::WriteOnly);
    image.save(&b2, "PNG");
    QTest::newRow("bitmap") << bmp << "";
    QTest::newRow("PNG") << png << "图片错误，请重新上传正确的图片！";
    QTest::newRow("BM signature, damaged")
        << QByteArray("BM this is no picture") << "图片错误，请重新上传正确的图片！";
    QTest::newRow("empty file") << QByteArray() << "图片错误，请重新上传正确的图片！";
}

void TestRy::photoFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    addPerson(5, QStringLiteral("孙八"), QStringLiteral("sun"));
    open();
    QFile f(m_files.filePath(QStringLiteral("photo.jpg")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    m_dialogs->openFileName(f.fileName());
    Ctl<QAction>(m_form.get(), "actAddPhoto")->trigger();
    auto *img = Ctl<PictureBox>(m_form.get(), "imgZp");
    QCOMPARE(img->hasPicture(), message.isEmpty());
    QCOMPARE(m_dialogs->texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    Click(m_form.get(), "btnSave");
    QCOMPARE(DbRows("select rylsh from ryzp").size(), message.isEmpty() ? 1 : 0);
    if (message.isEmpty())
        QCOMPARE(DbRows("select zp from ryzp").size(), 1);
}

void TestRy::photoStoredAndShownAgain()
{
    addPerson(5, QStringLiteral("孙八"), QStringLiteral("sun"));
    addPerson(6, QStringLiteral("周九"), QStringLiteral("zhou"));
    open();
    const QByteArray jpeg = Jpeg(4000);
    QFile f(m_files.filePath(QStringLiteral("p.jpeg")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(jpeg);
    f.close();
    m_dialogs->openFileName(f.fileName());
    Ctl<QAction>(m_form.get(), "actAddPhoto")->trigger();
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存人员信息成功！"));
    // Saving again without a new picture writes no second row.
    Click(m_form.get(), "btnSave");
    QCOMPARE(DbRows("select rylsh from ryzp"), QStringList{"5"});

    auto *img = Ctl<PictureBox>(m_form.get(), "imgZp");
    Click(m_form.get(), "btnNex");
    QVERIFY(!img->hasPicture());
    Click(m_form.get(), "btnPre");
    QVERIFY(img->hasPicture());
    QVERIFY(!img->isPictureChanged());
    QCOMPARE(img->pictureBytes(), jpeg); // stored as it came
    // 清除照片 is not saved: the stored photo shows again next time.
    Ctl<QAction>(m_form.get(), "actClearPhoto")->trigger();
    QVERIFY(!img->hasPicture());
    Click(m_form.get(), "btnSave");
    Click(m_form.get(), "btnNex");
    Click(m_form.get(), "btnPre");
    QVERIFY(img->hasPicture());
    // The picture passed through the temporary folder and nothing stayed there or in the program folder.
    QVERIFY(QDir(QDir::tempPath()).entryList({QStringLiteral("lumora_ryzp_*")}).isEmpty());
    QVERIFY(QDir(m_db->folder()).entryList({QStringLiteral("*.jpg")}).isEmpty());
}

void TestRy::photoWriteFailure()
{
    addPerson(5, QStringLiteral("孙八"), QStringLiteral("sun"));
    open();
    QFile f(m_files.filePath(QStringLiteral("p.jpg")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(Jpeg(3000));
    f.close();
    m_dialogs->openFileName(f.fileName());
    Ctl<QAction>(m_form.get(), "actAddPhoto")->trigger();
    edit("edtZw")->setText(QStringLiteral("班长"));
    dmMain()->setFaultInjector([](const QString &sql) {
        return sql.contains(QLatin1String("ryzp"), Qt::CaseInsensitive) &&
                       sql.startsWith(QLatin1String("insert"))
                   ? QSqlError(QString(), QStringLiteral("disk full"), QSqlError::StatementError)
                   : QSqlError();
    });
    Click(m_form.get(), "btnSave");
    dmMain()->setFaultInjector({});
    QVERIFY2(m_dialogs->lastText().startsWith(QStringLiteral("保存人员相片出现异常！原因：")),
             qPrintable(m_dialogs->lastText()));
    QVERIFY(m_dialogs->lastText().contains(QStringLiteral("disk full")));
    QCOMPARE(DbScalar("select zw from ry where rylsh = 5"),
             QStringLiteral("班长")); // the person row is saved
    QVERIFY(DbRows("select rylsh from ryzp").isEmpty());
    // The next save of the person reports the ordinary messages again.
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存人员信息成功！"));
}

void TestRy::previousNext()
{
    addPerson(5, QStringLiteral("甲"), QStringLiteral("a"));
    addPerson(6, QStringLiteral("乙"), QStringLiteral("b"));
    addPerson(7, QStringLiteral("丙"), QStringLiteral("c"));
    addPerson(8, QStringLiteral("丁"), QStringLiteral("d"), 2);
    open();
    auto *pre = Ctl<QPushButton>(m_form.get(), "btnPre");
    auto *nex = Ctl<QPushButton>(m_form.get(), "btnNex");
    QStringList seen{edit("edtRyxm")->text()};
    QVERIFY(!pre->isEnabled());
    while (nex->isEnabled()) {
        nex->click();
        seen << edit("edtRyxm")->text();
    }
    QCOMPARE(seen, (QStringList{"甲", "乙", "丙"}));
    QVERIFY(pre->isEnabled());
    pre->click();
    QCOMPARE(edit("edtRyxm")->text(), QStringLiteral("乙"));
    QVERIFY(nex->isEnabled());
    // Another department lists its own persons.
    QVERIFY(Ctl<DataTree>(m_form.get(), "dtlZzjg")->selectKey(2));
    QCOMPARE(edit("edtRyxm")->text(), QStringLiteral("丁"));
    QVERIFY(!pre->isEnabled());
    QVERIFY(!nex->isEnabled());
}

void TestRy::loginWithAccountSetHere()
{
    open();
    Click(m_form.get(), "btnAdd");
    edit("edtRyxm")->setText(QStringLiteral("新考务员"));
    edit("edtDlzh")->setText(QStringLiteral("kwy"));
    edit("edtDlmm")->setText(QStringLiteral("pass'1"));
    edit("edtQrmm")->setText(QStringLiteral("pass'1"));
    Choose(m_form.get(), "cbJs", QStringLiteral("考务员"));
    Click(m_form.get(), "btnSave");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存人员信息成功！"));
    m_form.reset();

    TfrmLogin login;
    login.findChild<QLineEdit *>(QStringLiteral("edtUserAccount"))->setText(QStringLiteral("kwy"));
    login.findChild<QLineEdit *>(QStringLiteral("edtUserPassword"))->setText(QStringLiteral("pass'1"));
    login.findChild<QPushButton *>(QStringLiteral("btnLogin"))->click();
    QVERIFY2(login.isLoggedIn(), qPrintable(m_dialogs->texts().join(u'|')));
    QList<MenuEntry> entries;
    QVERIFY(TfrmMain::LoadMenuEntries(CurrentLogin()->dlzh, CurrentLogin()->rylsh, entries));
    QStringList codes;
    for (const MenuEntry &e : entries)
        codes << e.cdbh;
    QCOMPARE(codes, (QStringList{"0405", "040501"}));
}

QTEST_MAIN(TestRy)
#include "tst_ry.moc"
