#include "DataAccess.h"

#include "data/udmMain.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"

namespace {

TdmMain *live(const QString &sql)
{
    TdmMain *dm = dmMain();
    if (!dm)
        ShowInfo(sql + QStringLiteral("\n\r") + QStringLiteral("数据库没有连接。"));
    return dm;
}

} // namespace

bool OpenSql(const QString &sql, ClientDataSet *target)
{
    TdmMain *dm = live(sql);
    return dm && dm->openSql(sql, target);
}

bool ExecSql(const QString &sql, QString &error)
{
    TdmMain *dm = live(sql);
    if (!dm) {
        error = QStringLiteral("数据库没有连接。");
        return false;
    }
    return dm->execSql(sql, error);
}

bool ExecBatch(const QStringList &statements, QString &error)
{
    TdmMain *dm = live(statements.join(QLatin1Char('\n')));
    if (!dm) {
        error = QStringLiteral("数据库没有连接。");
        return false;
    }
    return dm->execBatch(statements, error);
}

bool ApplyDelta(const QString &sourceSql, ClientDataSet *dataSet, QString &error)
{
    TdmMain *dm = dmMain();
    if (!dm) {
        error = QStringLiteral("数据库没有连接。");
        if (dataSet && dataSet->hasChanges()) {
            dataSet->undoLastChange();
            return false;
        }
        return true;
    }
    return dm->applyDelta(sourceSql, dataSet, error);
}

QDateTime GetServerTime(bool *ok)
{
    TdmMain *dm = live(QStringLiteral("select now"));
    if (!dm) {
        if (ok)
            *ok = false;
        return QDateTime();
    }
    return dm->getServerTime(ok);
}

int GetMaxId(const QString &table, const QString &column, bool *ok)
{
    TdmMain *dm = live(QStringLiteral("select max(%1) from %2").arg(column, table));
    if (!dm) {
        if (ok)
            *ok = false;
        return -1;
    }
    return dm->getMaxId(table, column, ok);
}

void FillComboItems(const QString &sql, ClientDataSet *scratch, QStringList *keys, const QString &keyColumn,
                    QStringList *items, const QString &displayColumn)
{
    if (items)
        items->clear();
    QStringList found;
    if (!scratch || !OpenSql(sql, scratch)) {
        // A failed query leaves the scratch set with someone else's rows: list nothing rather than them.
        if (keys)
            keys->clear();
        return;
    }
    ClientDataSet::ScrollGuard guard(scratch);
    const bool withKeys = !keyColumn.isEmpty();
    for (scratch->first(); !scratch->eof(); scratch->next()) {
        const QString text = scratch->asString(displayColumn);
        if (text.trimmed().isEmpty())
            continue;
        if (items)
            *items << text;
        if (withKeys)
            found << scratch->asString(keyColumn);
    }
    if (keys)
        *keys = found;
}

bool LocateValue(ClientDataSet *dataSet, const QString &column, const QString &value)
{
    if (!dataSet || value.isEmpty() || dataSet->isEmpty())
        return false;
    return dataSet->locate(column, value);
}

void CopyRows(const QString &sql, ClientDataSet *source, ClientDataSet *target)
{
    if (!target)
        return;
    target->disableControls();
    target->disableScroll();
    if (OpenSql(sql, target) && source && source->isActive()) {
        ClientDataSet::ScrollGuard sourceGuard(source);
        const int keep = source->recNo();
        const int n = qMin(source->fieldCount(), target->fieldCount());
        QList<int> from;
        for (int i = 0; i < n; ++i)
            from << source->fieldIndex(target->fieldName(i));
        for (int r = 0; r < source->recordCount(); ++r) {
            target->append();
            for (int i = 0; i < n; ++i) {
                if (from[i] >= 0)
                    target->setValue(i, source->valueAt(r, from[i]));
            }
            target->post();
        }
        if (keep > 0)
            source->moveTo(keep);
    }
    target->enableScroll();
    target->first();
    target->enableControls();
}

QString QuotedStr(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    const bool national = dmMain() && dmMain()->engine() == DbEngine::SqlServer;
    return (national ? QStringLiteral("N'") : QStringLiteral("'")) + s + QLatin1Char('\'');
}
