#include "bank/ufrmMk.h"

#include "app/uCodeLists.h"
#include "app/uEditCycle.h"
#include "app/uFormUi.h"
#include "app/uSubSystemRegistry.h"
#include "bank/ufrmXzkmbm.h"
#include "data/DataAccess.h"
#include "data/udmCommon.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"
#include "platform/widgets/DataGrid.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace FormUi;

LUMORA_REGISTER_SUBSYSTEM(TfrmMk)

namespace {
// Gives the module list its columns before any subject is chosen, so "新增" works on an empty list.
const QString kNoModules = QStringLiteral("select * from mk where 1 = 0");
} // namespace

TfrmMk::TfrmMk(QWidget *parent) : TSubForm(parent)
{
    setObjectName(QStringLiteral("frmMk"));
    setWindowTitle(QStringLiteral("模块管理"));
    cdsKm = Named(new ClientDataSet(this), "cdsKm");
    cdsMk = Named(new ClientDataSet(this), "cdsMk");

    auto *root = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    cbZyzl = Combo(this, "cbZyzl", {}, 40);
    cbZyzl->setMinimumWidth(180);
    cbDj = Combo(this, "cbDj", CodeLists::Levels());
    cbDj->setCurrentIndex(0);
    AddLabelled(top, this, QStringLiteral("工种"), cbZyzl);
    AddLabelled(top, this, QStringLiteral("等级"), cbDj);
    top->addStretch();
    root->addLayout(top);

    auto *lists = new QHBoxLayout;
    dbgKm = Named(new DataGrid(this), "dbgKm");
    dbgKm->setDataSet(cdsKm);
    dbgKm->addRowNumberColumn();
    dbgKm->addColumn(QStringLiteral("kmbm"), QStringLiteral("科目编码"), 90);
    dbgKm->addColumn(QStringLiteral("kmmc"), QStringLiteral("科目名称"), 200);
    lists->addWidget(dbgKm, 1);
    auto *right = new QVBoxLayout;
    dbgMk = Named(new DataGrid(this), "dbgMk");
    dbgMk->setDataSet(cdsMk);
    dbgMk->addRowNumberColumn();
    dbgMk->addColumn(QStringLiteral("mkbm"), QStringLiteral("模块编码"), 90);
    dbgMk->addColumn(QStringLiteral("mkmc"), QStringLiteral("模块名称"), 220);
    right->addWidget(dbgMk, 1);

    auto *pnlEdit = Named(new QGroupBox(this), "pnlEdit");
    auto *grid = new QGridLayout(pnlEdit);
    edtMkbm = Edit(pnlEdit, "edtMkbm");
    edtMkbm->setMaxLength(20);
    edtMkmc = Edit(pnlEdit, "edtMkmc");
    edtMkmc->setMaxLength(100);
    lbKmmkgx = Named(new QListWidget(pnlEdit), "lbKmmkgx");
    lbKmmkgx->setMaximumHeight(110);
    lbKmmkgx->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *N1 = Named(new QAction(QStringLiteral("新增所属科目编码"), lbKmmkgx), "N1");
    auto *N2 = Named(new QAction(QStringLiteral("删除所属科目编码"), lbKmmkgx), "N2");
    lbKmmkgx->addAction(N1);
    lbKmmkgx->addAction(N2);
    grid->addWidget(new QLabel(QStringLiteral("模块编码"), pnlEdit), 0, 0);
    grid->addWidget(edtMkbm, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("模块名称"), pnlEdit), 1, 0);
    grid->addWidget(edtMkmc, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("所属科目编码"), pnlEdit), 2, 0, Qt::AlignTop);
    grid->addWidget(lbKmmkgx, 2, 1);
    right->addWidget(pnlEdit);
    lists->addLayout(right, 1);
    root->addLayout(lists, 1);

    pnlBtn = Named(new QWidget(this), "pnlBtn");
    auto *btnRow = new QHBoxLayout(pnlBtn);
    btnRow->addStretch();
    const CycleButtons b = AddCycleButtons(btnRow, pnlBtn);
    root->addWidget(pnlBtn);
    pnlBtn->setEnabled(false);

    m_cycle = new TEditCycle(cdsMk, QStringLiteral("mk"), QStringLiteral("mklsh"), this);
    m_cycle->setFirstEdit(edtMkbm);
    m_cycle->setMessages({QStringLiteral("保存模块信息成功！"),
                          QStringLiteral("保存模块信息出现异常！原因："),
                          QStringLiteral("确认要删除该模块信息吗？"), QString()});
    m_cycle->onRowChange = [this] { moduleRowChange(); };
    m_cycle->validate = [this] { return validate(); };
    m_cycle->writeRow = [this] { return writeRow(); };
    m_cycle->afterApply = [this](QString &error) { return writeRelation(error); };
    connect(b.add, &QPushButton::clicked, m_cycle, &TEditCycle::add);
    connect(b.del, &QPushButton::clicked, this, &TfrmMk::btnDelClick);
    connect(b.cancel, &QPushButton::clicked, m_cycle, &TEditCycle::cancel);
    connect(b.save, &QPushButton::clicked, m_cycle, &TEditCycle::save);
    connect(N1, &QAction::triggered, this, &TfrmMk::N1Click);
    connect(N2, &QAction::triggered, this, &TfrmMk::N2Click);
    connect(cbZyzl, &QComboBox::currentIndexChanged, this, &TfrmMk::filterChange);
    connect(cbDj, &QComboBox::currentIndexChanged, this, &TfrmMk::filterChange);
    cdsKm->setAfterScroll([this] { subjectRowChange(); });
}

TfrmMk::~TfrmMk()
{
    cdsKm->setAfterScroll({});
}

void TfrmMk::FormShow()
{
    pnlBtn->setEnabled(false);
    if (!dmCommon())
        return;
    m_cycle->open(kNoModules);
    FormUi::FillTradeCombo(cbZyzl, &m_zyzlKeys);
}

int TfrmMk::tradeKey() const
{
    return FormUi::ChosenKey(cbZyzl, m_zyzlKeys);
}

int TfrmMk::currentSubjectKey() const
{
    return cdsKm->isEmpty() ? 0 : cdsKm->asInt(QStringLiteral("kmlsh"));
}

void TfrmMk::filterChange()
{
    if (tradeKey() <= 0)
        return;
    pnlBtn->setEnabled(true);
    {
        const ClientDataSet::ScrollGuard guard(cdsKm);
        OpenSql(QStringLiteral("select * from km where zyzllsh = ") + QString::number(tradeKey()) +
                    QStringLiteral(" and djlsh = ") + QString::number(cbDj->currentIndex() + 1),
                cdsKm);
    }
    subjectRowChange();
}

void TfrmMk::subjectRowChange()
{
    if (cdsKm->isEmpty()) {
        m_cycle->clear();
        return;
    }
    m_cycle->open(
        QStringLiteral("select * from mk where mklsh in (select mklsh from kmmkgxb where kmlsh = ") +
        QString::number(currentSubjectKey()) + QStringLiteral(")"));
}

void TfrmMk::moduleRowChange()
{
    lbKmmkgx->clear();
    m_kmKeys.clear();
    edtMkbm->setText(cdsMk->asString(QStringLiteral("mkbm")));
    edtMkmc->setText(cdsMk->asString(QStringLiteral("mkmc")));
    if (m_cycle->isNewRow() || !dmCommon())
        return;
    ClientDataSet *scratch = dmCommon()->cdsCommon;
    if (!OpenSql(
            QStringLiteral("select a.kmlsh as kmlsh, kmbm, kmmc, zyzlmc from kmmkgxb a, km b, zyzl c where "
                           "a.kmlsh = b.kmlsh and b.zyzllsh = c.zyzllsh and a.mklsh = ") +
                QString::number(m_cycle->currentKey()),
            scratch))
        return;
    for (scratch->first(); !scratch->eof(); scratch->next()) {
        lbKmmkgx->addItem(scratch->asString(QStringLiteral("zyzlmc")) + QLatin1Char('\\') +
                          scratch->asString(QStringLiteral("kmmc")));
        m_kmKeys << scratch->asInt(QStringLiteral("kmlsh"));
    }
}

void TfrmMk::N1Click()
{
    TfrmXzkmbm dlg(this);
    dlg.FormShow();
    if (Dialogs::instance().execDialog(&dlg) != QDialog::Accepted || dlg.cdsKm->isEmpty())
        return;
    const int key = dlg.cdsKm->asInt(QStringLiteral("kmlsh"));
    // A pair stored twice would make every join through the relation return the module's questions
    // twice.
    if (m_kmKeys.contains(key)) {
        ShowInfo(QStringLiteral("该科目已在所属科目编码中，不能重复增加！"));
        return;
    }
    lbKmmkgx->addItem(dlg.cbZyzl->currentText() + QLatin1Char('\\') +
                      dlg.cdsKm->asString(QStringLiteral("kmmc")));
    m_kmKeys << key;
}

void TfrmMk::N2Click()
{
    if (lbKmmkgx->count() == 0)
        return;
    const int at = lbKmmkgx->currentRow();
    if (at < 0 || !lbKmmkgx->item(at)->isSelected()) {
        ShowInfo(QStringLiteral("请选择所属科目模块！"));
        return;
    }
    delete lbKmmkgx->takeItem(at);
    m_kmKeys.removeAt(at);
}

bool TfrmMk::validate()
{
    if (tradeKey() <= 0)
        return false;
    if (!FormUi::RequireText(edtMkbm, QStringLiteral("模块编码不能为空，请重新输入！")))
        return false;
    if (!FormUi::RequireText(edtMkmc, QStringLiteral("模块名称不能为空，请重新输入！！")))
        return false;
    // A module in no subject could never be found again.
    if (currentSubjectKey() <= 0 && m_kmKeys.isEmpty()) {
        ShowInfo(QStringLiteral("没有科目，不能保存模块！"));
        return false;
    }
    return true;
}

bool TfrmMk::writeRow()
{
    cdsMk->setValue(QStringLiteral("mkbm"), edtMkbm->text().trimmed());
    cdsMk->setValue(QStringLiteral("mkmc"), edtMkmc->text().trimmed());
    return true;
}

// Rewrites the module's subjects: the current subject and every listed one, each pair once, all or none
// (a failure half-way would drop the module from subjects it belonged to).
bool TfrmMk::writeRelation(QString &error)
{
    const QString module = QString::number(m_cycle->currentKey());
    QList<int> keys;
    if (currentSubjectKey() > 0)
        keys << currentSubjectKey();
    for (int key : std::as_const(m_kmKeys))
        if (key > 0 && !keys.contains(key))
            keys << key;
    QStringList statements{QStringLiteral("delete from kmmkgxb where mklsh = ") + module};
    for (int key : std::as_const(keys))
        statements << QStringLiteral("insert into kmmkgxb (mklsh, kmlsh) values (") + module +
                          QStringLiteral(", ") + QString::number(key) + QStringLiteral(")");
    return ExecBatch(statements, error);
}

bool TfrmMk::btnDelClick()
{
    if (cdsMk->isEmpty() || !AskConfirm(QStringLiteral("确认要删除该模块信息吗？")))
        return false;
    if (!m_cycle->isNewRow()) {
        // The module leaves every subject at once; its questions stay in the bank.
        const QString module = QString::number(m_cycle->currentKey());
        QString error;
        if (!ExecBatch({QStringLiteral("delete from kmmkgxb where mklsh = ") + module,
                        QStringLiteral("delete from mk where mklsh = ") + module},
                       error))
            return false;
    }
    {
        const ClientDataSet::ScrollGuard guard(cdsMk);
        cdsMk->remove();
        cdsMk->mergeChangeLog(); // already gone from the database: nothing left to write back
    }
    m_cycle->refresh();
    return true;
}
