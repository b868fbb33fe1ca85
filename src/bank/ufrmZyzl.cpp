#include "bank/ufrmZyzl.h"

#include "app/uCodeLists.h"
#include "app/uEditCycle.h"
#include "app/uFormUi.h"
#include "app/uSubSystemRegistry.h"
#include "data/DataAccess.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"
#include "platform/widgets/DataGrid.h"

#include <QGroupBox>
#include <QVBoxLayout>

using namespace FormUi;

LUMORA_REGISTER_SUBSYSTEM(TfrmZyzl)

TfrmZyzl::TfrmZyzl(QWidget *parent) : TSubForm(parent)
{
    setObjectName(QStringLiteral("frmZyzl"));
    setWindowTitle(QStringLiteral("工种管理"));
    cdsZyzl = Named(new ClientDataSet(this), "cdsZyzl");

    auto *root = new QVBoxLayout(this);
    dbgZyzl = Named(new DataGrid(this), "dbgZyzl");
    dbgZyzl->setDataSet(cdsZyzl);
    dbgZyzl->addRowNumberColumn();
    dbgZyzl->addColumn(QStringLiteral("zyzlmc"), QStringLiteral("工种"), 260);
    AddCodeColumn(dbgZyzl, QStringLiteral("gwlxlsh"), QStringLiteral("岗位类型"), CodeLists::PostTypes(),
                  120);
    root->addWidget(dbgZyzl, 1);

    auto *pnlEdit = Named(new QGroupBox(this), "pnlEdit");
    auto *editRow = new QHBoxLayout(pnlEdit);
    edtZyzlmc = Edit(pnlEdit, "edtZyzlmc");
    edtZyzlmc->setMaxLength(50);
    edtZyzlmc->setMinimumWidth(220);
    cbGwlx = Combo(pnlEdit, "cbGwlx", CodeLists::PostTypes());
    AddLabelled(editRow, pnlEdit, QStringLiteral("工种名称"), edtZyzlmc);
    AddLabelled(editRow, pnlEdit, QStringLiteral("岗位类型"), cbGwlx);
    editRow->addStretch();
    root->addWidget(pnlEdit);

    auto *pnlBtn = Named(new QWidget(this), "pnlBtn");
    auto *btnRow = new QHBoxLayout(pnlBtn);
    btnRow->addStretch();
    const CycleButtons b = AddCycleButtons(btnRow, pnlBtn);
    root->addWidget(pnlBtn);

    m_cycle = new TEditCycle(cdsZyzl, QStringLiteral("zyzl"), QStringLiteral("zyzllsh"), this);
    m_cycle->setFirstEdit(edtZyzlmc);
    m_cycle->setMessages({QStringLiteral("保存工种完成！"), QStringLiteral("保存工种出现异常！原因："),
                          QStringLiteral("确认要删除该工种吗？"),
                          QStringLiteral("删除工种出现异常！原因：")});
    m_cycle->onRowChange = [this] { rowChange(); };
    m_cycle->validate = [this] { return validate(); };
    m_cycle->writeRow = [this] { return writeRow(); };
    m_cycle->setUniqueCheck([this] { return edtZyzlmc->text().trimmed(); },
                            [](const QString &name) {
                                return QStringLiteral("select zyzlmc from zyzl where zyzlmc = ") +
                                       QuotedStr(name);
                            },
                            [this](const QString &old) { edtZyzlmc->setText(old); },
                            QStringLiteral("该工种名称己存在，请重新输入！"));
    connect(b.add, &QPushButton::clicked, m_cycle, &TEditCycle::add);
    connect(b.del, &QPushButton::clicked, m_cycle, &TEditCycle::remove);
    connect(b.cancel, &QPushButton::clicked, m_cycle, &TEditCycle::cancel);
    connect(b.save, &QPushButton::clicked, m_cycle, &TEditCycle::save);
}

TfrmZyzl::~TfrmZyzl() = default;

void TfrmZyzl::FormShow()
{
    m_cycle->open(QStringLiteral("select * from zyzl"));
}

void TfrmZyzl::rowChange()
{
    edtZyzlmc->setText(cdsZyzl->asString(QStringLiteral("zyzlmc")));
    cbGwlx->setCurrentIndex(
        CodeLists::IndexOfCode(cdsZyzl->asInt(QStringLiteral("gwlxlsh")), CodeLists::PostTypes()));
}

bool TfrmZyzl::validate()
{
    if (!FormUi::RequireText(edtZyzlmc, QStringLiteral("工种名称不能为空，请重新输入！")))
        return false;
    return true;
}

bool TfrmZyzl::writeRow()
{
    cdsZyzl->setValue(QStringLiteral("zyzlmc"), edtZyzlmc->text().trimmed());
    cdsZyzl->setValue(QStringLiteral("gwlxlsh"), CodeLists::CodeOfIndex(cbGwlx->currentIndex()));
    return true;
}
