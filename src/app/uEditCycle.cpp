#include "app/uEditCycle.h"

#include "data/DataAccess.h"
#include "data/udmCommon.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"

#include <QWidget>

namespace {

// Marks the cycle busy and suspends the after-scroll callback for a scope.
class Busy
{
public:
    Busy(int &counter, ClientDataSet *ds) : m_counter(counter), m_guard(ds) { ++m_counter; }
    ~Busy() { --m_counter; }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    int &m_counter;
    ClientDataSet::ScrollGuard m_guard;
};

} // namespace

TEditCycle::TEditCycle(ClientDataSet *dataSet, const QString &table, const QString &keyColumn,
                       QObject *parent)
    : QObject(parent), m_ds(dataSet), m_table(table), m_keyColumn(keyColumn)
{
    m_ds->setAfterScroll([this] { afterScroll(); });
}

TEditCycle::~TEditCycle()
{
    if (m_ds)
        m_ds->setAfterScroll({});
}

void TEditCycle::setUniqueCheck(std::function<QString()> value, std::function<QString(const QString &)> sql,
                                std::function<void(const QString &)> restore, const QString &message)
{
    m_uniqueValue = std::move(value);
    m_uniqueSql = std::move(sql);
    m_uniqueRestore = std::move(restore);
    m_uniqueMessage = message;
}

int TEditCycle::currentKey() const
{
    if (m_ds->isEmpty() || m_ds->isNull(m_keyColumn))
        return 0;
    return m_ds->asInt(m_keyColumn);
}

bool TEditCycle::isNewRow() const
{
    return m_ds->isEmpty() || m_ds->state() == ClientDataSet::Insert || m_ds->isNull(m_keyColumn);
}

bool TEditCycle::open(const QString &listSql)
{
    bool ok;
    {
        Busy busy(m_busy, m_ds);
        if (m_ds->state() != ClientDataSet::Browse)
            m_ds->cancel();
        ok = OpenSql(listSql, m_ds);
        if (ok)
            m_listSql = listSql;
    }
    refresh();
    return ok;
}

void TEditCycle::clear()
{
    {
        Busy busy(m_busy, m_ds);
        if (m_ds->state() != ClientDataSet::Browse)
            m_ds->cancel();
        m_ds->setRows(m_ds->fields(), {});
    }
    refresh();
}

void TEditCycle::refresh()
{
    if (m_busy)
        return;
    if (onRowChange)
        onRowChange();
    if (m_uniqueValue)
        m_remembered = m_uniqueValue();
}

void TEditCycle::afterScroll()
{
    if (m_busy)
        return;
    dropAbandonedRows();
    refresh();
}

// Every change the cycle makes is applied at once, so a pending change seen while browsing can only be a
// blank row the user appended and then left: drop it before a later save could write it.
void TEditCycle::dropAbandonedRows()
{
    if (m_ds->state() != ClientDataSet::Browse || !m_ds->hasChanges())
        return;
    Busy busy(m_busy, m_ds);
    const QVariant key = m_ds->value(m_keyColumn);
    m_ds->cancelUpdates();
    if (!(key.isValid() && m_ds->locate(m_keyColumn, key)) && !m_ds->isEmpty())
        m_ds->last();
}

void TEditCycle::add()
{
    if (m_busy || !m_ds->isActive())
        return;
    if (m_ds->state() != ClientDataSet::Browse) {
        Busy busy(m_busy, m_ds);
        m_ds->cancel();
    }
    if (m_firstEdit)
        m_firstEdit->setFocus();
    m_ds->append(); // the row change clears the controls and the remembered value
}

void TEditCycle::cancel()
{
    if (m_busy)
        return;
    {
        Busy busy(m_busy, m_ds);
        m_ds->cancel();
    }
    refresh();
}

bool TEditCycle::save()
{
    if (m_busy || !m_ds->isActive())
        return false;
    if (validate && !validate())
        return false;

    QString value;
    if (m_uniqueValue) {
        value = m_uniqueValue();
        if (value != m_remembered && m_uniqueSql) {
            ClientDataSet *scratch = dmCommon() ? dmCommon()->cdsTemp : nullptr;
            if (!scratch) {
                ShowInfo(m_messages.saveFailed + QStringLiteral("数据库未连接"));
                return false;
            }
            if (!OpenSql(m_uniqueSql(value), scratch))
                return false; // shown by OpenSql; without the check nothing may be written
            if (!scratch->isEmpty()) {
                if (m_uniqueRestore)
                    m_uniqueRestore(m_remembered);
                ShowInfo(m_uniqueMessage);
                return false;
            }
        }
    }

    bool ok = false;
    QString error;
    {
        Busy busy(m_busy, m_ds);
        const bool inserting = m_ds->isEmpty() || m_ds->state() == ClientDataSet::Insert;
        int key = 0;
        if (inserting) {
            bool keyOk = false;
            key = GetMaxId(m_table, m_keyColumn, &keyOk); // shows its own failure
            if (!keyOk)
                return false;
            ++key;
            if (m_ds->isEmpty())
                m_ds->append();
            m_ds->setValue(m_keyColumn, key);
        } else {
            m_ds->edit();
        }
        if (writeRow && !writeRow()) {
            if (!inserting)
                m_ds->cancel();
            return false;
        }
        m_ds->post();
        ok = ApplyDelta(m_listSql, m_ds, error);
        if (!ok && inserting)
            m_ds->append(); // the insert was taken back: keep a new row for the text still in the controls
    }
    if (ok) {
        m_remembered = value;
        const bool dependentsOk = !afterApply || afterApply(error);
        refresh();
        ShowInfo(dependentsOk ? m_messages.saved : m_messages.saveFailed + error);
        emit saved();
    } else {
        ShowInfo(m_messages.saveFailed + error);
    }
    return ok;
}

bool TEditCycle::remove()
{
    if (m_busy || !m_ds->isActive() || m_ds->isEmpty())
        return false;
    if (!AskConfirm(m_messages.confirmDelete))
        return false;
    if (m_ds->state() == ClientDataSet::Insert) {
        cancel(); // never saved: nothing to delete in the database
        return true;
    }
    if (beforeDelete && !beforeDelete())
        return false;
    bool ok;
    QString error;
    {
        Busy busy(m_busy, m_ds);
        m_ds->remove();
        ok = ApplyDelta(m_listSql, m_ds, error);
    }
    if (!ok)
        ShowInfo(m_messages.deleteFailed + error);
    refresh();
    if (ok)
        emit removed();
    return ok;
}
