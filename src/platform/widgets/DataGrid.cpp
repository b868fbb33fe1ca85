#include "DataGrid.h"

#include "platform/ClientDataSet.h"
#include "platform/ClientDataSetModel.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>

struct GridColumn
{
    enum Kind { Field, RowNumber, Lookup, Check };
    Kind kind = Field;
    QString field;
    QString caption;
    QHash<QString, QString> names;
    bool editable = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// The grid's model: the grid's own columns over the data set's rows.
class DataGridModel : public QAbstractTableModel
{
public:
    explicit DataGridModel(QObject *parent) : QAbstractTableModel(parent) {}

    void setDataSet(ClientDataSet *ds)
    {
        beginResetModel();
        if (m_ds)
            m_ds->disconnect(this);
        m_ds = ds;
        if (ds) {
            connect(ds, &ClientDataSet::reset, this, [this] {
                beginResetModel();
                endResetModel();
            });
            connect(ds, &ClientDataSet::rowInserted, this, [this](int row) {
                beginInsertRows(QModelIndex(), row, row);
                endInsertRows();
                renumberFrom(row);
            });
            connect(ds, &ClientDataSet::rowRemoved, this, [this](int row) {
                beginRemoveRows(QModelIndex(), row, row);
                endRemoveRows();
                renumberFrom(row);
            });
            connect(ds, &ClientDataSet::rowChanged, this, [this](int row) {
                emit dataChanged(index(row, 0), index(row, std::max(0, columnCount() - 1)));
            });
            connect(ds, &QObject::destroyed, this, [this] {
                beginResetModel();
                m_ds = nullptr;
                endResetModel();
            });
        }
        endResetModel();
    }
    ClientDataSet *dataSet() const { return m_ds; }

    int addColumn(GridColumn c)
    {
        const int at = int(m_columns.size());
        beginResetModel();
        m_columns.append(std::move(c));
        endResetModel();
        return at;
    }
    void clearColumns()
    {
        beginResetModel();
        m_columns.clear();
        endResetModel();
    }
    GridColumn *column(int c) { return c >= 0 && c < m_columns.size() ? &m_columns[c] : nullptr; }
    const GridColumn *column(int c) const { return c >= 0 && c < m_columns.size() ? &m_columns[c] : nullptr; }
    bool automatic() const { return m_columns.isEmpty(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() || !m_ds ? 0 : m_ds->recordCount();
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        if (parent.isValid())
            return 0;
        return automatic() ? (m_ds ? m_ds->fieldCount() : 0) : int(m_columns.size());
    }

    QString fieldOf(int c) const
    {
        if (automatic())
            return m_ds ? m_ds->fieldName(c) : QString();
        const GridColumn *col = column(c);
        return col ? col->field : QString();
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, o, role);
        if (automatic())
            return fieldOf(section);
        const GridColumn *c = column(section);
        return c ? c->caption : QVariant();
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!m_ds || !index.isValid() || index.row() >= m_ds->recordCount())
            return QVariant();
        const GridColumn fallback;
        const GridColumn *c = automatic() ? &fallback : column(index.column());
        if (!c)
            return QVariant();
        if (c->kind == GridColumn::RowNumber) {
            if (role == Qt::DisplayRole || role == Qt::EditRole)
                return index.row() + 1;
            if (role == Qt::TextAlignmentRole)
                return int(Qt::AlignCenter);
            return QVariant();
        }
        const int f = m_ds->fieldIndex(fieldOf(index.column()));
        const QVariant v = f >= 0 ? m_ds->valueAt(index.row(), f) : QVariant();
        switch (role) {
        case Qt::DisplayRole:
            if (c->kind == GridColumn::Check)
                return QVariant();
            if (c->kind == GridColumn::Lookup) {
                const QString code = ClientDataSetModel::displayText(v).trimmed();
                return c->names.value(code, ClientDataSetModel::displayText(v));
            }
            return ClientDataSetModel::displayText(v);
        case Qt::EditRole:
            return v;
        case Qt::CheckStateRole:
            if (c->kind == GridColumn::Check)
                return v.toString().trimmed() == QLatin1String("1") ? Qt::Checked : Qt::Unchecked;
            return QVariant();
        case Qt::TextAlignmentRole:
            return int(c->kind == GridColumn::Check ? Qt::AlignCenter : c->alignment);
        case Qt::ToolTipRole: {
            const QString text =
                c->kind == GridColumn::Field ? ClientDataSetModel::displayText(v) : QString();
            return text.size() > 20 ? text : QVariant();
        }
        default:
            return QVariant();
        }
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        const GridColumn *c = automatic() ? nullptr : column(index.column());
        if (c && c->kind == GridColumn::Check)
            f |= Qt::ItemIsUserCheckable;
        else if (c && c->editable && c->kind != GridColumn::RowNumber)
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (!m_ds || !index.isValid())
            return false;
        const GridColumn *c = automatic() ? nullptr : column(index.column());
        if (!c)
            return false;
        QVariant stored;
        if (c->kind == GridColumn::Check && role == Qt::CheckStateRole)
            stored = value.toInt() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
        else if (c->editable && c->kind == GridColumn::Field && role == Qt::EditRole)
            stored = value;
        else
            return false;
        if (!m_ds->moveTo(index.row() + 1) || !m_ds->setValue(c->field, stored))
            return false;
        m_ds->post();
        emit dataChanged(index, index);
        return true;
    }

private:
    void renumberFrom(int row)
    {
        for (int c = 0; c < m_columns.size(); ++c) {
            if (m_columns[c].kind == GridColumn::RowNumber && row < rowCount())
                emit dataChanged(index(row, c), index(rowCount() - 1, c));
        }
    }

    QPointer<ClientDataSet> m_ds;
    QList<GridColumn> m_columns;
};

DataGrid::DataGrid(QWidget *parent) : QTableView(parent), m_model(new DataGridModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setAlternatingRowColors(true);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_syncing)
                    return;
                ClientDataSet *ds = m_model->dataSet();
                if (ds && current.isValid() && ds->currentIndex() != current.row()) {
                    m_syncing = true;
                    ds->moveTo(current.row() + 1);
                    m_syncing = false;
                }
                emit currentRowChanged(current.isValid() ? current.row() : -1);
            });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit rowDoubleClicked(index.row());
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (ClientDataSet *ds = m_model->dataSet())
            syncFromDataSet(ds->currentIndex());
    });
}

DataGrid::~DataGrid() = default;

void DataGrid::setDataSet(ClientDataSet *dataSet)
{
    if (ClientDataSet *old = m_model->dataSet())
        old->disconnect(this);
    m_model->setDataSet(dataSet);
    if (dataSet)
        connect(dataSet, &ClientDataSet::currentChanged, this, &DataGrid::syncFromDataSet);
}

ClientDataSet *DataGrid::dataSet() const
{
    return m_model->dataSet();
}

void DataGrid::syncFromDataSet(int row)
{
    if (m_syncing)
        return;
    m_syncing = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex at = m_model->index(row, std::max(0, currentIndex().column()));
        selectionModel()->setCurrentIndex(at,
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(at);
    } else {
        selectionModel()->clearSelection();
    }
    m_syncing = false;
    emit currentRowChanged(row);
}

namespace {
int Sized(DataGrid *grid, int column, int width)
{
    if (width > 0)
        grid->setColumnWidth(column, width);
    return column;
}
} // namespace

int DataGrid::addColumn(const QString &field, const QString &caption, int width)
{
    GridColumn c;
    c.field = field;
    c.caption = caption;
    return Sized(this, m_model->addColumn(c), width);
}

int DataGrid::addRowNumberColumn(const QString &caption, int width)
{
    GridColumn c;
    c.kind = GridColumn::RowNumber;
    c.caption = caption;
    return Sized(this, m_model->addColumn(c), width);
}

int DataGrid::addLookupColumn(const QString &field, const QString &caption,
                              const QHash<QString, QString> &names, int width)
{
    GridColumn c;
    c.kind = GridColumn::Lookup;
    c.field = field;
    c.caption = caption;
    c.names = names;
    return Sized(this, m_model->addColumn(c), width);
}

int DataGrid::addListColumn(const QString &field, const QString &caption, const QStringList &list, int width)
{
    QHash<QString, QString> names;
    for (int i = 0; i < list.size(); ++i)
        names.insert(QString::number(i + 1), list[i]);
    return addLookupColumn(field, caption, names, width);
}

int DataGrid::addCheckColumn(const QString &field, const QString &caption, int width)
{
    GridColumn c;
    c.kind = GridColumn::Check;
    c.field = field;
    c.caption = caption;
    return Sized(this, m_model->addColumn(c), width);
}

void DataGrid::setColumnEditable(int column, bool editable)
{
    if (GridColumn *c = m_model->column(column))
        c->editable = editable;
}

void DataGrid::setColumnAlignment(int column, Qt::Alignment alignment)
{
    if (GridColumn *c = m_model->column(column))
        c->alignment = alignment;
}

void DataGrid::clearColumns()
{
    m_model->clearColumns();
}

int DataGrid::columnCountShown() const
{
    return m_model->columnCount();
}

QString DataGrid::columnField(int column) const
{
    return m_model->fieldOf(column);
}

int DataGrid::currentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    // Space flips the check column of the current row wherever the cursor stands in the row.
    if (event->key() == Qt::Key_Space && currentIndex().isValid()) {
        for (int c = 0; c < m_model->columnCount(); ++c) {
            const QModelIndex cell = m_model->index(currentIndex().row(), c);
            if (m_model->flags(cell) & Qt::ItemIsUserCheckable) {
                const bool on = cell.data(Qt::CheckStateRole).toInt() == Qt::Checked;
                m_model->setData(cell, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
                return;
            }
        }
    }
    QTableView::keyPressEvent(event);
}
