#include "ClientDataSet.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <climits>
#include <cmath>

namespace {

bool isIntegral(QMetaType::Type t)
{
    switch (t) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

bool isFloating(QMetaType::Type t)
{
    return t == QMetaType::Double || t == QMetaType::Float;
}

QMetaType::Type typeOf(const QVariant &v)
{
    return static_cast<QMetaType::Type>(v.metaType().id());
}

QDateTime parseDateTime(const QString &text)
{
    const QString s = text.trimmed();
    static const char *formats[] = {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss",
                                    "yyyy-MM-dd HH:mm",        "yyyy-MM-dd",
                                    "yyyy-MM-ddTHH:mm:ss.zzz", "yyyy-MM-ddTHH:mm:ss"};
    for (const char *f : formats) {
        const QDateTime dt = QDateTime::fromString(s, QLatin1String(f));
        if (dt.isValid())
            return dt;
    }
    return QDateTime::fromString(s, Qt::ISODate);
}

} // namespace

bool ClientDataSet::Field::isNumeric() const
{
    return isIntegral(type) || isFloating(type);
}

bool ClientDataSet::Field::isDateTime() const
{
    return type == QMetaType::QDateTime || type == QMetaType::QDate || type == QMetaType::QTime;
}

ClientDataSet::ClientDataSet(QObject *parent) : QObject(parent) {}

ClientDataSet::~ClientDataSet() = default;

// --- structure and contents ---------------------------------------------------------------------------

void ClientDataSet::resetContents()
{
    m_log.clear();
    m_state = Browse;
    m_editBackup = Row();
    m_cur = 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
}

void ClientDataSet::setFields(const QList<Field> &fields)
{
    setRows(fields, {});
}

void ClientDataSet::createEmpty(const QStringList &textColumns)
{
    QList<Field> fields;
    for (const QString &name : textColumns)
        fields << Field{name, QMetaType::QString};
    setFields(fields);
}

void ClientDataSet::setRows(const QList<Field> &fields, QList<QVariantList> rows)
{
    m_fields = fields;
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (QVariantList &values : rows) {
        while (values.size() < m_fields.size())
            values << QVariant();
        Row r;
        r.id = m_nextId++;
        r.original = values;
        r.values = std::move(values);
        r.fetched = true;
        m_rows << std::move(r);
    }
    resetContents();
    emitReset();
    afterMove(-1, true);
}

bool ClientDataSet::loadFromQuery(QSqlQuery &query, QString *error)
{
    if (!query.isActive()) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    const QSqlRecord rec = query.record();
    QList<Field> fields;
    fields.reserve(rec.count());
    for (int i = 0; i < rec.count(); ++i)
        fields << Field{rec.fieldName(i), static_cast<QMetaType::Type>(rec.field(i).metaType().id())};
    QList<QVariantList> rows;
    const int n = rec.count();
    while (query.next()) {
        QVariantList values;
        values.reserve(n);
        for (int i = 0; i < n; ++i) {
            QVariant v = query.value(i);
            values << (v.isNull() ? QVariant() : std::move(v));
        }
        rows << std::move(values);
    }
    if (query.lastError().isValid()) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    // A column whose declared type the driver could not tell (SQLite expressions) takes the type of
    // its first non-null value, so numeric comparisons and conversions work on it.
    for (int c = 0; c < fields.size(); ++c) {
        if (fields[c].type != QMetaType::UnknownType)
            continue;
        fields[c].type = QMetaType::QString;
        for (const QVariantList &r : rows) {
            if (r[c].isValid()) {
                fields[c].type = typeOf(r[c]);
                break;
            }
        }
    }
    setRows(fields, std::move(rows));
    return true;
}

void ClientDataSet::copyFrom(const ClientDataSet &other)
{
    if (&other == this)
        return;
    m_fields = other.m_fields;
    m_rows = other.m_rows;
    m_log = other.m_log;
    // Row ids are only unique within one data set; the copy keeps them so its change log still points
    // at its rows, and continues numbering after the highest.
    m_nextId = qMax(m_nextId, other.m_nextId);
    m_state = Browse;
    m_editBackup = Row();
    m_cur = 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    emitReset();
    afterMove(-1, true);
}

void ClientDataSet::close()
{
    m_fields.clear();
    m_rows.clear();
    resetContents();
    emitReset();
}

QString ClientDataSet::fieldName(int column) const
{
    return column >= 0 && column < m_fields.size() ? m_fields[column].name : QString();
}

int ClientDataSet::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// --- cursor -------------------------------------------------------------------------------------------

void ClientDataSet::afterMove(int oldIndex, bool force)
{
    const int now = currentIndex();
    if (now != oldIndex || force) {
        if (m_controlsDisabled == 0)
            emit currentChanged(now);
        if (m_scrollDisabled == 0 && m_afterScroll)
            m_afterScroll();
    }
}

void ClientDataSet::setCurrent(int index, bool force)
{
    if (m_state != Browse)
        post();
    const int old = currentIndex();
    if (!m_rows.isEmpty())
        m_cur = qBound(0, index, m_rows.size() - 1);
    afterMove(old, force);
}

void ClientDataSet::first()
{
    setCurrent(0, true);
    m_bof = true;
    m_eof = m_rows.isEmpty();
}

void ClientDataSet::last()
{
    setCurrent(m_rows.size() - 1, true);
    m_eof = true;
    m_bof = m_rows.isEmpty();
}

void ClientDataSet::next()
{
    if (m_state != Browse)
        post();
    if (m_rows.isEmpty() || m_cur >= m_rows.size() - 1) {
        m_eof = true;
        return;
    }
    setCurrent(m_cur + 1);
    m_bof = false;
    m_eof = false;
}

void ClientDataSet::prior()
{
    if (m_state != Browse)
        post();
    if (m_rows.isEmpty() || m_cur <= 0) {
        m_bof = true;
        return;
    }
    setCurrent(m_cur - 1);
    m_bof = false;
    m_eof = false;
}

bool ClientDataSet::moveTo(int recNo)
{
    if (recNo < 1 || recNo > m_rows.size())
        return false;
    setCurrent(recNo - 1, true);
    m_bof = m_eof = false;
    return true;
}

bool ClientDataSet::locate(const QString &column, const QVariant &value)
{
    const int c = fieldIndex(column);
    if (c < 0)
        return false;
    QVariant wanted;
    if (!convertValue(m_fields[c].type, value, &wanted))
        return false;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].values[c].isValid() && wanted.isValid() && sameValue(m_rows[i].values[c], wanted)) {
            setCurrent(i, true);
            m_bof = m_eof = false;
            return true;
        }
    }
    return false;
}

// --- values -------------------------------------------------------------------------------------------

QVariant ClientDataSet::value(int column) const
{
    if (m_rows.isEmpty() || column < 0 || column >= m_fields.size())
        return QVariant();
    return m_rows[m_cur].values[column];
}

QVariant ClientDataSet::value(const QString &column) const
{
    return value(fieldIndex(column));
}

QString ClientDataSet::asString(const QString &column) const
{
    return asString(fieldIndex(column));
}

QString ClientDataSet::asString(int column) const
{
    const QVariant v = value(column);
    if (!v.isValid())
        return QString();
    switch (typeOf(v)) {
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("yyyy-MM-dd"))
                                        : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}

int ClientDataSet::asInt(const QString &column) const
{
    const QVariant v = value(column);
    if (isFloating(typeOf(v)))
        return static_cast<int>(std::lround(v.toDouble()));
    if (typeOf(v) == QMetaType::QString)
        return static_cast<int>(std::lround(v.toString().trimmed().toDouble()));
    return v.toInt();
}

double ClientDataSet::asFloat(const QString &column) const
{
    const QVariant v = value(column);
    return typeOf(v) == QMetaType::QString ? v.toString().trimmed().toDouble() : v.toDouble();
}

QDateTime ClientDataSet::asDateTime(const QString &column) const
{
    const QVariant v = value(column);
    switch (typeOf(v)) {
    case QMetaType::QDateTime:
        return v.toDateTime();
    case QMetaType::QDate:
        return v.toDate().startOfDay();
    case QMetaType::QString:
        return parseDateTime(v.toString());
    default:
        return QDateTime();
    }
}

QByteArray ClientDataSet::asBytes(const QString &column) const
{
    const QVariant v = value(column);
    return typeOf(v) == QMetaType::QString ? v.toString().toUtf8() : v.toByteArray();
}

bool ClientDataSet::isNull(const QString &column) const
{
    return !value(column).isValid();
}

QVariant ClientDataSet::valueAt(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_fields.size())
        return QVariant();
    return m_rows[row].values[column];
}

bool ClientDataSet::setValue(const QString &column, const QVariant &value)
{
    return setValue(fieldIndex(column), value);
}

bool ClientDataSet::setValue(int column, const QVariant &value)
{
    if (column < 0 || column >= m_fields.size() || m_rows.isEmpty())
        return false;
    QVariant v;
    if (!convertValue(m_fields[column].type, value, &v))
        return false;
    if (m_state == Browse)
        edit();
    m_rows[m_cur].values[column] = v;
    emitRow(&ClientDataSet::rowChanged, m_cur);
    return true;
}

bool ClientDataSet::convertValue(QMetaType::Type type, const QVariant &in, QVariant *out)
{
    if (!in.isValid() || in.isNull()) {
        *out = QVariant();
        return true;
    }
    const QMetaType::Type from = typeOf(in);
    const bool text = from == QMetaType::QString;
    const QString s = text ? in.toString().trimmed() : QString();
    if (isIntegral(type)) {
        if (text && s.isEmpty()) {
            *out = QVariant();
            return true;
        }
        bool ok = false;
        qlonglong n = text ? s.toLongLong(&ok) : in.toLongLong(&ok);
        if (!ok || (isFloating(from) && in.toDouble() != double(n))) {
            const double d = text ? s.toDouble(&ok) : in.toDouble(&ok);
            if (!ok || d != std::floor(d))
                return false;
            n = static_cast<qlonglong>(d);
        }
        if (type == QMetaType::Int || type == QMetaType::Short || type == QMetaType::Long) {
            if (n < INT_MIN || n > INT_MAX)
                *out = n;
            else
                *out = static_cast<int>(n);
        } else {
            *out = n;
        }
        return true;
    }
    if (isFloating(type)) {
        if (text && s.isEmpty()) {
            *out = QVariant();
            return true;
        }
        bool ok = false;
        const double d = text ? s.toDouble(&ok) : in.toDouble(&ok);
        if (!ok)
            return false;
        *out = d;
        return true;
    }
    switch (type) {
    case QMetaType::QString:
        // A date-time kept as text (SQLite) always has the same shape, so texts compare as times do.
        if (from == QMetaType::QDateTime) {
            *out = in.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        } else if (from == QMetaType::QDate) {
            *out = in.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        } else if (from == QMetaType::Double || from == QMetaType::Float) {
            *out = QString::number(in.toDouble(), 'g', 15);
        } else {
            *out = in.toString();
        }
        return true;
    case QMetaType::QByteArray:
        *out = text ? in.toString().toUtf8() : in.toByteArray();
        return true;
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        if (text && s.isEmpty()) {
            *out = QVariant();
            return true;
        }
        QDateTime dt;
        if (from == QMetaType::QDateTime)
            dt = in.toDateTime();
        else if (from == QMetaType::QDate)
            dt = in.toDate().startOfDay();
        else if (text)
            dt = parseDateTime(s);
        if (!dt.isValid())
            return false;
        *out = type == QMetaType::QDate ? QVariant(dt.date()) : QVariant(dt);
        return true;
    }
    case QMetaType::Bool:
        if (text)
            *out = (s == QLatin1String("1") || s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
        else
            *out = in.toBool();
        return true;
    default:
        *out = in;
        return true;
    }
}

bool ClientDataSet::sameValue(const QVariant &a, const QVariant &b)
{
    const bool an = !a.isValid() || a.isNull();
    const bool bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn;
    const QMetaType::Type ta = typeOf(a), tb = typeOf(b);
    if (ta == tb)
        return a == b;
    const bool numA = isIntegral(ta) || isFloating(ta);
    const bool numB = isIntegral(tb) || isFloating(tb);
    if (numA && numB)
        return a.toDouble() == b.toDouble();
    if (ta == QMetaType::QByteArray || tb == QMetaType::QByteArray)
        return a.toByteArray() == b.toByteArray();
    return a.toString() == b.toString();
}

// --- editing ------------------------------------------------------------------------------------------

ClientDataSet::Row ClientDataSet::blankRow()
{
    Row r;
    r.id = m_nextId++;
    for (int i = 0; i < m_fields.size(); ++i)
        r.values << QVariant();
    return r;
}

void ClientDataSet::append()
{
    if (m_fields.isEmpty())
        return;
    if (m_state != Browse)
        post();
    const int old = currentIndex();
    m_rows << blankRow();
    m_cur = m_rows.size() - 1;
    m_state = Insert;
    m_bof = m_eof = false;
    emitRow(&ClientDataSet::rowInserted, m_cur);
    afterMove(old, true);
}

void ClientDataSet::insert()
{
    if (m_fields.isEmpty())
        return;
    if (m_state != Browse)
        post();
    const int old = currentIndex();
    const int at = m_rows.isEmpty() ? 0 : m_cur;
    m_rows.insert(at, blankRow());
    m_cur = at;
    m_state = Insert;
    m_bof = m_eof = false;
    emitRow(&ClientDataSet::rowInserted, m_cur);
    afterMove(old, true);
}

void ClientDataSet::edit()
{
    if (m_state != Browse || m_rows.isEmpty())
        return;
    m_editBackup = m_rows[m_cur];
    m_state = Edit;
}

void ClientDataSet::post()
{
    if (m_state == Insert) {
        m_log << LogEntry{ChangeKind::Insert, m_rows[m_cur].id, Row(), m_cur};
    } else if (m_state == Edit) {
        const Row &r = m_rows[m_cur];
        bool changed = false;
        for (int i = 0; i < r.values.size() && !changed; ++i)
            changed = !sameValue(r.values[i], m_editBackup.values[i]) ||
                      (r.values[i].isValid() && typeOf(r.values[i]) != typeOf(m_editBackup.values[i]));
        if (changed)
            m_log << LogEntry{ChangeKind::Modify, r.id, m_editBackup, m_cur};
    }
    m_state = Browse;
    m_editBackup = Row();
}

void ClientDataSet::cancel()
{
    if (m_state == Insert) {
        m_state = Browse;
        const int old = m_cur;
        m_rows.removeAt(m_cur);
        emitRow(&ClientDataSet::rowRemoved, old);
        if (m_cur >= m_rows.size())
            m_cur = qMax(0, int(m_rows.size()) - 1);
        m_eof = m_rows.isEmpty();
        afterMove(-2, true);
    } else if (m_state == Edit) {
        m_state = Browse;
        m_rows[m_cur] = m_editBackup;
        emitRow(&ClientDataSet::rowChanged, m_cur);
    }
    m_editBackup = Row();
}

void ClientDataSet::remove()
{
    if (m_state == Insert) {
        cancel();
        return;
    }
    if (m_state == Edit)
        cancel();
    if (m_rows.isEmpty())
        return;
    const int at = m_cur;
    m_log << LogEntry{ChangeKind::Delete, m_rows[at].id, m_rows[at], at};
    m_rows.removeAt(at);
    emitRow(&ClientDataSet::rowRemoved, at);
    if (m_cur >= m_rows.size())
        m_cur = qMax(0, int(m_rows.size()) - 1);
    m_eof = m_rows.isEmpty();
    afterMove(-2, true);
}

// --- change log ---------------------------------------------------------------------------------------

int ClientDataSet::indexOfId(qint64 id) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].id == id)
            return i;
    }
    return -1;
}

QList<ClientDataSet::DeltaRow> ClientDataSet::delta()
{
    if (m_state != Browse)
        post();
    QList<DeltaRow> out;
    if (m_log.isEmpty())
        return out;
    QHash<qint64, int> present;
    present.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i)
        present.insert(m_rows[i].id, i);
    QHash<qint64, const Row *> deleted; // last deleted snapshot per row
    QList<qint64> order;
    QSet<qint64> seen;
    for (const LogEntry &e : m_log) {
        if (!seen.contains(e.rowId)) {
            seen.insert(e.rowId);
            order << e.rowId;
        }
        if (e.kind == ChangeKind::Delete)
            deleted.insert(e.rowId, &e.before);
    }
    for (qint64 id : order) {
        const auto it = present.constFind(id);
        if (it != present.constEnd()) {
            const Row &r = m_rows[*it];
            if (!r.fetched) {
                out << DeltaRow{ChangeKind::Insert, id, {}, r.values};
            } else {
                bool changed = false;
                for (int i = 0; i < r.values.size() && !changed; ++i)
                    changed = !sameValue(r.values[i], r.original[i]);
                if (changed)
                    out << DeltaRow{ChangeKind::Modify, id, r.original, r.values};
            }
        } else if (const Row *gone = deleted.value(id, nullptr); gone && gone->fetched) {
            out << DeltaRow{ChangeKind::Delete, id, gone->original, gone->values};
        }
    }
    return out;
}

void ClientDataSet::mergeChangeLog()
{
    if (m_state != Browse)
        post();
    for (Row &r : m_rows) {
        r.original = r.values;
        r.fetched = true;
    }
    m_log.clear();
}

bool ClientDataSet::undoLastChange()
{
    if (m_state != Browse)
        cancel();
    if (m_log.isEmpty())
        return false;
    const LogEntry e = m_log.takeLast();
    const int old = currentIndex();
    const int at = indexOfId(e.rowId);
    switch (e.kind) {
    case ChangeKind::Insert:
        if (at >= 0) {
            m_rows.removeAt(at);
            emitRow(&ClientDataSet::rowRemoved, at);
            if (m_cur >= m_rows.size())
                m_cur = qMax(0, int(m_rows.size()) - 1);
        }
        break;
    case ChangeKind::Modify:
        if (at >= 0) {
            m_rows[at] = e.before;
            m_cur = at;
            emitRow(&ClientDataSet::rowChanged, at);
        }
        break;
    case ChangeKind::Delete: {
        const int pos = qBound(0, e.position, int(m_rows.size()));
        m_rows.insert(pos, e.before);
        m_cur = pos;
        emitRow(&ClientDataSet::rowInserted, pos);
        break;
    }
    }
    m_bof = false;
    m_eof = m_rows.isEmpty();
    afterMove(old, true);
    return true;
}

void ClientDataSet::cancelUpdates()
{
    ScrollGuard guard(this);
    disableControls();
    while (undoLastChange()) {
    }
    enableControls();
}

bool ClientDataSet::setRowValueById(qint64 rowId, int column, const QVariant &value)
{
    const int at = indexOfId(rowId);
    if (at < 0 || column < 0 || column >= m_fields.size())
        return false;
    QVariant v;
    if (!convertValue(m_fields[column].type, value, &v))
        return false;
    m_rows[at].values[column] = v;
    emitRow(&ClientDataSet::rowChanged, at);
    return true;
}

// --- after-scroll and controls ------------------------------------------------------------------------

void ClientDataSet::enableScroll()
{
    if (m_scrollDisabled > 0)
        --m_scrollDisabled;
}

void ClientDataSet::enableControls()
{
    if (m_controlsDisabled == 0)
        return;
    if (--m_controlsDisabled == 0 && m_changedWhileDisabled) {
        m_changedWhileDisabled = false;
        emit reset();
        emit currentChanged(currentIndex());
    }
}

void ClientDataSet::emitReset()
{
    if (m_controlsDisabled > 0) {
        m_changedWhileDisabled = true;
        return;
    }
    emit reset();
}

void ClientDataSet::emitRow(void (ClientDataSet::*signal)(int), int index)
{
    if (m_controlsDisabled > 0) {
        m_changedWhileDisabled = true;
        return;
    }
    emit(this->*signal)(index);
}
