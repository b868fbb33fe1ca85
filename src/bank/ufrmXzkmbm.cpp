#include "bank/ufrmXzkmbm.h"

#include "app/uCodeLists.h"
#include "bank/BankUi.h"
#include "data/DataAccess.h"
#include "data/udmCommon.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"
#include "platform/widgets/DataGrid.h"

#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace BankUi;

TfrmXzkmbm::TfrmXzkmbm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmXzkmbm"));
    setWindowTitle(QStringLiteral("选择科目编码"));
    resize(520, 420);
    cdsKm = Named(new ClientDataSet(this), "cdsKm");
    auto *root = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    cbZyzl = Combo(this, "cbZyzl", {}, 40);
    cbZyzl->setMinimumWidth(160);
    cbDj = Combo(this, "cbDj", CodeLists::Levels());
    cbDj->setCurrentIndex(0);
    AddLabelled(top, this, QStringLiteral("职业"), cbZyzl);
    AddLabelled(top, this, QStringLiteral("等级"), cbDj);
    top->addStretch();
    root->addLayout(top);
    dbgKm = Named(new DataGrid(this), "dbgKm");
    dbgKm->setDataSet(cdsKm);
    dbgKm->addRowNumberColumn();
    dbgKm->addColumn(QStringLiteral("kmbm"), QStringLiteral("科目编码"), 100);
    dbgKm->addColumn(QStringLiteral("kmmc"), QStringLiteral("科目名称"), 260);
    root->addWidget(dbgKm, 1);
    auto *row = new QHBoxLayout;
    row->addStretch();
    auto *btnOK = Button(this, "btnOK", QStringLiteral("确定"));
    auto *btnCancel = Button(this, "btnCancel", QStringLiteral("取消"));
    row->addWidget(btnOK);
    row->addWidget(btnCancel);
    root->addLayout(row);
    connect(btnOK, &QPushButton::clicked, this, &TfrmXzkmbm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(dbgKm, &DataGrid::rowDoubleClicked, this, &TfrmXzkmbm::btnOKClick);
    // Only the trade reloads the list; the level counts from the next trade choice on.
    connect(cbZyzl, &QComboBox::currentIndexChanged, this, &TfrmXzkmbm::cbZyzlChange);
}

TfrmXzkmbm::~TfrmXzkmbm() = default;

void TfrmXzkmbm::FormShow()
{
    if (!dmCommon())
        return;
    const QSignalBlocker block(cbZyzl);
    FillCombo(QStringLiteral("select * from zyzl"), dmCommon()->cdsCommon, &m_zyzlKeys,
              QStringLiteral("zyzllsh"), cbZyzl, QStringLiteral("zyzlmc"));
    cbZyzl->setCurrentIndex(-1);
}

void TfrmXzkmbm::cbZyzlChange()
{
    const int at = cbZyzl->currentIndex();
    if (at < 0 || at >= m_zyzlKeys.size())
        return;
    OpenSql(QStringLiteral("select * from km where zyzllsh = ") + QString::number(m_zyzlKeys.at(at).toInt()) +
                QStringLiteral(" and djlsh = ") + QString::number(cbDj->currentIndex() + 1),
            cdsKm);
}

void TfrmXzkmbm::btnOKClick()
{
    if (cdsKm->isEmpty()) {
        ShowInfo(QStringLiteral("请选择科目！"));
        return;
    }
    accept();
}
