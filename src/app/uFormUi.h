#pragma once

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWidget>

#include "data/DataAccess.h"
#include "data/udmCommon.h"
#include "platform/Dialogs.h"

#include "platform/widgets/DataGrid.h"

// Small builders the forms share: named controls, labelled cells, code columns and the row of the four
// editing-cycle buttons.
namespace FormUi {

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

inline QComboBox *Combo(QWidget *parent, const char *name, const QStringList &items = {}, int maxVisible = 10)
{
    auto *cb = Named(new QComboBox(parent), name);
    cb->addItems(items);
    cb->setCurrentIndex(-1);
    cb->setMaxVisibleItems(maxVisible);
    cb->setMinimumWidth(110);
    return cb;
}

// A label followed by its control, for a horizontal filter or edit row.
inline void AddLabelled(QBoxLayout *layout, QWidget *parent, const QString &caption, QWidget *control)
{
    layout->addWidget(new QLabel(caption, parent));
    layout->addWidget(control);
}

// A code column of a fixed list: the entry's name, blank for 0 (nothing chosen).
inline int AddCodeColumn(DataGrid *grid, const QString &field, const QString &caption,
                         const QStringList &list, int width = 0)
{
    QHash<QString, QString> names{{QStringLiteral("0"), QString()}};
    for (int i = 0; i < list.size(); ++i)
        names.insert(QString::number(i + 1), list[i]);
    return grid->addLookupColumn(field, caption, names, width);
}

struct CycleButtons
{
    QPushButton *add;
    QPushButton *del;
    QPushButton *cancel;
    QPushButton *save;
};

// "新增" "删除" "取消" "保存" in a row; names take a prefix or a suffix (btnAdd, btnNlzlAdd, btnAddGw ...).
inline CycleButtons AddCycleButtons(QBoxLayout *layout, QWidget *parent, const QString &prefix = {},
                                    const QString &suffix = {})
{
    auto make = [&](const char *what, const QString &text) {
        auto *b = new QPushButton(text, parent);
        b->setObjectName(QStringLiteral("btn") + prefix + QLatin1String(what) + suffix);
        layout->addWidget(b);
        return b;
    };
    CycleButtons b;
    b.add = make("Add", QStringLiteral("新增"));
    b.del = make("Del", QStringLiteral("删除"));
    b.cancel = make("Cancel", QStringLiteral("取消"));
    b.save = make("Save", QStringLiteral("保存"));
    return b;
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

// Fills a trade drop-down from zyzl with its parallel key list; afterwards nothing is chosen and no
// change signal has been sent.
inline void FillTradeCombo(QComboBox *cb, QStringList *keys)
{
    if (!dmCommon())
        return;
    const QSignalBlocker block(cb);
    FillCombo(QStringLiteral("select * from zyzl"), dmCommon()->cdsCommon, keys, QStringLiteral("zyzllsh"),
              cb, QStringLiteral("zyzlmc"));
    cb->setCurrentIndex(-1);
}

// Key of the chosen entry of a drop-down with a parallel key list; 0 when nothing is chosen.
inline int ChosenKey(const QComboBox *cb, const QStringList &keys)
{
    const int at = cb->currentIndex();
    return at >= 0 && at < keys.size() ? keys.at(at).toInt() : 0;
}

// An edit box that must not be empty (blanks alone count as empty): otherwise the message is shown,
// the box gets the focus again and false comes back.
inline bool RequireText(QLineEdit *edit, const QString &message)
{
    if (!edit->text().trimmed().isEmpty())
        return true;
    ShowInfo(message);
    edit->setFocus();
    return false;
}

} // namespace FormUi
