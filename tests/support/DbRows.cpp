#include "support/DbRows.h"

#include "data/DataAccess.h"
#include "platform/ClientDataSet.h"

QStringList DbRows(const QString &sql)
{
    ClientDataSet ds;
    QStringList rows;
    if (!OpenSql(sql, &ds))
        return {QStringLiteral("<query failed>")};
    for (ds.first(); !ds.eof(); ds.next()) {
        QStringList cells;
        for (int c = 0; c < ds.fieldCount(); ++c) {
            const QVariant v = ds.value(c);
            // Numbers compare as the user sees them: 2 and 2.0 are both "2".
            if (v.isValid() && ds.fields()[c].isNumeric())
                cells << QString::number(v.toDouble());
            else
                cells << v.toString();
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QString DbScalar(const QString &sql)
{
    const QStringList rows = DbRows(sql);
    return rows.isEmpty() ? QString() : rows.first().section(QLatin1Char('|'), 0, 0);
}

bool DbExec(const QString &sql)
{
    QString error;
    return ExecSql(sql, error);
}
