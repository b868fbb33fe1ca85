#pragma once

#include "platform/ClientDataSet.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

// The editing cycle of the reference-data forms: a list in a client data set, edit controls showing
// its current row, and the four buttons "新增", "删除", "取消", "保存". The form keeps its controls and
// its SQL; the cycle keeps the order of the steps, the refresh suppression, the remembered value of the
// uniqueness-checked column, the new key just before the insert and the messages.
//
//   m_cycle = new TEditCycle(cdsZyzl, "zyzl", "zyzllsh", this);
//   m_cycle->setFirstEdit(edtZyzlmc);
//   m_cycle->setMessages({"保存工种完成！", "保存工种出现异常！原因：", "确认要删除该工种吗？",
//                         "删除工种出现异常！原因："});
//   m_cycle->onRowChange = [this] { edtZyzlmc->setText(cdsZyzl->asString("zyzlmc")); ... };
//   m_cycle->validate = [this] { ...empty checks: ShowInfo, focus, return false... };
//   m_cycle->setUniqueCheck([this] { return edtZyzlmc->text().trimmed(); },          // new value
//                           [](const QString &v) { return "select ... where zyzlmc = " + QuotedStr(v); },
//                           [this](const QString &old) { edtZyzlmc->setText(old); }, // put it back
//                           "该工种名称己存在，请重新输入！");
//   m_cycle->writeRow = [this] { cdsZyzl->setValue("zyzlmc", ...); return true; };
//   m_cycle->open("select * from zyzl");
//   connect(btnSave, &QPushButton::clicked, m_cycle, &TEditCycle::save);   // likewise add/cancel/remove
//
// Row change: whenever the current row changes outside the cycle's own work (the user moves in the
// grid, "新增" appends a blank row), onRowChange runs and the remembered value becomes what the
// uniqueness value reads right after it. While the cycle loads, posts, applies or deletes the refresh
// is suppressed and runs once afterwards. onRowChange also runs for an empty list (clear the controls).
//
// Save: validate -> uniqueness (refused when the value differs from the remembered one and the check
// query finds a row; the control gets the remembered value back) -> append when the list is empty ->
// key := GetMaxId(table, key) + 1 for an inserted row, otherwise edit -> writeRow -> post -> ApplyDelta
// with the list query -> afterApply -> remembered := value, row change, success message; or the failure
// message followed by the error text. A failed save keeps what the user typed in the controls: a failed
// insert leaves a fresh blank row in insert state, so saving again inserts again.
//
// The cycle owns the data set's after-scroll callback (a form reacts through onRowChange). Duplicate
// checks run in the shared scratch data set dmCommon()->cdsTemp.
//
// A blank row that was appended but left unsaved (the user moved to another row) is dropped at once,
// so a later save never writes it.
class TEditCycle : public QObject
{
    Q_OBJECT
public:
    struct Messages
    {
        QString saved;         // "保存工种完成！"
        QString saveFailed;    // "保存工种出现异常！原因：" — the error text follows
        QString confirmDelete; // "确认要删除该工种吗？"
        QString deleteFailed;  // "删除工种出现异常！原因："
    };

    TEditCycle(ClientDataSet *dataSet, const QString &table, const QString &keyColumn, QObject *parent);
    ~TEditCycle() override;

    void setMessages(const Messages &messages) { m_messages = messages; }
    void setFirstEdit(QWidget *widget) { m_firstEdit = widget; }
    void setUniqueCheck(std::function<QString()> value, std::function<QString(const QString &)> sql,
                        std::function<void(const QString &)> restore, const QString &message);

    // Copies the current row into the edit controls (also for an empty list).
    std::function<void()> onRowChange;
    // Checks the edit controls before anything is written; shows its own message and focuses the
    // control. False stops the save.
    std::function<bool()> validate;
    // Copies the edit controls into the row being inserted or edited (the key is already set). False
    // stops the save and drops the pending change.
    std::function<bool()> writeRow;
    // Called after the row was written and before the row change and the success message: rows that
    // hang on the saved row (relation rows) are written here. False shows the failure message with
    // the text it put into its argument instead of the success message (the row itself stays saved).
    std::function<bool(QString &error)> afterApply;
    // Called before a row is deleted from the database; false stops the delete (nothing written).
    std::function<bool()> beforeDelete;

    ClientDataSet *dataSet() const { return m_ds; }
    QString listSql() const { return m_listSql; }
    QString remembered() const { return m_remembered; }
    void setRemembered(const QString &value) { m_remembered = value; }
    // The key of the current row, 0 for a new row or an empty list.
    int currentKey() const;
    // Whether the current row is a new row without key (or there is no row at all).
    bool isNewRow() const;

    // Loads the list by the query (refresh suppressed), then the row change once. False when the query
    // failed (shown by OpenSql).
    bool open(const QString &listSql);
    // Empties the list (no query) and runs the row change.
    void clear();
    // Runs the row change now (the suppression of the cycle's own work excepted).
    void refresh();

public slots:
    // "新增": focus the first edit control and append a blank row.
    void add();
    // "取消": drop the pending insert or edit, refresh from the current row.
    void cancel();
    // "保存". Returns whether the row was written.
    bool save();
    // "删除": only with a non-empty list and after the confirmation. Returns whether a row went.
    bool remove();

signals:
    // After a successful save or delete.
    void saved();
    void removed();

private:
    void afterScroll();
    void dropAbandonedRows();

    QPointer<ClientDataSet> m_ds; // may go before the cycle when both belong to one form
    QString m_table;
    QString m_keyColumn;
    QString m_listSql;
    QString m_remembered;
    Messages m_messages;
    QPointer<QWidget> m_firstEdit;
    std::function<QString()> m_uniqueValue;
    std::function<QString(const QString &)> m_uniqueSql;
    std::function<void(const QString &)> m_uniqueRestore;
    QString m_uniqueMessage;
    int m_busy = 0;
};
