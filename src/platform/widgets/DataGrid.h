#pragma once

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTableView>

class ClientDataSet;
class DataGridModel;

// A grid bound to a ClientDataSet: one row per data-set row, the columns the form adds, whole-row
// selection, cells read-only unless a column is made editable. The grid's current row and the data
// set's cursor follow each other.
//
//   grid->setDataSet(cdsRy);
//   grid->addRowNumberColumn();                         // "序号": 1, 2, 3 …
//   grid->addColumn("ryxm", "姓名", 80);
//   grid->addLookupColumn("xb", "性别", {{"1", "男"}, {"0", "女"}});
//   grid->addListColumn("zzqklsh", "在职情况", {"在职", "退休", …});   // code i shows entry i (from 1)
//   grid->addCheckColumn();                             // "选择" on xz: a click flips "1"/"0"
//   connect(grid, &DataGrid::rowDoubleClicked, …);
//
// A grid without added columns shows every column of the data set under its name.
// ExportGridToXls (ExportGridToXls.h) works on it as on any grid.
class DataGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    void setDataSet(ClientDataSet *dataSet);
    ClientDataSet *dataSet() const;

    // Each returns the grid column's index. A width of 0 sizes the column to its contents.
    int addColumn(const QString &field, const QString &caption, int width = 0);
    int addRowNumberColumn(const QString &caption = QStringLiteral("序号"), int width = 40);
    // A code shown as its name; codes without a name show as stored.
    int addLookupColumn(const QString &field, const QString &caption, const QHash<QString, QString> &names,
                        int width = 0);
    // A code that is a 1-based position in a fixed list, shown as the list's entry.
    int addListColumn(const QString &field, const QString &caption, const QStringList &list, int width = 0);
    // A check box on a "1"/"0" text column; a click (or the space bar) flips it.
    int addCheckColumn(const QString &field = QStringLiteral("xz"),
                       const QString &caption = QStringLiteral("选择"), int width = 40);
    // Lets the user type into a column (the value goes into the data set's change log).
    void setColumnEditable(int column, bool editable = true);
    void setColumnAlignment(int column, Qt::Alignment alignment);
    void clearColumns();
    int columnCountShown() const;
    QString columnField(int column) const;

    // The data-set row (from 0) of the grid's current row, -1 when none.
    int currentRow() const;

signals:
    void rowDoubleClicked(int row);
    // The current row moved (data-set row from 0, -1 when the grid is empty).
    void currentRowChanged(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void syncFromDataSet(int row);
    DataGridModel *m_model;
    bool m_syncing = false;
};
