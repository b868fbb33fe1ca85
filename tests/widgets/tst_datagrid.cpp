#include "platform/ClientDataSet.h"
#include "platform/widgets/DataGrid.h"
#include "platform/widgets/DataTree.h"
#include "platform/widgets/ExportGridToXls.h"

#include <QSignalSpy>
#include <QTest>

// The grid and the tree bound to a data set.
class TestDataGrid : public QObject
{
    Q_OBJECT
private slots:
    void columnsShowCodesAsNames();
    void checkColumnFlips();
    void currentRowFollowsDataSet();
    void exportUsesShownTexts();
    void treeFromKeyAndParent();

private:
    static void Fill(ClientDataSet &ds);
};

void TestDataGrid::Fill(ClientDataSet &ds)
{
    using F = ClientDataSet::Field;
    ds.setRows({F{QStringLiteral("xz"), QMetaType::QString}, F{QStringLiteral("rylsh"), QMetaType::Int},
                F{QStringLiteral("ryxm"), QMetaType::QString}, F{QStringLiteral("xb"), QMetaType::QString},
                F{QStringLiteral("zzqklsh"), QMetaType::Int}},
               {{QStringLiteral("0"), 7, QStringLiteral("张三"), QStringLiteral("1"), 1},
                {QStringLiteral("1"), 9, QStringLiteral("李四"), QStringLiteral("0"), 2},
                {QStringLiteral("0"), 12, QStringLiteral("O'Neil"), QVariant(), 9}});
}

namespace {
void Columns(DataGrid &g)
{
    g.addCheckColumn();
    g.addRowNumberColumn();
    g.addColumn(QStringLiteral("ryxm"), QStringLiteral("姓名"));
    g.addLookupColumn(
        QStringLiteral("xb"), QStringLiteral("性别"),
        {{QStringLiteral("1"), QStringLiteral("男")}, {QStringLiteral("0"), QStringLiteral("女")}});
    g.addListColumn(QStringLiteral("zzqklsh"), QStringLiteral("在职情况"),
                    {QStringLiteral("在职"), QStringLiteral("退休")});
}
QString Cell(DataGrid &g, int r, int c)
{
    return g.model()->index(r, c).data().toString();
}
} // namespace

void TestDataGrid::columnsShowCodesAsNames()
{
    ClientDataSet ds;
    Fill(ds);
    DataGrid g;
    g.setDataSet(&ds);
    QCOMPARE(g.model()->columnCount(), 5); // no columns added: every column under its name
    Columns(g);
    QCOMPARE(g.model()->columnCount(), 5);
    QCOMPARE(g.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("选择"));
    QCOMPARE(g.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("序号"));
    QCOMPARE(Cell(g, 2, 1), QStringLiteral("3"));
    QCOMPARE(Cell(g, 0, 3), QStringLiteral("男"));
    QCOMPARE(Cell(g, 1, 3), QStringLiteral("女"));
    QCOMPARE(Cell(g, 2, 3), QString());
    QCOMPARE(Cell(g, 1, 4), QStringLiteral("退休"));
    QCOMPARE(Cell(g, 2, 4), QStringLiteral("9")); // a code without a name shows as stored
    // Read-only unless made editable; editing goes into the data set's change log.
    QVERIFY(!(g.model()->flags(g.model()->index(0, 2)) & Qt::ItemIsEditable));
    g.setColumnEditable(2);
    QVERIFY(g.model()->setData(g.model()->index(0, 2), QStringLiteral("张三丰")));
    QCOMPARE(ds.valueAt(0, ds.fieldIndex(QStringLiteral("ryxm"))).toString(), QStringLiteral("张三丰"));
    QVERIFY(ds.hasChanges());
    // Row numbers follow a deleted row.
    ds.moveTo(1);
    ds.remove();
    QCOMPARE(g.model()->rowCount(), 2);
    QCOMPARE(Cell(g, 1, 1), QStringLiteral("2"));
}

void TestDataGrid::checkColumnFlips()
{
    ClientDataSet ds;
    Fill(ds);
    DataGrid g;
    g.setDataSet(&ds);
    Columns(g);
    const int xz = ds.fieldIndex(QStringLiteral("xz"));
    QCOMPARE(g.model()->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(g.model()->setData(g.model()->index(0, 0), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(ds.valueAt(0, xz).toString(), QStringLiteral("1"));
    // Space flips the current row's check wherever the cursor stands in the row.
    g.setCurrentIndex(g.model()->index(1, 2));
    QTest::keyClick(&g, Qt::Key_Space);
    QCOMPARE(ds.valueAt(1, xz).toString(), QStringLiteral("0"));
    QTest::keyClick(&g, Qt::Key_Space);
    QCOMPARE(ds.valueAt(1, xz).toString(), QStringLiteral("1"));
}

void TestDataGrid::currentRowFollowsDataSet()
{
    ClientDataSet ds;
    Fill(ds);
    DataGrid g;
    g.setDataSet(&ds);
    Columns(g);
    QSignalSpy moved(&g, &DataGrid::currentRowChanged);
    QSignalSpy doubled(&g, &DataGrid::rowDoubleClicked);
    g.setCurrentIndex(g.model()->index(2, 2));
    QCOMPARE(ds.recNo(), 3);
    ds.first();
    QCOMPARE(g.currentRow(), 0);
    QVERIFY(g.selectionModel()->isRowSelected(0, QModelIndex()));
    QVERIFY(moved.count() >= 2);
    emit g.doubleClicked(g.model()->index(1, 3));
    QCOMPARE(doubled.count(), 1);
    QCOMPARE(doubled.at(0).at(0).toInt(), 1);
    // A reload keeps the grid on the data set's row.
    Fill(ds);
    QCOMPARE(g.model()->rowCount(), 3);
    QCOMPARE(g.currentRow(), ds.currentIndex());
}

void TestDataGrid::exportUsesShownTexts()
{
    ClientDataSet ds;
    Fill(ds);
    DataGrid g;
    g.setDataSet(&ds);
    Columns(g);
    const SheetData sheet = GridSheetData(&g);
    QCOMPARE(sheet.captions,
             (QStringList{QStringLiteral("选择"), QStringLiteral("序号"), QStringLiteral("姓名"),
                          QStringLiteral("性别"), QStringLiteral("在职情况")}));
    QCOMPARE(sheet.rows[1], (QVariantList{QStringLiteral("1"), 2, QStringLiteral("李四"),
                                          QStringLiteral("女"), QStringLiteral("退休")}));
}

void TestDataGrid::treeFromKeyAndParent()
{
    using F = ClientDataSet::Field;
    ClientDataSet ds;
    ds.setRows({F{QStringLiteral("bmlsh"), QMetaType::Int}, F{QStringLiteral("bm_bmlsh"), QMetaType::Int},
                F{QStringLiteral("bmmc"), QMetaType::QString}},
               {{1, QVariant(), QStringLiteral("供电公司")},
                {2, 1, QStringLiteral("变电运行部")},
                {3, 2, QStringLiteral("一班")},
                {4, 99, QStringLiteral("无上级")}, // unknown parent: top level
                {5, 6, QStringLiteral("环甲")},    // a loop of two: both shown, at top level
                {6, 5, QStringLiteral("环乙")},
                {7, 1, QStringLiteral("检修部")}});
    DataTree t;
    t.setDataSet(&ds, QStringLiteral("bmlsh"), QStringLiteral("bm_bmlsh"), QStringLiteral("bmmc"));
    QCOMPARE(t.topLevelItemCount(), 4);
    QTreeWidgetItem *root = t.nodeOf(1);
    QCOMPARE(root->childCount(), 2);
    QCOMPARE(root->child(0)->text(0), QStringLiteral("变电运行部"));
    QCOMPARE(root->child(1)->text(0), QStringLiteral("检修部"));
    QCOMPARE(t.nodeOf(3)->parent(), t.nodeOf(2));
    QVERIFY(t.nodeOf(5) && t.nodeOf(6));
    QVERIFY(t.selectKey(3));
    QVERIFY(root->isExpanded());
    QCOMPARE(ds.asInt(QStringLiteral("bmlsh")), 3);
    QVERIFY(!t.selectKey(42));
    // A reload rebuilds the tree and keeps the chosen node.
    ds.setRows(ds.fields(), {{1, QVariant(), QStringLiteral("供电公司")}, {3, 1, QStringLiteral("一班")}});
    QCOMPARE(t.currentKey().toInt(), 3);
    QCOMPARE(t.nodeOf(3)->parent(), t.nodeOf(1));
}

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
