#include "Dialect.h"

namespace {

QString quoted(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

} // namespace

const Dialect &Dialect::of(DbEngine engine)
{
    static const Dialect sqlServer(DbEngine::SqlServer);
    static const Dialect sqlite(DbEngine::Sqlite);
    static const Dialect postgres(DbEngine::Postgres);
    switch (engine) {
    case DbEngine::SqlServer:
        return sqlServer;
    case DbEngine::Postgres:
        return postgres;
    case DbEngine::Sqlite:
        break;
    }
    return sqlite;
}

DbEngine Dialect::engineOf(int dbType)
{
    switch (dbType) {
    case 0:
    case 1:
        return DbEngine::SqlServer;
    case 3:
        return DbEngine::Postgres;
    default:
        return DbEngine::Sqlite;
    }
}

QString Dialect::driverName() const
{
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("QODBC");
    case DbEngine::Postgres:
        return QStringLiteral("QPSQL");
    case DbEngine::Sqlite:
        break;
    }
    return QStringLiteral("QSQLITE");
}

QString Dialect::serverTimeSql() const
{
    return QStringLiteral("select ") + now() + QStringLiteral(" as dTime");
}

QString Dialect::maxIdSql(const QString &table, const QString &column) const
{
    return QStringLiteral("select max(%1) from %2").arg(castInt(column), table);
}

QString Dialect::now() const
{
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("GetDate()");
    case DbEngine::Postgres:
        return QStringLiteral("localtimestamp(0)");
    case DbEngine::Sqlite:
        break;
    }
    return QStringLiteral("datetime('now', 'localtime')");
}

QString Dialect::concat(const QStringList &parts) const
{
    return parts.join(m_engine == DbEngine::SqlServer ? QStringLiteral(" + ") : QStringLiteral(" || "));
}

QString Dialect::length(const QString &expr) const
{
    return (m_engine == DbEngine::SqlServer ? QStringLiteral("len(%1)") : QStringLiteral("length(%1)"))
        .arg(expr);
}

QString Dialect::ltrim(const QString &expr) const
{
    return QStringLiteral("ltrim(%1)").arg(expr);
}

QString Dialect::trim(const QString &expr) const
{
    return m_engine == DbEngine::SqlServer ? QStringLiteral("ltrim(rtrim(%1))").arg(expr)
                                           : QStringLiteral("trim(%1)").arg(expr);
}

QString Dialect::ifNull(const QString &expr, const QString &replacement) const
{
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("isnull(%1, %2)").arg(expr, replacement);
    case DbEngine::Postgres:
        return QStringLiteral("coalesce(%1, %2)").arg(expr, replacement);
    case DbEngine::Sqlite:
        break;
    }
    return QStringLiteral("ifnull(%1, %2)").arg(expr, replacement);
}

QString Dialect::castInt(const QString &expr) const
{
    return (m_engine == DbEngine::SqlServer ? QStringLiteral("Cast(%1 as int)")
                                            : QStringLiteral("cast(%1 as integer)"))
        .arg(expr);
}

QString Dialect::castText(const QString &expr) const
{
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("cast(%1 as nvarchar(4000))").arg(expr);
    case DbEngine::Postgres:
        return QStringLiteral("cast(%1 as varchar)").arg(expr);
    case DbEngine::Sqlite:
        break;
    }
    return QStringLiteral("cast(%1 as text)").arg(expr);
}

QString Dialect::dateTimeLiteral(const QDateTime &value) const
{
    const QString text = quoted(value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("convert(datetime, %1, 120)").arg(text);
    case DbEngine::Postgres:
        return QStringLiteral("timestamp ") + text;
    case DbEngine::Sqlite:
        break;
    }
    return text;
}

QString Dialect::dateLiteral(const QDate &value) const
{
    const QString text = quoted(value.toString(QStringLiteral("yyyy-MM-dd")));
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("convert(datetime, %1, 120)").arg(text);
    case DbEngine::Postgres:
        return QStringLiteral("date ") + text;
    case DbEngine::Sqlite:
        break;
    }
    return text;
}

QString Dialect::dateText(const QString &expr) const
{
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("convert(varchar(10), %1, 120)").arg(expr);
    case DbEngine::Postgres:
        return QStringLiteral("to_char(%1, 'YYYY-MM-DD')").arg(expr);
    case DbEngine::Sqlite:
        break;
    }
    return QStringLiteral("strftime('%Y-%m-%d', %1)").arg(expr);
}

QString Dialect::timeOfDayText(const QString &expr) const
{
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("convert(varchar(5), %1, 108)").arg(expr);
    case DbEngine::Postgres:
        return QStringLiteral("to_char(%1, 'HH24:MI')").arg(expr);
    case DbEngine::Sqlite:
        break;
    }
    return QStringLiteral("strftime('%H:%M', %1)").arg(expr);
}

QString Dialect::minutesBetween(const QString &from, const QString &to) const
{
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("datediff(minute, %1, %2)").arg(from, to);
    case DbEngine::Postgres:
        return QStringLiteral("cast(floor(extract(epoch from (%2 - %1)) / 60) as integer)").arg(from, to);
    case DbEngine::Sqlite:
        break;
    }
    return QStringLiteral("cast((julianday(%2) - julianday(%1)) * 1440 as integer)").arg(from, to);
}

QString Dialect::limitRows(const QString &select, int n) const
{
    if (m_engine != DbEngine::SqlServer)
        return select + QStringLiteral(" limit ") + QString::number(n);
    QString s = select.trimmed();
    const QString top = QStringLiteral("top ") + QString::number(n) + QLatin1Char(' ');
    if (s.startsWith(QLatin1String("select distinct "), Qt::CaseInsensitive))
        return s.insert(16, top);
    if (s.startsWith(QLatin1String("select "), Qt::CaseInsensitive))
        return s.insert(7, top);
    return s;
}

QString Dialect::integerType() const
{
    return m_engine == DbEngine::SqlServer ? QStringLiteral("int") : QStringLiteral("integer");
}

QString Dialect::textType(int length) const
{
    return (m_engine == DbEngine::SqlServer ? QStringLiteral("nvarchar(%1)") : QStringLiteral("varchar(%1)"))
        .arg(length);
}

QString Dialect::memoType() const
{
    return m_engine == DbEngine::SqlServer ? QStringLiteral("nvarchar(max)") : QStringLiteral("text");
}

QString Dialect::numberType() const
{
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("float");
    case DbEngine::Postgres:
        return QStringLiteral("double precision");
    case DbEngine::Sqlite:
        break;
    }
    return QStringLiteral("real");
}

QString Dialect::dateTimeType() const
{
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("datetime");
    case DbEngine::Postgres:
        // To the second, as the program compares fetched date-times when it writes rows back.
        return QStringLiteral("timestamp(0)");
    case DbEngine::Sqlite:
        break;
    }
    return QStringLiteral("datetime");
}

QString Dialect::blobType() const
{
    switch (m_engine) {
    case DbEngine::SqlServer:
        return QStringLiteral("varbinary(max)");
    case DbEngine::Postgres:
        return QStringLiteral("bytea");
    case DbEngine::Sqlite:
        break;
    }
    return QStringLiteral("blob");
}

QVariant Dialect::bindValue(const QVariant &value) const
{
    if (!value.isValid())
        return value;
    const int type = value.metaType().id();
    if (type != QMetaType::QDateTime && type != QMetaType::QDate)
        return value;
    QDateTime dt = type == QMetaType::QDate ? value.toDate().startOfDay() : value.toDateTime();
    // Date-times are kept to the second everywhere, so a fetched value compares equal when it is
    // written back.
    dt = dt.addMSecs(-dt.time().msec());
    if (m_engine == DbEngine::SqlServer)
        return dt; // bound as a timestamp: immune to the server's date format setting
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

bool Dialect::isRetryable(const QSqlError &error) const
{
    const QString code = error.nativeErrorCode();
    const QString text = error.text();
    switch (m_engine) {
    case DbEngine::SqlServer:
        return text.contains(QStringLiteral("事务")) ||
               text.contains(QLatin1String("deadlock"), Qt::CaseInsensitive) ||
               code == QLatin1String("1205") || code == QLatin1String("40001");
    case DbEngine::Postgres:
        return code == QLatin1String("40001") || code == QLatin1String("40P01") ||
               text.contains(QLatin1String("deadlock detected")) ||
               text.contains(QLatin1String("could not serialize access"));
    case DbEngine::Sqlite: {
        bool ok = false;
        const int n = code.toInt(&ok);
        return (ok && (n % 256 == 5 || n % 256 == 6)) || text.contains(QLatin1String("database is locked")) ||
               text.contains(QLatin1String("database table is locked"));
    }
    }
    return false;
}

bool Dialect::isDuplicateKey(const QSqlError &error) const
{
    const QString code = error.nativeErrorCode();
    const QString text = error.text();
    switch (m_engine) {
    case DbEngine::SqlServer:
        return code == QLatin1String("2627") || code == QLatin1String("2601") ||
               text.contains(QLatin1String("duplicate key"), Qt::CaseInsensitive) ||
               text.contains(QLatin1String("PRIMARY KEY constraint"), Qt::CaseInsensitive);
    case DbEngine::Postgres:
        return code == QLatin1String("23505") || text.contains(QLatin1String("duplicate key value"));
    case DbEngine::Sqlite:
        return text.contains(QLatin1String("UNIQUE constraint failed")) || code == QLatin1String("2067") ||
               code == QLatin1String("1555");
    }
    return false;
}
