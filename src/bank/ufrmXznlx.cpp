#include "bank/ufrmXznlx.h"

#include "bank/BankUi.h"
#include "bank/uAbilityList.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"
#include "platform/widgets/DataGrid.h"

#include <QVBoxLayout>

using namespace BankUi;

TfrmXznlx::TfrmXznlx(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmXznlx"));
    setWindowTitle(QStringLiteral("选择能力项"));
    resize(820, 480);
    cdsAll = Named(new ClientDataSet(this), "cdsAll");
    auto *root = new QVBoxLayout(this);
    dbgAll = Named(new DataGrid(this), "dbgAll");
    AbilityList::SetupGrid(dbgAll, cdsAll, false);
    root->addWidget(dbgAll, 1);
    auto *row = new QHBoxLayout;
    row->addStretch();
    auto *btnConfirm = Button(this, "btnConfirm", QStringLiteral("确认"));
    auto *btnCancel = Button(this, "btnCancel", QStringLiteral("取消"));
    row->addWidget(btnConfirm);
    row->addWidget(btnCancel);
    root->addLayout(row);
    connect(btnConfirm, &QPushButton::clicked, this, &TfrmXznlx::btnConfirmClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(dbgAll, &DataGrid::rowDoubleClicked, this, &TfrmXznlx::btnConfirmClick);
}

TfrmXznlx::~TfrmXznlx() = default;

void TfrmXznlx::FormShow()
{
    AbilityList::Load(AbilityList::Sql(zyzllsh, djlsh, false), cdsAll);
}

void TfrmXznlx::btnConfirmClick()
{
    if (cdsAll->isEmpty()) {
        ShowInfo(QStringLiteral("没有能力项，不能选择！"));
        return;
    }
    accept();
}
