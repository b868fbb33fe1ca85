#include "DataTree.h"

#include "platform/ClientDataSet.h"
#include "platform/ClientDataSetModel.h"

#include <QApplication>
#include <QSet>
#include <QSignalBlocker>
#include <QStyle>

namespace {
constexpr int kKeyRole = Qt::UserRole + 1;

QString KeyText(const QVariant &v)
{
    const QString s = ClientDataSetModel::displayText(v).trimmed();
    return s;
}
} // namespace

DataTree::DataTree(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemExpanded, this, &DataTree::updateIcon);
    connect(this, &QTreeWidget::itemCollapsed, this, &DataTree::updateIcon);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        const QVariant key = keyOf(current);
        if (m_ds && current)
            m_ds->locate(m_key, key);
        emit currentKeyChanged(key);
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { emit nodeDoubleClicked(keyOf(item)); });
}

void DataTree::setDataSet(ClientDataSet *dataSet, const QString &keyField, const QString &parentField,
                          const QString &displayField)
{
    if (m_ds)
        m_ds->disconnect(this);
    m_ds = dataSet;
    m_key = keyField;
    m_parent = parentField;
    m_display = displayField;
    if (dataSet)
        connect(dataSet, &ClientDataSet::reset, this, &DataTree::rebuild);
    rebuild();
}

QVariant DataTree::keyOf(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kKeyRole) : QVariant();
}

QTreeWidgetItem *DataTree::nodeOf(const QVariant &key) const
{
    return m_nodes.value(KeyText(key));
}

void DataTree::rebuild()
{
    const QString current = KeyText(currentKey());
    QSet<QString> expanded;
    for (auto it = m_nodes.cbegin(); it != m_nodes.cend(); ++it) {
        if (it.value()->isExpanded())
            expanded.insert(it.key());
    }
    {
        const QSignalBlocker block(this);
        clear();
        m_nodes.clear();
    }
    if (!m_ds)
        return;
    const int kf = m_ds->fieldIndex(m_key), pf = m_ds->fieldIndex(m_parent), df = m_ds->fieldIndex(m_display);
    if (kf < 0 || df < 0)
        return;
    const QSignalBlocker block(this);
    QList<QPair<QString, QString>> links; // key -> parent key, in data-set order
    for (int r = 0; r < m_ds->recordCount(); ++r) {
        const QVariant key = m_ds->valueAt(r, kf);
        auto *node = new QTreeWidgetItem;
        node->setText(0, ClientDataSetModel::displayText(m_ds->valueAt(r, df)));
        node->setData(0, kKeyRole, key);
        m_nodes.insert(KeyText(key), node);
        links.append({KeyText(key), pf >= 0 ? KeyText(m_ds->valueAt(r, pf)) : QString()});
    }
    // A node goes under its parent unless that would make it its own ancestor.
    QHash<QString, QString> parentOf;
    for (const auto &l : links)
        parentOf.insert(l.first, l.second);
    const auto loops = [&](const QString &key) {
        QSet<QString> seen{key};
        for (QString p = parentOf.value(key); !p.isEmpty() && m_nodes.contains(p); p = parentOf.value(p)) {
            if (seen.contains(p))
                return true;
            seen.insert(p);
        }
        return false;
    };
    for (const auto &l : links) {
        QTreeWidgetItem *node = m_nodes.value(l.first);
        QTreeWidgetItem *parent =
            l.second.isEmpty() || l.second == l.first ? nullptr : m_nodes.value(l.second);
        if (parent && !loops(l.first))
            parent->addChild(node);
        else
            addTopLevelItem(node);
    }
    for (QTreeWidgetItem *node : std::as_const(m_nodes)) {
        if (expanded.contains(KeyText(keyOf(node))))
            node->setExpanded(true);
        updateIcon(node);
    }
    if (QTreeWidgetItem *again = m_nodes.value(current))
        setCurrentItem(again);
}

void DataTree::updateIcon(QTreeWidgetItem *node)
{
    QStyle *style = this->style();
    const bool open = node->isExpanded() && node->childCount() > 0;
    node->setIcon(0, style->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
}

QVariant DataTree::currentKey() const
{
    return keyOf(currentItem());
}

bool DataTree::selectKey(const QVariant &key)
{
    QTreeWidgetItem *node = nodeOf(key);
    if (!node)
        return false;
    for (QTreeWidgetItem *p = node->parent(); p; p = p->parent())
        p->setExpanded(true);
    setCurrentItem(node);
    scrollToItem(node);
    return true;
}
