#include "udmMain.h"

#include "DbLogin.h"
#include "data/Schema.h"
#include "platform/AppGlobals.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

namespace {

QAtomicInt g_connectionSerial;
std::unique_ptr<TdmMain> g_dmMain;

const char *const kConflictText = "要保存的记录已被其他用户修改或删除，请重新读取后再保存。";
const char *const kNotConnectedText = "数据库没有连接。";

// libpq connection string -> key/value pairs (values may be single-quoted with \' and \\ escapes).
QList<QPair<QString, QString>> parseConnInfo(const QString &conninfo)
{
    QList<QPair<QString, QString>> out;
    int i = 0;
    const int n = conninfo.size();
    while (i < n) {
        while (i < n && conninfo[i].isSpace())
            ++i;
        const int eq = conninfo.indexOf(QLatin1Char('='), i);
        if (i >= n || eq < 0)
            break;
        const QString key = conninfo.mid(i, eq - i).trimmed();
        i = eq + 1;
        while (i < n && conninfo[i].isSpace())
            ++i;
        QString value;
        if (i < n && conninfo[i] == QLatin1Char('\'')) {
            ++i;
            while (i < n && conninfo[i] != QLatin1Char('\'')) {
                if (conninfo[i] == QLatin1Char('\\') && i + 1 < n)
                    ++i;
                value += conninfo[i++];
            }
            ++i;
        } else {
            while (i < n && !conninfo[i].isSpace())
                value += conninfo[i++];
        }
        out << qMakePair(key, value);
    }
    return out;
}

QString odbcValue(const QString &value)
{
    // Braces keep ';' and '=' inside a value; a closing brace is doubled.
    QString v = value;
    v.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + v + QLatin1Char('}');
}

QString libpqValue(const QString &value)
{
    // A quoted libpq value: the typed address cannot close the quotes and add keys of its own.
    QString v = value;
    v.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    v.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

QString savepointSql(DbEngine e)
{
    return e == DbEngine::SqlServer ? QStringLiteral("save transaction lumora_row")
                                    : QStringLiteral("savepoint lumora_row");
}

QString rollbackToSavepointSql(DbEngine e)
{
    return e == DbEngine::SqlServer ? QStringLiteral("rollback transaction lumora_row")
                                    : QStringLiteral("rollback to savepoint lumora_row");
}

} // namespace

// --- connection ---------------------------------------------------------------------------------------

TdmMain::TdmMain(QObject *parent, bool showConnectError)
    : QObject(parent), m_engine(Dialect::engineOf(DBType))
{
    QString target;
    switch (DBType) {
    case DbSqlServer:
    case DbSqlServerNamed: {
        QString server = ServerIP.trimmed();
        if (DBType == DbSqlServerNamed)
            server += QStringLiteral("\\ZERV");
        // The address is typed by the user: braced, so ';' or '=' in it cannot add connection keys.
        QString conn = QStringLiteral("DRIVER={FreeTDS};SERVER=%1;").arg(odbcValue(server));
        if (DBType != DbSqlServerNamed)
            conn += QStringLiteral("PORT=1433;");
        conn += QStringLiteral("DATABASE=korvax;UID=%1;PWD=%2;ClientCharset=UTF-8;")
                    .arg(odbcValue(QString::fromUtf8(LUMORA_MSSQL_USER)),
                         odbcValue(QString::fromUtf8(LUMORA_MSSQL_PASSWORD)));
        target = conn;
        break;
    }
    case DbPostgres: {
        target = QStringLiteral("host=%1 dbname=korvax").arg(libpqValue(ServerIP.trimmed()));
        const QString user = QString::fromUtf8(LUMORA_PG_USER);
        const QString password = QString::fromUtf8(LUMORA_PG_PASSWORD);
        if (!user.isEmpty())
            target += QStringLiteral(" user=%1").arg(libpqValue(user));
        if (!password.isEmpty())
            target += QStringLiteral(" password=%1").arg(libpqValue(password));
        break;
    }
    default:
        target = AppPath + QStringLiteral("korvax.db");
        break;
    }
    open(target, false);
    if (!isConnected() && showConnectError)
        ShowError(QStringLiteral("连接数据库出现异常！原因：") + m_connectError);
}

TdmMain::TdmMain(DbEngine engine, const QString &target, QObject *parent, bool createIfMissing)
    : QObject(parent), m_engine(engine)
{
    open(target, createIfMissing);
}

TdmMain::~TdmMain()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connName);
}

void TdmMain::open(const QString &target, bool createIfMissing)
{
    m_connName = QStringLiteral("lumora_%1").arg(g_connectionSerial.fetchAndAddRelaxed(1) + 1);
    QSqlDatabase db = QSqlDatabase::addDatabase(dialect().driverName(), m_connName);
    if (!db.isValid()) {
        m_connectError = QStringLiteral("数据库驱动 %1 不可用。").arg(dialect().driverName());
        return;
    }
    QStringList setup;
    switch (m_engine) {
    case DbEngine::Sqlite:
        m_target = target;
        if (!createIfMissing && !QFileInfo::exists(target)) {
            m_connectError = QStringLiteral("数据库文件不存在：") + target;
            return;
        }
        db.setDatabaseName(target);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        break;
    case DbEngine::Postgres: {
        QStringList options{QStringLiteral("connect_timeout=10")};
        QStringList shown;
        for (const auto &[key, value] : parseConnInfo(target)) {
            if (key == QLatin1String("host") || key == QLatin1String("hostaddr"))
                db.setHostName(value);
            else if (key == QLatin1String("port"))
                db.setPort(value.toInt());
            else if (key == QLatin1String("dbname"))
                db.setDatabaseName(value);
            else if (key == QLatin1String("user"))
                db.setUserName(value);
            else if (key == QLatin1String("password"))
                db.setPassword(value);
            else if (key != QLatin1String("connect_timeout"))
                options << key + QLatin1Char('=') + value;
            if (key != QLatin1String("password"))
                shown << key + QLatin1Char('=') + value;
        }
        m_target = shown.join(QLatin1Char(' '));
        db.setConnectOptions(options.join(QLatin1Char(';')));
        setup << QStringLiteral("set statement_timeout = 10000");
        break;
    }
    case DbEngine::SqlServer: {
        static const QRegularExpression pwd(QStringLiteral("PWD=(\\{[^}]*(\\}\\}[^}]*)*\\}|[^;]*)"),
                                            QRegularExpression::CaseInsensitiveOption);
        m_target = QString(target).replace(pwd, QStringLiteral("PWD=***"));
        db.setDatabaseName(target);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10;SQL_ATTR_CONNECTION_TIMEOUT=10"));
        setup << QStringLiteral("set lock_timeout 10000") << QStringLiteral("set dateformat ymd");
        break;
    }
    }
    m_setup = setup;
    if (!db.open()) {
        m_connectError = errorText(db.lastError());
        return;
    }
    for (const QString &sql : setup) {
        QSqlQuery q(db);
        if (!q.exec(sql)) {
            m_connectError = errorText(q.lastError());
            db.close();
            return;
        }
    }
}

bool TdmMain::isConnected() const
{
    return m_connectError.isEmpty() && database().isOpen();
}

QSqlDatabase TdmMain::database() const
{
    return QSqlDatabase::database(m_connName, false);
}

QString TdmMain::errorText(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    // SQLite reports some refusals of the driver itself with the database text "not an error".
    if (text.isEmpty() || text == QLatin1String("not an error"))
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text;
}

void TdmMain::report(const QString &sql, const QString &message) const
{
    if (m_showErrors)
        ShowInfo(sql + QStringLiteral("\n\r") + message);
}

bool TdmMain::run(QSqlQuery &query, const QString &sql, QString *error)
{
    if (!isConnected()) {
        *error = m_connectError.isEmpty() ? QString::fromUtf8(kNotConnectedText) : m_connectError;
        return false;
    }
    if (m_inject) {
        const QSqlError injected = m_inject(sql);
        if (injected.isValid()) {
            *error = errorText(injected);
            return false;
        }
    }
    if (!query.exec(sql)) {
        *error = errorText(query.lastError());
        recoverIfLost(query.lastError());
        return false;
    }
    return true;
}

bool TdmMain::connectionLost(const QSqlError &error) const
{
    const QString code = error.nativeErrorCode();
    const QString text = error.text();
    switch (m_engine) {
    case DbEngine::Postgres:
        return code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P0")) ||
               text.contains(QLatin1String("server closed the connection")) ||
               text.contains(QLatin1String("no connection to the server")) ||
               text.contains(QLatin1String("terminating connection")) ||
               text.contains(QLatin1String("connection to server"));
    case DbEngine::SqlServer:
        return code.startsWith(QLatin1String("08")) ||
               text.contains(QLatin1String("Communication link failure")) ||
               text.contains(QLatin1String("Write to the server failed")) ||
               text.contains(QLatin1String("Read from the server failed"));
    case DbEngine::Sqlite:
        break;
    }
    return false;
}

void TdmMain::recoverIfLost(const QSqlError &error)
{
    // The statement that met a lost connection has failed and is reported as such; the connection is
    // opened again so the user's next step works once the server is back.
    if (!connectionLost(error))
        return;
    QSqlDatabase db = database();
    db.close();
    if (!db.open())
        return;
    for (const QString &sql : m_setup) {
        QSqlQuery q(db);
        q.exec(sql);
    }
}

bool TdmMain::prepareAndRun(QSqlQuery &query, const QString &sql, const QVariantList &values,
                            QSqlError *error)
{
    if (m_inject) {
        const QSqlError injected = m_inject(sql);
        if (injected.isValid()) {
            *error = injected;
            return false;
        }
    }
    if (!query.prepare(sql)) {
        *error = query.lastError();
        return false;
    }
    for (const QVariant &v : values)
        query.addBindValue(dialect().bindValue(v));
    if (!query.exec()) {
        *error = query.lastError();
        recoverIfLost(*error);
        return false;
    }
    return true;
}

// --- routines -----------------------------------------------------------------------------------------

bool TdmMain::openSql(const QString &sql, ClientDataSet *target)
{
    if (!target)
        return false;
    QSqlQuery q(database());
    q.setForwardOnly(true);
    QString error;
    bool ok = run(q, sql, &error);
    if (ok && !q.isSelect()) {
        error = QStringLiteral("语句没有返回结果集。");
        ok = false;
    }
    if (ok)
        ok = target->loadFromQuery(q, &error); // keeps the target as it was on failure
    if (!ok)
        report(sql, error);
    return ok;
}

bool TdmMain::execSql(const QString &sql, QString &error)
{
    error.clear();
    QSqlQuery q(database());
    if (run(q, sql, &error))
        return true;
    report(sql, error);
    return false;
}

bool TdmMain::execBatch(const QStringList &statements, QString &error)
{
    error.clear();
    QSqlError err;
    if (!begin(&err)) {
        error = errorText(err);
        report(statements.join(QLatin1Char('\n')), error);
        return false;
    }
    for (const QString &sql : statements) {
        QSqlQuery q(database());
        if (!run(q, sql, &error)) {
            rollback();
            report(sql, error);
            return false;
        }
    }
    if (!commit(&err)) {
        error = errorText(err);
        report(statements.join(QLatin1Char('\n')), error);
        return false;
    }
    return true;
}

QDateTime TdmMain::getServerTime(bool *ok)
{
    const QString sql = dialect().serverTimeSql();
    QSqlQuery q(database());
    q.setForwardOnly(true);
    QString error;
    QDateTime result;
    if (run(q, sql, &error)) {
        if (q.next()) {
            const QVariant v = q.value(0);
            result = v.metaType().id() == QMetaType::QString
                         ? QDateTime::fromString(v.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                         : v.toDateTime();
        }
        if (!result.isValid())
            error = QStringLiteral("无法读取服务器时间。");
    }
    if (ok)
        *ok = result.isValid();
    if (!result.isValid())
        report(sql, error);
    return result;
}

int TdmMain::getMaxId(const QString &table, const QString &column, bool *ok)
{
    if (ok)
        *ok = true;
    if (table.trimmed().isEmpty() || column.trimmed().isEmpty())
        return 0;
    const QString sql = dialect().maxIdSql(table, column);
    QSqlQuery q(database());
    q.setForwardOnly(true);
    QString error;
    if (run(q, sql, &error)) {
        if (q.next())
            return q.value(0).isNull() ? 0 : q.value(0).toInt();
        error = errorText(q.lastError());
    }
    if (ok)
        *ok = false;
    report(sql, error);
    return -1;
}

// --- write-back ---------------------------------------------------------------------------------------

QString TdmMain::tableOfSql(const QString &sql)
{
    static const QRegularExpression re(QStringLiteral("\\bfrom\\s+([\\w.\\[\\]\"`]+)"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch m = re.match(sql);
    if (!m.hasMatch())
        return QString();
    QString name = m.captured(1);
    name = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
    name.remove(QLatin1Char('[')).remove(QLatin1Char(']')).remove(QLatin1Char('"')).remove(QLatin1Char('`'));
    return name;
}

bool TdmMain::begin(QSqlError *error)
{
    QSqlDatabase db = database();
    if (!isConnected()) {
        *error = QSqlError(QString(),
                           m_connectError.isEmpty() ? QString::fromUtf8(kNotConnectedText) : m_connectError,
                           QSqlError::ConnectionError);
        return false;
    }
    if (m_engine == DbEngine::Sqlite) {
        // Take the write lock at once: a deferred transaction that reads first could deadlock with
        // another writer instead of waiting for it.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("begin immediate"))) {
            *error = q.lastError();
            return false;
        }
        return true;
    }
    if (!db.transaction()) {
        *error = db.lastError();
        recoverIfLost(*error);
        return false;
    }
    return true;
}

bool TdmMain::commit(QSqlError *error)
{
    QSqlDatabase db = database();
    bool ok;
    if (m_engine == DbEngine::Sqlite) {
        QSqlQuery q(db);
        ok = q.exec(QStringLiteral("commit"));
        if (!ok)
            *error = q.lastError();
    } else {
        ok = db.commit();
        if (!ok)
            *error = db.lastError();
    }
    if (!ok)
        rollback();
    return ok;
}

void TdmMain::rollback()
{
    QSqlDatabase db = database();
    if (m_engine == DbEngine::Sqlite) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("rollback"));
    } else {
        db.rollback();
    }
}

namespace {

// How the columns of a data set meet the target table.
struct ApplyPlan
{
    QString table;
    QStringList column;   // per data-set column: the table's column name, or empty when not in the table
    QList<bool> compared; // per data-set column: part of the WHERE of updates and deletes
    int keyColumn = -1;   // data-set column of the table's integer serial key
};

} // namespace

bool TdmMain::applyDelta(const QString &sourceSql, ClientDataSet *dataSet, QString &error)
{
    error.clear();
    UpdateErrorText.clear();
    m_lastAttempts = 0;
    if (!dataSet)
        return true;
    if (!dataSet->hasChanges() && dataSet->state() == ClientDataSet::Browse)
        return true;
    if (dataSet->delta().isEmpty()) {
        dataSet->mergeChangeLog(); // edits that came back to the fetched values: nothing to write
        return true;
    }

    const QString table = tableOfSql(sourceSql);
    QString failure;
    if (table.isEmpty())
        failure = QStringLiteral("无法从查询语句确定要保存的表：") + sourceSql;
    else if (!isConnected())
        failure = m_connectError.isEmpty() ? QString::fromUtf8(kNotConnectedText) : m_connectError;
    QHash<qint64, int> newKeys;
    if (failure.isEmpty()) {
        const QSqlRecord rec = database().record(table);
        if (rec.isEmpty())
            failure = QStringLiteral("表 %1 不存在或无法读取。").arg(table);
        if (failure.isEmpty()) {
            QSqlError err;
            for (int attempt = 1; attempt <= kApplyAttempts; ++attempt) {
                m_lastAttempts = attempt;
                newKeys.clear();
                if (applyOnce(table, rec, dataSet, &newKeys, &err)) {
                    failure.clear();
                    break;
                }
                failure = errorText(err);
                if (failure.isEmpty())
                    failure = QString::fromUtf8(kConflictText);
                if (attempt == kApplyAttempts || !dialect().isRetryable(err))
                    break;
                if (m_wait)
                    m_wait(kRetryWaitMs);
                else
                    QThread::msleep(kRetryWaitMs);
            }
        }
    }
    if (!failure.isEmpty()) {
        error = failure;
        UpdateErrorText = failure;
        dataSet->undoLastChange();
        return false;
    }
    const int keyColumn = [&] {
        const Schema::Table *t = Schema::findTable(table);
        const QString key = t && !t->key.isEmpty() ? t->key : table + QStringLiteral("lsh");
        return dataSet->fieldIndex(key);
    }();
    for (auto it = newKeys.cbegin(); it != newKeys.cend(); ++it)
        dataSet->setRowValueById(it.key(), keyColumn, it.value());
    dataSet->mergeChangeLog();
    return true;
}

bool TdmMain::applyOnce(const QString &table, const QSqlRecord &rec, ClientDataSet *ds,
                        QHash<qint64, int> *newKeys, QSqlError *error)
{
    QSqlDatabase db = database();
    const Schema::Table *known = Schema::findTable(table);

    ApplyPlan plan;
    plan.table = table;
    QSet<QString> taken;
    for (int i = 0; i < ds->fieldCount(); ++i) {
        const ClientDataSet::Field &f = ds->fields()[i];
        QString col;
        const int r = rec.indexOf(f.name);
        if (r >= 0 && !taken.contains(rec.fieldName(r).toLower())) {
            col = rec.fieldName(r);
            taken.insert(col.toLower());
        }
        plan.column << col;
        bool compared =
            !col.isEmpty() && !f.isBlob() && rec.field(r).metaType().id() != QMetaType::QByteArray;
        if (compared && known) {
            const Schema::Column *c = known->column(col);
            compared = !c || (c->kind != Schema::Kind::Memo && c->kind != Schema::Kind::Blob);
        }
        plan.compared << compared;
    }
    {
        const QString key = known && !known->key.isEmpty() ? known->key : table + QStringLiteral("lsh");
        const int k = ds->fieldIndex(key);
        const bool integerKey =
            !known || (known->column(key) && known->column(key)->kind == Schema::Kind::Integer);
        if (k >= 0 && !plan.column[k].isEmpty() && integerKey)
            plan.keyColumn = k;
    }

    auto whereOf = [&](const QVariantList &original, QVariantList *values) {
        QStringList parts;
        for (int i = 0; i < plan.column.size(); ++i) {
            if (!plan.compared[i])
                continue;
            if (!original[i].isValid()) {
                parts << plan.column[i] + QStringLiteral(" is null");
            } else {
                parts << plan.column[i] + QStringLiteral(" = ?");
                *values << original[i];
            }
        }
        return parts.join(QStringLiteral(" and "));
    };

    if (!begin(error))
        return false;
    const QList<ClientDataSet::DeltaRow> delta = ds->delta();
    for (const ClientDataSet::DeltaRow &d : delta) {
        QSqlQuery q(db);
        QString sql;
        QVariantList values;
        if (d.kind == ClientDataSet::ChangeKind::Insert) {
            QStringList cols, marks;
            int keyPos = -1;
            for (int i = 0; i < plan.column.size(); ++i) {
                if (plan.column[i].isEmpty() || !d.current[i].isValid())
                    continue;
                if (i == plan.keyColumn)
                    keyPos = values.size();
                cols << plan.column[i];
                marks << QStringLiteral("?");
                values << d.current[i];
            }
            if (cols.isEmpty())
                continue; // a blank row: nothing of it belongs to the table
            sql = QStringLiteral("insert into %1 (%2) values (%3)")
                      .arg(table, cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
            // Another client may have taken the same "largest key + 1" a moment ago: take the next free
            // key and insert again, inside a savepoint so the transaction survives the failed insert.
            const bool guardKey = keyPos >= 0;
            for (int tries = 0;; ++tries) {
                if (guardKey) {
                    QSqlQuery sp(db);
                    if (!sp.exec(savepointSql(m_engine))) {
                        *error = sp.lastError();
                        rollback();
                        return false;
                    }
                }
                QSqlError err;
                if (prepareAndRun(q, sql, values, &err)) {
                    if (guardKey && m_engine != DbEngine::SqlServer) {
                        QSqlQuery release(db);
                        release.exec(QStringLiteral("release savepoint lumora_row"));
                    }
                    break;
                }
                if (!guardKey || tries >= 50 || !dialect().isDuplicateKey(err)) {
                    *error = err;
                    rollback();
                    return false;
                }
                q.finish();
                QSqlQuery undo(db);
                undo.exec(rollbackToSavepointSql(m_engine));
                QSqlQuery mx(db);
                mx.setForwardOnly(true);
                if (!mx.exec(dialect().maxIdSql(table, plan.column[plan.keyColumn])) || !mx.next()) {
                    *error = mx.lastError().isValid() ? mx.lastError() : err;
                    rollback();
                    return false;
                }
                const int next = qMax(mx.value(0).toInt(), values[keyPos].toInt()) + 1;
                values[keyPos] = next;
                newKeys->insert(d.rowId, next);
            }
            continue;
        }
        if (d.kind == ClientDataSet::ChangeKind::Modify) {
            QStringList sets;
            for (int i = 0; i < plan.column.size(); ++i) {
                if (plan.column[i].isEmpty() || ClientDataSet::sameValue(d.current[i], d.original[i]))
                    continue;
                sets << plan.column[i] + QStringLiteral(" = ?");
                values << d.current[i];
            }
            if (sets.isEmpty())
                continue; // only joined display columns changed
            const QString where = whereOf(d.original, &values);
            sql = QStringLiteral("update %1 set %2").arg(table, sets.join(QStringLiteral(", ")));
            if (!where.isEmpty())
                sql += QStringLiteral(" where ") + where;
        } else {
            const QString where = whereOf(d.original, &values);
            sql = QStringLiteral("delete from %1").arg(table);
            if (!where.isEmpty())
                sql += QStringLiteral(" where ") + where;
        }
        if (!sql.contains(QLatin1String(" where "))) {
            // Nothing to tell the row by: never touch the whole table.
            *error = QSqlError(QString(), QStringLiteral("无法确定要保存的记录（没有可比较的列）。"),
                               QSqlError::StatementError);
            rollback();
            return false;
        }
        QSqlError err;
        if (!prepareAndRun(q, sql, values, &err)) {
            *error = err;
            rollback();
            return false;
        }
        if (q.numRowsAffected() == 0) {
            *error = QSqlError(QString(), QString::fromUtf8(kConflictText), QSqlError::StatementError);
            rollback();
            return false;
        }
    }
    return commit(error);
}

// --- the live module ----------------------------------------------------------------------------------

TdmMain *dmMain()
{
    return g_dmMain.get();
}

void SetDmMain(std::unique_ptr<TdmMain> module)
{
    g_dmMain = std::move(module);
}
