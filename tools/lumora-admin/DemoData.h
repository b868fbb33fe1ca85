#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class TdmMain;

// Demo data is loaded in steps, one source file per area (demo_org.cpp: departments, posts, people,
// roles; later areas add their own file). A step registers itself with a static DemoStep object:
//
//     static DemoStep step(100, "组织机构", [](TdmMain &dm, QString &error) { ... return true; });
//
// Steps run in ascending order, each in its own transaction where it writes through ExecBatch. A step
// that finds its data already present returns true without writing (demo-data may be run again).
struct DemoStep
{
    using Run = std::function<bool(TdmMain &dm, QString &error)>;
    DemoStep(int order, const char *name, Run run);

    int order;
    QString name;
    Run run;

    // Registered steps in order.
    static QList<const DemoStep *> all();
};

// Helpers for demo files: a quoted text literal and whether a query returns any row.
QString demoText(TdmMain &dm, const QString &text);
bool demoHasRows(TdmMain &dm, const QString &sql);
