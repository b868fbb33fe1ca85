#include "org/ufrmJsqxgl.h"

#include "app/uEditCycle.h"
#include "app/uFormUi.h"
#include "app/uSubSystemRegistry.h"
#include "data/DataAccess.h"
#include "data/udmMain.h"
#include "org/uPermissionTree.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"
#include "platform/widgets/CheckTree.h"
#include "platform/widgets/DataGrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace FormUi;

LUMORA_REGISTER_SUBSYSTEM(TfrmJsqxgl)

TfrmJsqxgl::TfrmJsqxgl(QWidget *parent) : TSubForm(parent)
{
    setObjectName(QStringLiteral("frmJsqxgl"));
    setWindowTitle(QStringLiteral("角色权限管理"));
    cdsJs = Named(new ClientDataSet(this), "cdsJs");
    cdsWfbqx = Named(new ClientDataSet(this), "cdsWfbqx");
    cdsYfbqx = Named(new ClientDataSet(this), "cdsYfbqx");

    auto *root = new QHBoxLayout(this);

    // Roles on the left.
    auto *pnlJs = Named(new QGroupBox(QStringLiteral("角色"), this), "pnlJs");
    auto *jsCol = new QVBoxLayout(pnlJs);
    dbgJs = Named(new DataGrid(pnlJs), "dbgJs");
    dbgJs->setDataSet(cdsJs);
    dbgJs->addRowNumberColumn();
    dbgJs->addColumn(QStringLiteral("jsmc"), QStringLiteral("角色名称"), 180);
    jsCol->addWidget(dbgJs, 1);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("角色名称"), pnlJs));
    edtJsmc = Edit(pnlJs, "edtJsmc", 50);
    nameRow->addWidget(edtJsmc, 1);
    jsCol->addLayout(nameRow);
    auto *btnRow = new QHBoxLayout;
    const CycleButtons js = AddCycleButtons(btnRow, pnlJs, {}, QStringLiteral("Js"));
    jsCol->addLayout(btnRow);
    root->addWidget(pnlJs, 2);

    // The two trees with the grant and revoke buttons between them.
    auto *pnlYfb = Named(new QGroupBox(QStringLiteral("己分配权限"), this), "pnlYfbqx");
    auto *yfbCol = new QVBoxLayout(pnlYfb);
    rctYfbqx = Named(new CheckTree(pnlYfb), "rctYfbqx");
    rctYfbqx->setHeaderHidden(true);
    yfbCol->addWidget(rctYfbqx);
    root->addWidget(pnlYfb, 3);

    auto *midCol = new QVBoxLayout;
    midCol->addStretch();
    auto *btnAddqx = Button(this, "btnAddqx", QStringLiteral("<<"));
    auto *btnDelqx = Button(this, "btnDelqx", QStringLiteral(">>"));
    btnAddqx->setToolTip(QStringLiteral("把选中的权限分配给当前角色"));
    btnDelqx->setToolTip(QStringLiteral("收回选中的权限"));
    midCol->addWidget(btnAddqx);
    midCol->addWidget(btnDelqx);
    midCol->addStretch();
    root->addLayout(midCol);

    auto *pnlWfb = Named(new QGroupBox(QStringLiteral("未分配权限"), this), "pnlWfbqx");
    auto *wfbCol = new QVBoxLayout(pnlWfb);
    rctWfbqx = Named(new CheckTree(pnlWfb), "rctWfbqx");
    rctWfbqx->setHeaderHidden(true);
    wfbCol->addWidget(rctWfbqx);
    root->addWidget(pnlWfb, 3);

    m_cycle = new TEditCycle(cdsJs, QStringLiteral("js"), QStringLiteral("jslsh"), this);
    m_cycle->setFirstEdit(edtJsmc);
    m_cycle->setMessages({QStringLiteral("保存角色成功！"), QStringLiteral("保存角色出现异常！原因："),
                          QStringLiteral("确认要删除该角色吗？"),
                          QStringLiteral("删除角色出现异常！原因：")});
    m_cycle->onRowChange = [this] { rowChange(); };
    m_cycle->validate = [this] {
        if (!FormUi::RequireText(edtJsmc, QStringLiteral("角色名称不能为空，请重新输入！")))
            return false;
        return true;
    };
    m_cycle->writeRow = [this] { return cdsJs->setValue(QStringLiteral("jsmc"), edtJsmc->text().trimmed()); };
    m_cycle->setUniqueCheck([this] { return edtJsmc->text().trimmed(); },
                            [](const QString &name) {
                                return QStringLiteral("select jsmc from js where jsmc = ") + QuotedStr(name);
                            },
                            [this](const QString &old) { edtJsmc->setText(old); },
                            QStringLiteral("该角色名称己存在，请重新输入！"));
    m_cycle->beforeDelete = [this] { return beforeDelete(); };
    // The menu rows of a deleted role go with it: a later role that gets the same number must start
    // with nothing.
    connect(m_cycle, &TEditCycle::removed, this, [this] {
        if (m_deletingRole > 0) {
            QString error;
            ExecSql(QStringLiteral("delete from jsgnqx where jslsh = ") + QString::number(m_deletingRole),
                    error);
        }
        m_deletingRole = 0;
    });
    connect(js.add, &QPushButton::clicked, m_cycle, &TEditCycle::add);
    connect(js.del, &QPushButton::clicked, m_cycle, &TEditCycle::remove);
    connect(js.cancel, &QPushButton::clicked, m_cycle, &TEditCycle::cancel);
    connect(js.save, &QPushButton::clicked, m_cycle, &TEditCycle::save);
    connect(btnAddqx, &QPushButton::clicked, this, &TfrmJsqxgl::btnAddqxClick);
    connect(btnDelqx, &QPushButton::clicked, this, &TfrmJsqxgl::btnDelqxClick);
}

TfrmJsqxgl::~TfrmJsqxgl() = default;

void TfrmJsqxgl::FormShow()
{
    m_cycle->open(QStringLiteral("select * from js"));
}

int TfrmJsqxgl::currentRole() const
{
    return m_cycle->isNewRow() ? 0 : m_cycle->currentKey();
}

void TfrmJsqxgl::rowChange()
{
    edtJsmc->setText(cdsJs->asString(QStringLiteral("jsmc")).trimmed());
    LoadUnassigned();
    LoadAssigned();
}

void TfrmJsqxgl::LoadUnassigned()
{
    const int role = currentRole();
    if (role <= 0) {
        rctWfbqx->clear();
        return;
    }
    // Groups are always offered: a group shows whenever one of its items is still missing.
    const QString len =
        dmMain() ? dmMain()->dialect().length(QStringLiteral("a.cdbh")) : QStringLiteral("len(a.cdbh)");
    const QString sql = QStringLiteral("select cdbh, sjcdbh, cdmc from gncd where sfsy = '1' and cdbh not in "
                                       "(select a.cdbh from gncd a, jsgnqx b where a.cdbh = b.cdbh and "
                                       "%1 <> 4 and b.jslsh = %2) order by cdbh")
                            .arg(len)
                            .arg(role);
    if (OpenSql(sql, cdsWfbqx))
        FillPermissionTree(rctWfbqx, cdsWfbqx);
}

void TfrmJsqxgl::LoadAssigned()
{
    m_assigned.clear();
    const int role = currentRole();
    if (role <= 0) {
        rctYfbqx->clear();
        return;
    }
    const QString sql = QStringLiteral("select a.cdbh, a.sjcdbh, a.cdmc, b.jslsh from gncd a, jsgnqx b where "
                                       "a.cdbh = b.cdbh and b.jslsh = %1 order by a.cdbh")
                            .arg(role);
    if (!OpenSql(sql, cdsYfbqx))
        return;
    for (int r = 0; r < cdsYfbqx->recordCount(); ++r)
        m_assigned.insert(
            cdsYfbqx->valueAt(r, cdsYfbqx->fieldIndex(QStringLiteral("cdbh"))).toString().trimmed());
    FillPermissionTree(rctYfbqx, cdsYfbqx);
}

void TfrmJsqxgl::btnAddqxClick()
{
    const int role = currentRole();
    if (role <= 0)
        return;
    // A partly checked group is granted together with its checked items; a group the role already
    // holds is not written twice.
    for (const QVariant &key : rctWfbqx->checkedKeys(true)) {
        const QString code = key.toString();
        if (m_assigned.contains(code))
            continue;
        QString error;
        if (ExecSql(QStringLiteral("Insert Into jsgnqx(cdbh, jslsh) Values(%1,%2)")
                        .arg(QuotedStr(code))
                        .arg(role),
                    error))
            m_assigned.insert(code);
    }
    LoadUnassigned();
    LoadAssigned();
}

void TfrmJsqxgl::btnDelqxClick()
{
    const int role = currentRole();
    if (role <= 0)
        return;
    // Only fully checked nodes go: a group stays while some of its items stay.
    for (const QVariant &key : rctYfbqx->checkedKeys(false)) {
        QString error;
        ExecSql(QStringLiteral("delete from jsgnqx where cdbh = %1 and jslsh = %2")
                    .arg(QuotedStr(key.toString()))
                    .arg(role),
                error);
    }
    LoadUnassigned();
    LoadAssigned();
}

bool TfrmJsqxgl::beforeDelete()
{
    m_deletingRole = 0;
    const int role = currentRole();
    if (role <= 0)
        return true;
    ClientDataSet holders;
    if (!OpenSql(QStringLiteral("select count(*) as rs from ry where jslsh = %1").arg(role), &holders))
        return false;
    const int count = holders.asInt(QStringLiteral("rs"));
    if (count > 0) {
        // The persons would otherwise keep a role number that no longer names a role.
        ShowInfo(QStringLiteral("该角色还有%1个人员在使用，不能删除！请先在人员管理中为他们更换角色。")
                     .arg(count));
        return false;
    }
    m_deletingRole = role;
    return true;
}
