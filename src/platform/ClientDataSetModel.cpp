#include "ClientDataSetModel.h"

#include "ClientDataSet.h"

#include <QDateTime>

ClientDataSetModel::ClientDataSetModel(ClientDataSet *dataSet, QObject *parent)
    : QAbstractTableModel(parent), m_ds(dataSet)
{
    // Every change of the data set is shown; row-level signals keep selections and scroll positions.
    connect(dataSet, &ClientDataSet::reset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(dataSet, &ClientDataSet::rowInserted, this, [this](int row) {
        beginInsertRows(QModelIndex(), row, row);
        endInsertRows();
    });
    connect(dataSet, &ClientDataSet::rowRemoved, this, [this](int row) {
        beginRemoveRows(QModelIndex(), row, row);
        endRemoveRows();
    });
    connect(dataSet, &ClientDataSet::rowChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, qMax(0, columnCount() - 1))); });
}

void ClientDataSetModel::setHeader(const QString &column, const QString &caption)
{
    m_headers.insert(column.toLower(), caption);
    const int c = columnOf(column);
    if (c >= 0)
        emit headerDataChanged(Qt::Horizontal, c, c);
}

void ClientDataSetModel::setEditable(const QString &column, bool editable)
{
    m_editable.insert(column.toLower(), editable);
}

int ClientDataSetModel::columnOf(const QString &column) const
{
    return m_ds ? m_ds->fieldIndex(column) : -1;
}

int ClientDataSetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_ds ? 0 : m_ds->recordCount();
}

int ClientDataSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_ds ? 0 : m_ds->fieldCount();
}

QString ClientDataSetModel::displayText(const QVariant &value)
{
    if (!value.isValid())
        return QString();
    switch (value.metaType().id()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("yyyy-MM-dd"))
                                        : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QByteArray:
        return QString();
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

QVariant ClientDataSetModel::data(const QModelIndex &index, int role) const
{
    if (!m_ds || !index.isValid())
        return QVariant();
    const QVariant v = m_ds->valueAt(index.row(), index.column());
    if (role == Qt::DisplayRole)
        return displayText(v);
    if (role == Qt::EditRole)
        return v;
    return QVariant();
}

bool ClientDataSetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!m_ds || !index.isValid() || role != Qt::EditRole)
        return false;
    if (m_ds->currentIndex() != index.row())
        m_ds->moveTo(index.row() + 1);
    if (!m_ds->setValue(index.column(), value)) {
        m_ds->cancel();
        return false;
    }
    m_ds->post();
    return true;
}

QVariant ClientDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_ds)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    const QString name = m_ds->fieldName(section);
    return m_headers.value(name.toLower(), name);
}

Qt::ItemFlags ClientDataSetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_ds && index.isValid() && m_editable.value(m_ds->fieldName(index.column()).toLower(), false))
        f |= Qt::ItemIsEditable;
    return f;
}
