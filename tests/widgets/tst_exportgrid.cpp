#include "platform/widgets/ExportGridToXls.h"
#include "support/ScriptedDialogs.h"
#include "support/XlsReader.h"

#include <QFile>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

// Export of a grid to Excel: the name rule, the overwrite question, the messages, and the file read back.
class TestExportGrid : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void writesAndReadsBack_data();
    void writesAndReadsBack();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void cancelledDialogWritesNothing();
    void failureReported();

private:
    void makeGrid();
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<QTableView> m_grid;
    QStandardItemModel *m_model = nullptr;
    QTemporaryDir m_dir;
};

void TestExportGrid::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    makeGrid();
}

void TestExportGrid::cleanup()
{
    QVERIFY2(m_dialogs->unexpected.isEmpty(), qPrintable(m_dialogs->unexpected.join(u'|')));
    m_grid.reset();
    m_dialogs.reset();
}

void TestExportGrid::makeGrid()
{
    m_grid = std::make_unique<QTableView>();
    m_model = new QStandardItemModel(0, 4, m_grid.get());
    m_model->setHorizontalHeaderLabels(
        {QStringLiteral("序号"), QStringLiteral("内部"), QStringLiteral("姓名"), QStringLiteral("分数")});
    const QList<QVariantList> rows = {{1, 7, QStringLiteral("张三"), 88.5},
                                      {2, 8, QStringLiteral("O'Neil"), 60}};
    for (const QVariantList &r : rows) {
        QList<QStandardItem *> items;
        for (const QVariant &v : r) {
            auto *it = new QStandardItem;
            it->setData(v, Qt::DisplayRole);
            items << it;
        }
        m_model->appendRow(items);
    }
    m_grid->setModel(m_model);
    m_grid->setColumnHidden(1, true); // hidden columns are not exported
}

void TestExportGrid::writesAndReadsBack_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("list") << "list"
                          << "list.xls";
    QTest::newRow("list.xls.bak") << "list.xls.bak"
                                  << "list.xls.bak";
    QTest::newRow("list.XLS") << "list.XLS"
                              << "list.XLS";
}

void TestExportGrid::writesAndReadsBack()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    m_dialogs->saveFileName(m_dir.filePath(chosen));
    ExportGridToXls(m_grid.get());
    QCOMPARE(m_dialogs->texts(), QStringList{QStringLiteral("数据输出成功!")});
    QVERIFY(m_dialogs->fileDialogFilters.value(0).contains(QStringLiteral("*.xls")));
    QVERIFY(QFile::exists(m_dir.filePath(written)));
    const QList<QVariantList> cells = ReadXlsCells(m_dir.filePath(written));
    QCOMPARE(cells.size(), 3);
    QCOMPARE(cells[0],
             (QVariantList{QStringLiteral("序号"), QStringLiteral("姓名"), QStringLiteral("分数")}));
    QCOMPARE(cells[1], (QVariantList{1.0, QStringLiteral("张三"), 88.5}));
    QCOMPARE(cells[2], (QVariantList{2.0, QStringLiteral("O'Neil"), 60.0}));
    QFile::remove(m_dir.filePath(written));
}

void TestExportGrid::overwriteQuestion_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK replaces") << true;
    QTest::newRow("Cancel keeps the file") << false;
}

void TestExportGrid::overwriteQuestion()
{
    QFETCH(bool, ok);
    const QString path = m_dir.filePath(QStringLiteral("old.xls"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    m_dialogs->saveFileName(path).answer(ok ? Dialogs::Ok : Dialogs::Cancel);
    ExportGridToXls(m_grid.get());
    QCOMPARE(m_dialogs->texts().value(0), QStringLiteral("该文件已存在是否覆盖!"));
    QCOMPARE(m_dialogs->texts().size(), ok ? 2 : 1);
    QCOMPARE(QFileInfo(path).size() == 3, !ok);
    QFile::remove(path);
}

void TestExportGrid::cancelledDialogWritesNothing()
{
    m_dialogs->saveFileName(QString());
    ExportGridToXls(m_grid.get());
    QVERIFY(m_dialogs->texts().isEmpty());
}

void TestExportGrid::failureReported()
{
    m_dialogs->saveFileName(m_dir.filePath(QStringLiteral("no/such/folder/list.xls")));
    ExportGridToXls(m_grid.get());
    QCOMPARE(m_dialogs->texts().size(), 1);
    QVERIFY(m_dialogs->lastText().startsWith(QStringLiteral("输出失败!")));
}

QTEST_MAIN(TestExportGrid)
#include "tst_exportgrid.moc"
