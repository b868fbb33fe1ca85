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
