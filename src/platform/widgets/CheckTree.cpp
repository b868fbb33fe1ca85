#include "CheckTree.h"

#include <QSignalBlocker>
#include <functional>

namespace {
constexpr int kKeyRole = Qt::UserRole + 1;

void Walk(QTreeWidgetItem *node, const std::function<void(QTreeWidgetItem *)> &visit)
{
    visit(node);
    for (int i = 0; i < node->childCount(); ++i)
        Walk(node->child(i), visit);
}
} // namespace

CheckTree::CheckTree(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    // The propagation is done here rather than with Qt's automatic tri-state, so loading a saved
    // selection can set leaves without a parent's state overwriting them.
    connect(this, &QTreeWidget::itemChanged, this, &CheckTree::onItemChanged);
}

QTreeWidgetItem *CheckTree::addNode(QTreeWidgetItem *parent, const QString &text, const QVariant &key)
{
    const QSignalBlocker block(this);
    auto *node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    node->setText(0, text);
    node->setData(0, kKeyRole, key);
    node->setFlags((node->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsAutoTristate);
    node->setCheckState(0, Qt::Unchecked);
    if (parent)
        updateUp(parent);
    return node;
}

QVariant CheckTree::nodeKey(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kKeyRole) : QVariant();
}

QTreeWidgetItem *CheckTree::findNode(const QVariant &key) const
{
    QTreeWidgetItem *found = nullptr;
    for (int i = 0; i < topLevelItemCount() && !found; ++i)
        Walk(topLevelItem(i), [&](QTreeWidgetItem *n) {
            if (!found && nodeKey(n) == key)
                found = n;
        });
    return found;
}

Qt::CheckState CheckTree::checkState(const QTreeWidgetItem *node) const
{
    return node ? node->checkState(0) : Qt::Unchecked;
}

void CheckTree::setChecked(QTreeWidgetItem *node, bool checked)
{
    if (!node)
        return;
    node->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked); // onItemChanged propagates
}

void CheckTree::onItemChanged(QTreeWidgetItem *item, int column)
{
    if (m_updating || column != 0)
        return;
    m_updating = true;
    Qt::CheckState state = item->checkState(0);
    if (state == Qt::PartiallyChecked) // a click on a partly checked parent checks it whole
        state = Qt::Checked;
    applyDown(item, state);
    if (item->parent())
        updateUp(item->parent());
    m_updating = false;
    emit nodeChecked(item, state == Qt::Checked);
}

void CheckTree::applyDown(QTreeWidgetItem *node, Qt::CheckState state)
{
    const QSignalBlocker block(this);
    Walk(node, [state](QTreeWidgetItem *n) { n->setCheckState(0, state); });
}

void CheckTree::updateUp(QTreeWidgetItem *node)
{
    const QSignalBlocker block(this);
    for (; node; node = node->parent()) {
        if (node->childCount() == 0)
            continue;
        int checked = 0, partial = 0;
        for (int i = 0; i < node->childCount(); ++i) {
            const Qt::CheckState s = node->child(i)->checkState(0);
            checked += s == Qt::Checked;
            partial += s == Qt::PartiallyChecked;
        }
        node->setCheckState(0, checked == node->childCount() ? Qt::Checked
                               : (checked || partial)        ? Qt::PartiallyChecked
                                                             : Qt::Unchecked);
    }
}

void CheckTree::setCheckedKeys(const QVariantList &keys)
{
    setAllChecked(false);
    QList<QTreeWidgetItem *> parents;
    for (int i = 0; i < topLevelItemCount(); ++i)
        Walk(topLevelItem(i), [&](QTreeWidgetItem *n) {
            if (n->childCount() == 0 && keys.contains(nodeKey(n))) {
                const QSignalBlocker block(this);
                n->setCheckState(0, Qt::Checked);
                if (n->parent())
                    parents << n->parent();
            }
        });
    for (QTreeWidgetItem *p : parents)
        updateUp(p);
}

QVariantList CheckTree::checkedKeys(bool includePartial) const
{
    QVariantList keys;
    for (int i = 0; i < topLevelItemCount(); ++i)
        Walk(topLevelItem(i), [&](QTreeWidgetItem *n) {
            const Qt::CheckState s = n->checkState(0);
            if (s == Qt::Checked || (includePartial && s == Qt::PartiallyChecked))
                keys << nodeKey(n);
        });
    return keys;
}

void CheckTree::setAllChecked(bool checked)
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        applyDown(topLevelItem(i), checked ? Qt::Checked : Qt::Unchecked);
}
