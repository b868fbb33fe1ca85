#pragma once

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "platform/widgets/DataGrid.h"

// Small builders shared by the bank's forms: named controls and the row of the four cycle buttons.
namespace BankUi {

template <class W> W *Named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

inline QPushButton *Button(QWidget *parent, const char *name, const QString &text)
{
    return Named(new QPushButton(text, parent), name);
}

inline QLineEdit *Edit(QWidget *parent, const char *name)
{
    return Named(new QLineEdit(parent), name);
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

// "新增" "删除" "取消" "保存" in a row; names are prefixed (btnAdd, btnNlzlAdd ...).
inline CycleButtons AddCycleButtons(QBoxLayout *layout, QWidget *parent, const QString &prefix = {})
{
    auto make = [&](const char *what, const QString &text) {
        auto *b = new QPushButton(text, parent);
        b->setObjectName(QStringLiteral("btn") + prefix + QLatin1String(what));
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

} // namespace BankUi
