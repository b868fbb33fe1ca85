#pragma once

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWidget>

// Small builders of the organisation forms: named controls and labelled cells of an edit grid.
namespace OrgUi {

template <class W> W *Named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

inline QPushButton *Button(QWidget *parent, const char *name, const QString &text)
{
    return Named(new QPushButton(text, parent), name);
}

inline QLineEdit *Edit(QWidget *parent, const char *name, int maxLength = 0)
{
    auto *e = Named(new QLineEdit(parent), name);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

inline QComboBox *Combo(QWidget *parent, const char *name, const QStringList &items = {})
{
    auto *cb = Named(new QComboBox(parent), name);
    cb->addItems(items);
    cb->setCurrentIndex(-1);
    cb->setMinimumWidth(110);
    return cb;
}

// A caption in column 2 * col and its control in the next column of row.
inline void Cell(QGridLayout *grid, int row, int col, const QString &caption, QWidget *control, int span = 1)
{
    auto *label = new QLabel(caption, control->parentWidget());
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(label, row, col * 2);
    grid->addWidget(control, row, col * 2 + 1, 1, span);
}

// Expands every node one by one, so trees that show an open folder for an expanded node hear of it
// (expandAll() expands silently).
inline void ExpandAllNodes(QTreeWidget *tree)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->childCount() > 0)
            (*it)->setExpanded(true);
    }
}

} // namespace OrgUi
