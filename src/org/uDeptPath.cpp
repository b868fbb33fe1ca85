#include "org/uDeptPath.h"

#include "platform/ClientDataSet.h"

#include <QHash>
#include <QSet>

namespace {

struct Dept
{
    QString parent;
    QString name;
};

QString KeyText(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    return ok ? QString::number(n) : v.toString().trimmed();
}

QHash<QString, Dept> Index(const ClientDataSet *ds)
{
    QHash<QString, Dept> index;
    if (!ds)
        return index;
    const int kf = ds->fieldIndex(QStringLiteral("bmlsh"));
    const int pf = ds->fieldIndex(QStringLiteral("bm_bmlsh"));
    const int nf = ds->fieldIndex(QStringLiteral("bmmc"));
    if (kf < 0)
        return index;
    for (int r = 0; r < ds->recordCount(); ++r) {
        const QString key = KeyText(ds->valueAt(r, kf));
        if (key.isEmpty() || index.contains(key))
            continue;
        index.insert(key, {pf >= 0 ? KeyText(ds->valueAt(r, pf)) : QString(),
                           nf >= 0 ? ds->valueAt(r, nf).toString() : QString()});
    }
    return index;
}

} // namespace

QString GetDeptPath(const ClientDataSet *departments, const QVariant &key)
{
    const QHash<QString, Dept> index = Index(departments);
    QString at = KeyText(key);
    if (!index.contains(at))
        return QString();
    QString path = index.value(at).name;
    QSet<QString> seen{at};
    for (at = index.value(at).parent; index.contains(at) && !seen.contains(at); at = index.value(at).parent) {
        seen.insert(at);
        path = index.value(at).name + QLatin1Char('\\') + path;
    }
    return path;
}

bool IsDescendantDept(const ClientDataSet *departments, const QVariant &candidate, const QVariant &department)
{
    const QHash<QString, Dept> index = Index(departments);
    const QString top = KeyText(department);
    QString at = KeyText(candidate);
    if (top.isEmpty() || at.isEmpty() || at == top)
        return false;
    QSet<QString> seen{at};
    for (at = index.value(at).parent; !at.isEmpty() && !seen.contains(at); at = index.value(at).parent) {
        if (at == top)
            return true;
        seen.insert(at);
    }
    return false;
}
