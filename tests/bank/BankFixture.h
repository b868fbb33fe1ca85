#pragma once

// Shared set-up of the bank form tests: controls by object name and a few reference rows.

#include "support/DbRows.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>

template <class T> T *Ctl(QWidget *form, const char *name)
{
    T *c = form->findChild<T *>(QLatin1String(name));
    if (!c)
        qFatal("control %s missing", name);
    return c;
}

inline void Click(QWidget *form, const char *name)
{
    Ctl<QPushButton>(form, name)->click();
}

inline void Choose(QWidget *form, const char *combo, const QString &text)
{
    auto *cb = Ctl<QComboBox>(form, combo);
    const int at = cb->findText(text);
    if (at < 0)
        qFatal("no entry %s in %s", qPrintable(text), combo);
    cb->setCurrentIndex(at);
}

// Two trades, 1 变电运行 and 2 配电线路.
inline bool AddTrades()
{
    return DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (1, '变电运行', 1)") &&
           DbExec("insert into zyzl (zyzllsh, zyzlmc, gwlxlsh) values (2, '配电线路', 1)");
}

// A subject row.
inline bool AddSubject(int key, int trade, int level, int category, const QString &code, const QString &name)
{
    return DbExec(
        QStringLiteral("insert into km (kmlsh, zyzllsh, djlsh, lblsh, kmbm, kmmc, khfslsh, pxfslsh, pxxs) "
                       "values (%1, %2, %3, %4, '%5', '%6', 1, 1, 8)")
            .arg(key)
            .arg(trade)
            .arg(level)
            .arg(category)
            .arg(code, name));
}
