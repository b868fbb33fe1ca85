#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>

class ClientDataSet;

// A table model over a ClientDataSet for the grids: one row per data-set row, one column per data-set
// column, in the data set's order. Display shows values as text (dates "yyyy-MM-dd", date-times
// "yyyy-MM-dd HH:mm:ss", blobs not at all); Edit gives the stored value. setData() writes through the
// data set (edit + value + post, so the change enters its change log). The model follows the data
// set's signals; a data set with its controls disabled is shown again once they are enabled.
//
// Headers are the column names unless a caption was given with setHeader(). A view that shows only
// some columns hides the others itself (the model never reorders).
class ClientDataSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ClientDataSetModel(ClientDataSet *dataSet, QObject *parent = nullptr);

    ClientDataSet *dataSet() const { return m_ds; }
    void setHeader(const QString &column, const QString &caption);
    // Columns the user may edit through a view (none by default).
    void setEditable(const QString &column, bool editable = true);
    // Column index by data-set column name, -1 if unknown.
    int columnOf(const QString &column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Text of a stored value as grids show it.
    static QString displayText(const QVariant &value);

private:
    QPointer<ClientDataSet> m_ds;
    QHash<QString, QString> m_headers; // lower-case column name -> caption
    QHash<QString, bool> m_editable;
};
