#pragma once

#include <QHash>
#include <QPointer>
#include <QTreeWidget>
#include <QVariant>

#include "platform/ClientDataSet.h"

// A tree over the rows of a ClientDataSet: each row is a node, hung under the row whose key equals its
// parent column. Rows with an empty or unknown parent (or a parent chain that loops) are top-level
// nodes; children keep the data set's order. Folders show closed or open pictures as they are
// collapsed or expanded. Choosing a node moves the data set to its row.
//
//   tree->setDataSet(cdsBm, "bmlsh", "bm_bmlsh", "bmmc");   // built at once and after every reload
//   connect(tree, &DataTree::currentKeyChanged, …);
//   tree->selectKey(12);
class DataTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DataTree(QWidget *parent = nullptr);

    void setDataSet(ClientDataSet *dataSet, const QString &keyField, const QString &parentField,
                    const QString &displayField);
    ClientDataSet *dataSet() const { return m_ds; }
    // Builds the tree again from the data set (done on every reset of the data set), keeping the
    // current node and the expanded ones where their keys still exist.
    void rebuild();

    QVariant currentKey() const;
    // Makes the node of that key current (expanding its parents); false when there is none.
    bool selectKey(const QVariant &key);
    QTreeWidgetItem *nodeOf(const QVariant &key) const;
    static QVariant keyOf(const QTreeWidgetItem *node);

signals:
    void currentKeyChanged(const QVariant &key);
    void nodeDoubleClicked(const QVariant &key);

private:
    void updateIcon(QTreeWidgetItem *node);
    QPointer<ClientDataSet> m_ds;
    QString m_key, m_parent, m_display;
    QHash<QString, QTreeWidgetItem *> m_nodes;
};
