#pragma once

#include "data/Dialect.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <functional>
#include <memory>

class ClientDataSet;
class QSqlQuery;
class QSqlRecord;

// The one connection of the program and the routines that run SQL on it. Forms use the free routines
// of data/DataAccess.h (OpenSql, ExecSql, ApplyDelta, ...), which work on the live module dmMain();
// the methods here are the same routines bound to one connection, for tools, tests and threads that
// hold a module of their own.
//
// Time-outs: 10 s to connect and 10 s per statement (PostgreSQL statement_timeout, SQLite busy
// time-out, SQL Server login and lock time-outs). A statement that finds the server connection lost
// fails with its message, and the connection is opened again for the next one.
class TdmMain : public QObject
{
    Q_OBJECT
public:
    // Connects at once to the database of the settings: DBType 0/1 SQL Server on ServerIP (database
    // korvax; 1 the named instance ZERV), 2 the SQLite file AppPath + "korvax.db" (which must exist),
    // 3 PostgreSQL database korvax on ServerIP. A failure is shown (ShowError, unless showConnectError
    // is false: the server test of the login reads connectionError() instead) and leaves the module
    // unconnected: every later statement then fails with its message.
    explicit TdmMain(QObject *parent = nullptr, bool showConnectError = true);
    // Connects to an explicitly named database: a SQLite file path (created when missing, unless
    // createIfMissing is false), a libpq connection string ("host=... port=... dbname=... user=..."),
    // or an ODBC connection string for SQL Server. Failures are not shown: see isConnected().
    TdmMain(DbEngine engine, const QString &target, QObject *parent = nullptr, bool createIfMissing = true);
    ~TdmMain() override;

    bool isConnected() const;
    QString connectionError() const { return m_connectError; }
    DbEngine engine() const { return m_engine; }
    const Dialect &dialect() const { return Dialect::of(m_engine); }
    QSqlDatabase database() const;
    // SQLite file path, or a description of the server connection without its password.
    QString target() const { return m_target; }

    // Message of the last error while writing rows back (empty after a successful ApplyDelta).
    QString UpdateErrorText;

    // --- the routines on this connection (see DataAccess.h for their contract) ---
    bool openSql(const QString &sql, ClientDataSet *target);
    bool execSql(const QString &sql, QString &error);
    bool execBatch(const QStringList &statements, QString &error);
    bool applyDelta(const QString &sourceSql, ClientDataSet *dataSet, QString &error);
    QDateTime getServerTime(bool *ok = nullptr);
    int getMaxId(const QString &table, const QString &column, bool *ok = nullptr);

    // Whether messages are shown through the Dialogs service (on by default). Worker threads and
    // command-line batch steps turn them off and read the error texts instead.
    void setShowErrors(bool show) { m_showErrors = show; }

    // ApplyDelta retries a deadlock or serialization failure: at most kApplyAttempts attempts,
    // kRetryWaitMs apart. The wait is replaceable so tests need not sleep.
    static constexpr int kApplyAttempts = 10;
    static constexpr int kRetryWaitMs = 5000;
    void setRetryWait(std::function<void(int ms)> wait) { m_wait = std::move(wait); }
    // Number of attempts the last ApplyDelta made.
    int lastApplyAttempts() const { return m_lastAttempts; }
    // Test hook: called with every statement before it runs; a valid error returned is taken as that
    // statement's failure.
    void setFaultInjector(std::function<QSqlError(const QString &sql)> injector)
    {
        m_inject = std::move(injector);
    }

    // Name of the table a source query reads from: the first name after FROM (without schema prefix,
    // brackets or quotes). Empty when there is none.
    static QString tableOfSql(const QString &sql);

private:
    void open(const QString &target, bool createIfMissing);
    void report(const QString &sql, const QString &message) const;
    bool run(QSqlQuery &query, const QString &sql, QString *error);
    bool prepareAndRun(QSqlQuery &query, const QString &sql, const QVariantList &values, QSqlError *error);
    bool applyOnce(const QString &table, const QSqlRecord &columns, ClientDataSet *dataSet,
                   QHash<qint64, int> *newKeys, QSqlError *error);
    bool begin(QSqlError *error);
    bool commit(QSqlError *error);
    void rollback();
    static QString errorText(const QSqlError &error);
    bool connectionLost(const QSqlError &error) const;
    void recoverIfLost(const QSqlError &error);

    DbEngine m_engine;
    QString m_connName;
    QString m_target;
    QString m_connectError;
    QStringList m_setup; // statements run after every (re)connect
    bool m_showErrors = true;
    int m_lastAttempts = 0;
    std::function<void(int)> m_wait;
    std::function<QSqlError(const QString &)> m_inject;
};

// The live data module: created at login, recreated when the server address changes, freed with the
// main window. nullptr while there is none.
TdmMain *dmMain();
// Installs a module (the previous one is freed). nullptr frees the current one.
void SetDmMain(std::unique_ptr<TdmMain> module);
