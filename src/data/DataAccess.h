#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class ClientDataSet;

// The data access routines every form uses. They run on the live data module dmMain() (udmMain.h);
// with no module installed they fail with a message like any other database error.
//
// Messages: OpenSql, ExecSql, GetServerTime and GetMaxId show a failed statement themselves
// (ShowInfo: the SQL text, "\n\r", the database's message). ApplyDelta shows nothing: the caller
// builds its own message from the error text ("保存角色出现异常！原因：" + error).

// Runs a query and loads all its rows into target (columns, rows; the change log emptied). On
// failure the message is shown and target keeps what it held. Returns whether it worked.
bool OpenSql(const QString &sql, ClientDataSet *target);

// Runs a statement that returns no rows. On failure shows the message, puts the database's message
// into error and returns false.
bool ExecSql(const QString &sql, QString &error);

// Runs several statements in one transaction: all or none. Shows the failing statement like ExecSql.
bool ExecBatch(const QStringList &statements, QString &error);

// Writes the pending changes of dataSet to the table its source query reads from (the first name after
// FROM), in one transaction, and on success accepts them (no pending changes left).
// - Inserts write the non-null columns the table has; joined display columns (mkmc ...) are ignored.
// - Updates set the changed columns; updates and deletes find their row by every fetched column of the
//   table except blobs and long texts (IS NULL for nulls). A row changed or deleted by another client
//   meanwhile matches nothing: that is a failure.
// - An insert whose serial key (<table>lsh) another client took meanwhile takes the next free key and
//   is written again; the data set's row then holds the key it got.
// - Deadlocks and serialization failures are tried again, at most 10 attempts 5000 ms apart.
// On failure nothing is written, error holds the database's message, the data set's last change is
// taken back and the earlier ones stay pending. No pending changes: true.
bool ApplyDelta(const QString &sourceSql, ClientDataSet *dataSet, QString &error);

// The server's current date-time. A failed query is shown and gives an invalid date-time (*ok false).
QDateTime GetServerTime(bool *ok = nullptr);

// Highest value of an integer column (0 for an empty table, or an empty table or column name); the next
// key is GetMaxId + 1. A failed query is shown and gives -1 with *ok false: never use it as a key.
int GetMaxId(const QString &table, const QString &column, bool *ok = nullptr);

// Runs sql into scratch and lists the displayColumn values of the rows whose trimmed value is not
// empty (untrimmed) in items, and the keyColumn values of the same rows in keys (when keys is given and
// keyColumn not empty): items[i] and keys[i] belong to one row. On a failed query both lists end up
// empty.
void FillComboItems(const QString &sql, ClientDataSet *scratch, QStringList *keys, const QString &keyColumn,
                    QStringList *items, const QString &displayColumn);

// FillComboItems into a combo box (any class with clear() and addItems(QStringList), e.g. QComboBox);
// nothing happens when combo is null.
template <class Combo>
void FillCombo(const QString &sql, ClientDataSet *scratch, QStringList *keys, const QString &keyColumn,
               Combo *combo, const QString &displayColumn)
{
    if (!combo)
        return;
    QStringList items;
    FillComboItems(sql, scratch, keys, keyColumn, &items, displayColumn);
    combo->clear();
    combo->addItems(items);
}

// Moves dataSet to the first row whose column equals value (a numeric column compares numerically) and
// returns true; otherwise stays where it was and returns false (also for an empty value).
bool LocateValue(ClientDataSet *dataSet, const QString &column, const QString &value);

// Gives target the columns of sql (a query returning no rows, typically on dhb "where 1 = 0") and
// appends every row of source, copying each of target's first columns from the source column of the
// same name (columns the source lacks stay empty). Target ends on its first row; the rows are pending
// inserts. The views of target are updated once at the end; source keeps its position.
void CopyRows(const QString &sql, ClientDataSet *source, ClientDataSet *target);

// A user's text as a quoted SQL literal with every apostrophe doubled (N'...' on SQL Server so Chinese
// text survives any server collation).
QString QuotedStr(const QString &text);
