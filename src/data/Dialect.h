#pragma once

#include <QDateTime>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVariant>

// The database engines the program speaks to.
enum class DbEngine {
    SqlServer, // DBType 0 and 1, through ODBC / FreeTDS
    Sqlite,    // DBType 2, the embedded korvax.db
    Postgres,  // DBType 3
};

// Everything that differs between the engines, in one place: forms ask the dialect for an expression
// instead of testing the database type themselves. Expressions are returned as SQL text to concatenate.
class Dialect
{
public:
    // The dialect of an engine; the one of the live connection is dmMain()->dialect().
    static const Dialect &of(DbEngine engine);
    // Engine of a DBType value (0/1 SQL Server, 2 SQLite, 3 PostgreSQL; others: SQLite, never used
    // because start-up refuses them).
    static DbEngine engineOf(int dbType);

    DbEngine engine() const { return m_engine; }
    // Qt SQL driver name.
    QString driverName() const;

    // --- queries the data access routines run ---
    // One row, column dTime: the server's current date-time (to the second).
    QString serverTimeSql() const;
    // One row, one column: the highest value of an integer key column (null on an empty table).
    QString maxIdSql(const QString &table, const QString &column) const;

    // --- expressions ---
    QString now() const;                            // current date-time of the server
    QString concat(const QStringList &parts) const; // a + b / a || b
    QString length(const QString &expr) const;      // len() / length()
    QString ltrim(const QString &expr) const;
    QString trim(const QString &expr) const;
    QString ifNull(const QString &expr, const QString &replacement) const; // isnull / ifnull / coalesce
    QString castInt(const QString &expr) const;
    QString castText(const QString &expr) const;
    // Literals: 'yyyy-MM-dd HH:mm:ss' and 'yyyy-MM-dd', typed where the engine needs it.
    QString dateTimeLiteral(const QDateTime &value) const;
    QString dateLiteral(const QDate &value) const;
    // 'yyyy-MM-dd' text of a date-time expression (to compare with a date literal or a text date).
    QString dateText(const QString &expr) const;
    // 'HH:mm' text of a date-time expression (daily exam time windows).
    QString timeOfDayText(const QString &expr) const;
    // Whole minutes from expression a to expression b.
    QString minutesBetween(const QString &from, const QString &to) const;
    // Keeps the first n rows of a complete select statement.
    QString limitRows(const QString &select, int n) const;

    // --- column types of the schema ---
    QString integerType() const;
    QString textType(int length) const;
    QString memoType() const;
    QString numberType() const;
    QString dateTimeType() const;
    QString blobType() const;

    // --- values and errors ---
    // A value as it is bound for this engine: date-times become 'yyyy-MM-dd HH:mm:ss' text so they
    // compare with what the database holds.
    QVariant bindValue(const QVariant &value) const;
    // Deadlocks, serialization failures, a busy database: worth trying the whole transaction again.
    bool isRetryable(const QSqlError &error) const;
    // A unique key (primary key or unique index) was violated.
    bool isDuplicateKey(const QSqlError &error) const;

private:
    explicit Dialect(DbEngine engine) : m_engine(engine) {}
    DbEngine m_engine;
};
