#pragma once

#include <QTreeWidget>
#include <QVariant>

// A tree with a check box on every node. Checking or clearing a node does the same to all nodes
// below it; a parent shows checked when all its children are, cleared when none is, and partly
// checked otherwise. Nodes carry a key (a menu code, a trade number …) by which callers find them.
//
//   auto *root = tree->addNode(nullptr, "题库管理", "0402");
//   tree->addNode(root, "工种管理", "040201");
//   tree->setCheckedKeys({"040201"});      // root now shows partly checked
//   tree->checkedKeys();                   // {"0402", "040201"}: partly checked parents included
class CheckTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CheckTree(QWidget *parent = nullptr);

    // Adds a node under parent (nullptr: a top-level node), cleared.
    QTreeWidgetItem *addNode(QTreeWidgetItem *parent, const QString &text, const QVariant &key = QVariant());
    QTreeWidgetItem *findNode(const QVariant &key) const;
    static QVariant nodeKey(const QTreeWidgetItem *node);

    Qt::CheckState checkState(const QTreeWidgetItem *node) const;
    // Checks or clears a node and everything below it; parents follow.
    void setChecked(QTreeWidgetItem *node, bool checked);

    // Clears every node, then checks the childless nodes whose keys are listed. Parents always show
    // the state of their children, listed or not (a role's saved group rows come with its items).
    void setCheckedKeys(const QVariantList &keys);
    // Keys of checked nodes, in tree order; with includePartial also of partly checked parents.
    QVariantList checkedKeys(bool includePartial = true) const;
    void setAllChecked(bool checked);

signals:
    // A node's own check box was changed (by the user or by setChecked).
    void nodeChecked(QTreeWidgetItem *node, bool checked);

private:
    void onItemChanged(QTreeWidgetItem *item, int column);
    void applyDown(QTreeWidgetItem *node, Qt::CheckState state);
    void updateUp(QTreeWidgetItem *node);
    bool m_updating = false;
};
