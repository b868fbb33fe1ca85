#pragma once

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class QSqlQuery;

// An in-memory table of detached rows: the rows a query fetched, edited locally and written back later
// (ApplyDelta in the data layer) from the change log this class keeps.
//
// Columns are named and typed (names compare case-insensitively, as the databases do). Every row keeps
// the values it was fetched with next to its current values, so a write-back can compare all of them.
// A null value is an invalid QVariant; an empty text is not null.
//
// Cursor: recNo() is 1-based (0 when there are no rows); first/next/prior/last/moveTo/locate move it;
// eof()/bof() turn true when next()/prior() run past the ends, as forms walking a list expect:
//     for (cds->first(); !cds->eof(); cds->next()) ...
//
// Editing follows the usual data-set cycle: append()/insert() add a blank row in insert state, edit()
// starts editing the current row, setValue() writes into the row being edited (it calls edit() itself
// when the data set is browsing), post() ends the edit and records it in the change log, cancel() drops
// it. Moving the cursor posts a pending edit first. remove() deletes the current row.
//
// Change log: every post and delete is one entry, in order. undoLastChange() takes back the last entry
// only; mergeChangeLog() accepts everything (the rows become "as fetched"). delta() gives the net change
// per row, in the order the rows were first changed, for the write-back.
//
// After-scroll: a callback run whenever the current row changes. Forms suspend it while they fill or walk
// a list (disableScroll()/enableScroll(), counted, or a ScrollGuard). Controls: disableControls() stops
// the change signals the item model listens to (counted); enableControls() resets the views once.
class ClientDataSet : public QObject
{
    Q_OBJECT
public:
    struct Field
    {
        QString name;
        QMetaType::Type type = QMetaType::QString;

        bool isBlob() const { return type == QMetaType::QByteArray; }
        bool isNumeric() const;
        bool isDateTime() const;
    };
    enum State { Browse, Edit, Insert };
    enum class ChangeKind { Insert, Modify, Delete };
    // The net change of one row: original values for Modify and Delete, current values for Insert and
    // Modify. rowId identifies the row for setRowValueById().
    struct DeltaRow
    {
        ChangeKind kind;
        qint64 rowId;
        QVariantList original;
        QVariantList current;
    };

    explicit ClientDataSet(QObject *parent = nullptr);
    ~ClientDataSet() override;

    // --- structure and contents -------------------------------------------------------------------
    // Replaces columns, rows and change log; the data set is then empty.
    void setFields(const QList<Field> &fields);
    // An empty, editable data set whose columns are all texts (the shape of a "select hs as xz, ...
    // from dhb where 1 = 0" query).
    void createEmpty(const QStringList &textColumns);
    // Replaces columns and rows with fetched rows (change log empty, cursor on the first row).
    void setRows(const QList<Field> &fields, QList<QVariantList> rows);
    // Reads every row of an executed query. On error the data set keeps what it held and the error text
    // is returned through error; the query is left where it failed.
    bool loadFromQuery(QSqlQuery &query, QString *error = nullptr);
    // Becomes an independent copy of other: columns, rows, change log (cursor on the first row).
    void copyFrom(const ClientDataSet &other);
    // Keeps the columns, drops every row and the change log.
    void emptyDataSet() { setRows(m_fields, {}); }
    // No columns, no rows.
    void close();
    bool isActive() const { return !m_fields.isEmpty(); }

    int fieldCount() const { return m_fields.size(); }
    const QList<Field> &fields() const { return m_fields; }
    QString fieldName(int column) const;
    // Index of a column by name (case-insensitive), -1 when there is none.
    int fieldIndex(const QString &name) const;
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }

    // --- cursor -----------------------------------------------------------------------------------
    int recordCount() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int recNo() const { return m_rows.isEmpty() ? 0 : m_cur + 1; }
    // Index of the current row from 0, -1 when empty.
    int currentIndex() const { return m_rows.isEmpty() ? -1 : m_cur; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    // Moves to the row with the 1-based number; false (and no move) when out of range.
    bool moveTo(int recNo);
    // Moves to the first row whose column equals value (numbers numerically, texts exactly); false and no
    // move when none does.
    bool locate(const QString &column, const QVariant &value);

    // --- values -----------------------------------------------------------------------------------
    // Values of the current row; an unknown column or an empty data set gives a null value.
    QVariant value(const QString &column) const;
    QVariant value(int column) const;
    // Texts: dates "yyyy-MM-dd", date-times "yyyy-MM-dd HH:mm:ss" (date only at midnight), null "".
    QString asString(const QString &column) const;
    QString asString(int column) const;
    int asInt(const QString &column) const;
    double asFloat(const QString &column) const;
    QDateTime asDateTime(const QString &column) const;
    QByteArray asBytes(const QString &column) const;
    bool isNull(const QString &column) const;
    // Any row by index from 0 (for views; does not move the cursor).
    QVariant valueAt(int row, int column) const;
    // Writes into the current row (edit() first when browsing). The value is converted to the column's
    // type; an empty text in a numeric or date column becomes null. Returns false and changes nothing
    // for an unknown column, an empty data set or a value the column's type cannot hold.
    bool setValue(const QString &column, const QVariant &value);
    bool setValue(int column, const QVariant &value);

    // --- editing ----------------------------------------------------------------------------------
    State state() const { return m_state; }
    void append(); // a blank row at the end, in insert state
    void insert(); // a blank row before the current one, in insert state
    void edit();   // edit the current row (no effect on an empty data set)
    void post();   // record the pending insert or edit in the change log
    void cancel(); // drop the pending insert or edit
    void remove(); // delete the current row (a pending insert is simply dropped)

    // --- change log -------------------------------------------------------------------------------
    int changeCount() const { return m_log.size(); }
    bool hasChanges() const { return !m_log.isEmpty(); }
    // Net change per row, in the order the rows were first changed (posts a pending edit first).
    QList<DeltaRow> delta();
    // Accepts every change: current values become the fetched values, the log is emptied.
    void mergeChangeLog();
    // Takes back the last entry of the change log. False when the log is empty.
    bool undoLastChange();
    // Takes back every change.
    void cancelUpdates();
    // Sets a value of a row found by DeltaRow::rowId without logging it (the write-back uses this
    // for a key the database made it take). False when the row is gone.
    bool setRowValueById(qint64 rowId, int column, const QVariant &value);

    // --- after-scroll and controls ----------------------------------------------------------------
    void setAfterScroll(std::function<void()> callback) { m_afterScroll = std::move(callback); }
    void disableScroll() { ++m_scrollDisabled; }
    void enableScroll();
    bool scrollDisabled() const { return m_scrollDisabled > 0; }
    void disableControls() { ++m_controlsDisabled; }
    void enableControls();
    bool controlsDisabled() const { return m_controlsDisabled > 0; }

    // Suspends the after-scroll callback for a scope.
    class ScrollGuard
    {
    public:
        explicit ScrollGuard(ClientDataSet *ds) : m_ds(ds) { m_ds->disableScroll(); }
        ~ScrollGuard() { m_ds->enableScroll(); }
        ScrollGuard(const ScrollGuard &) = delete;
        ScrollGuard &operator=(const ScrollGuard &) = delete;

    private:
        ClientDataSet *m_ds;
    };

    // Converts a value to a column type; false when it cannot be held (an empty text gives null for
    // numbers and dates).
    static bool convertValue(QMetaType::Type type, const QVariant &in, QVariant *out);
    // Equality of two stored values as the write-back sees it (nulls equal nulls, numbers numerically).
    static bool sameValue(const QVariant &a, const QVariant &b);

signals:
    // Columns or all rows replaced (also once after enableControls()).
    void reset();
    void rowInserted(int index);
    void rowRemoved(int index);
    void rowChanged(int index);
    // The current row moved (index from 0, -1 when empty). Sent also while scrolling is suspended.
    void currentChanged(int index);

private:
    struct Row
    {
        qint64 id = 0;
        QVariantList values;
        QVariantList original; // as fetched (or as of the last merge); empty for rows inserted here
        bool fetched = false;
    };
    struct LogEntry
    {
        ChangeKind kind;
        qint64 rowId;
        Row before; // Modify: the row before the edit; Delete: the deleted row
        int position = 0;
    };

    Row blankRow();
    void setCurrent(int index, bool force = false);
    void afterMove(int oldIndex, bool force);
    int indexOfId(qint64 id) const;
    void emitReset();
    void emitRow(void (ClientDataSet::*signal)(int), int index);
    void resetContents();

    QList<Field> m_fields;
    QList<Row> m_rows;
    QList<LogEntry> m_log;
    int m_cur = 0;
    bool m_bof = true;
    bool m_eof = true;
    State m_state = Browse;
    Row m_editBackup;
    qint64 m_nextId = 1;
    std::function<void()> m_afterScroll;
    int m_scrollDisabled = 0;
    int m_controlsDisabled = 0;
    bool m_changedWhileDisabled = false;
};
