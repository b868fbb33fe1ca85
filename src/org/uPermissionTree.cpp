#include "org/uPermissionTree.h"

#include "platform/ClientDataSet.h"
#include "platform/widgets/CheckTree.h"

#include <QTreeWidgetItemIterator>
#include <memory>

void FillPermissionTree(CheckTree *tree, ClientDataSet *rows)
{
    tree->clear();
    if (!rows)
        return;
    const int cf = rows->fieldIndex(QStringLiteral("cdbh"));
    const int pf = rows->fieldIndex(QStringLiteral("sjcdbh"));
    const int nf = rows->fieldIndex(QStringLiteral("cdmc"));
    if (cf < 0 || pf < 0 || nf < 0)
        return;
    for (int r = 0; r < rows->recordCount(); ++r) {
        const QString code = rows->valueAt(r, cf).toString().trimmed();
        const QString parent = rows->valueAt(r, pf).toString().trimmed();
        const QString caption = rows->valueAt(r, nf).toString();
        if (parent == QLatin1String("04")) {
            tree->addNode(nullptr, caption, code);
            continue;
        }
        QList<QTreeWidgetItem *> owners;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if (CheckTree::nodeKey(*it).toString() == parent)
                owners << *it;
        }
        for (QTreeWidgetItem *owner : owners)
            tree->addNode(owner, caption, code);
    }
    for (bool removed = true; removed;) {
        removed = false;
        for (int i = tree->topLevelItemCount() - 1; i >= 0; --i) {
            if (tree->topLevelItem(i)->childCount() == 0) {
                std::unique_ptr<QTreeWidgetItem> gone(tree->takeTopLevelItem(i));
                removed = true;
            }
        }
    }
    tree->expandAll();
}
