#include "DemoData.h"

#include "data/udmMain.h"
#include "platform/ClientDataSet.h"

#include <algorithm>

namespace {
QList<const DemoStep *> &registry()
{
    static QList<const DemoStep *> steps;
    return steps;
}
} // namespace

DemoStep::DemoStep(int order, const char *name, Run run)
    : order(order), name(QString::fromUtf8(name)), run(std::move(run))
{
    registry() << this;
}

QList<const DemoStep *> DemoStep::all()
{
    QList<const DemoStep *> steps = registry();
    std::stable_sort(steps.begin(), steps.end(),
                     [](const DemoStep *a, const DemoStep *b) { return a->order < b->order; });
    return steps;
}

QString demoText(TdmMain &dm, const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return (dm.engine() == DbEngine::SqlServer ? QStringLiteral("N'") : QStringLiteral("'")) + s +
           QLatin1Char('\'');
}

bool demoHasRows(TdmMain &dm, const QString &sql)
{
    ClientDataSet ds;
    return dm.openSql(sql, &ds) && !ds.isEmpty();
}

QStringList demoRoleSql(TdmMain &dm, int key, const QString &name, const QString &entries)
{
    QStringList sql;
    if (demoHasRows(dm, QStringLiteral("select jslsh from js where jslsh = %1").arg(key)))
        return sql;
    sql << QStringLiteral("insert into js (jslsh, jsmc) values (%1, %2)").arg(key).arg(demoText(dm, name));
    for (const QString &code : entries.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        sql << QStringLiteral("insert into jsgnqx (cdbh, jslsh) values ('%1', %2)").arg(code).arg(key);
    return sql;
}
