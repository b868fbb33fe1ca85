#include "bank/ufrmKm.h"

#include "app/uCodeLists.h"
#include "app/uEditCycle.h"
#include "app/uFormUi.h"
#include "app/uSubSystemRegistry.h"
#include "bank/ufrmXznlx.h"
#include "data/DataAccess.h"
#include "data/udmCommon.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"
#include "platform/KeyFilters.h"
#include "platform/widgets/DataGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QVBoxLayout>

using namespace FormUi;

LUMORA_REGISTER_SUBSYSTEM(TfrmKm)

namespace {
const QString kShowAll = QStringLiteral("全部显示");
const QString kShowApart = QStringLiteral("分开显示");
} // namespace

TfrmKm::TfrmKm(QWidget *parent) : TSubForm(parent)
{
    setObjectName(QStringLiteral("frmKm"));
    setWindowTitle(QStringLiteral("科目管理"));
    cdsKm = Named(new ClientDataSet(this), "cdsKm");
    cdsAllKm = Named(new ClientDataSet(this), "cdsAllKm");
    cdsNlxbm = Named(new ClientDataSet(this), "cdsNlxbm");

    auto *root = new QVBoxLayout(this);
    auto *pnlTop = Named(new QWidget(this), "pnlTop");
    auto *top = new QHBoxLayout(pnlTop);
    cbZyzl = Combo(pnlTop, "cbZyzl", {}, 40);
    cbZyzl->setMinimumWidth(180);
    cbDj = Combo(pnlTop, "cbDj", CodeLists::Levels());
    cbDj->setCurrentIndex(0);
    cbLb = Combo(pnlTop, "cbLb", CodeLists::Categories());
    cbLb->setCurrentIndex(0);
    AddLabelled(top, pnlTop, QStringLiteral("工种"), cbZyzl);
    AddLabelled(top, pnlTop, QStringLiteral("等级"), cbDj);
    AddLabelled(top, pnlTop, QStringLiteral("类别"), cbLb);
    top->addStretch();
    root->addWidget(pnlTop);

    // Centre: the subject page (grid, edit panel, ability panel) and the all-subjects page.
    auto *pages = new QWidget(this);
    m_pages = new QStackedLayout(pages);
    pnlCenter = Named(new QWidget(pages), "pnlCenter");
    auto *centre = new QHBoxLayout(pnlCenter);
    auto *left = new QVBoxLayout;
    dbgKm = Named(new DataGrid(pnlCenter), "dbgKm");
    dbgKm->setDataSet(cdsKm);
    dbgKm->addRowNumberColumn();
    dbgKm->addColumn(QStringLiteral("kmbm"), QStringLiteral("科目编码"), 70);
    dbgKm->addColumn(QStringLiteral("kmmc"), QStringLiteral("科目名称"), 150);
    AddCodeColumn(dbgKm, QStringLiteral("khfslsh"), QStringLiteral("考核方式"), CodeLists::AssessModes(), 70);
    AddCodeColumn(dbgKm, QStringLiteral("pxfslsh"), QStringLiteral("培训方式"), CodeLists::TrainModes(), 80);
    AddCodeColumn(dbgKm, QStringLiteral("djlsh"), QStringLiteral("等级"), CodeLists::Levels(), 45);
    AddCodeColumn(dbgKm, QStringLiteral("lblsh"), QStringLiteral("类别"), CodeLists::Categories(), 55);
    left->addWidget(dbgKm, 1);

    auto *pnlEdit = Named(new QGroupBox(pnlCenter), "pnlEdit");
    auto *grid = new QGridLayout(pnlEdit);
    edtKmbm = Edit(pnlEdit, "edtKmbm");
    edtKmbm->setMaxLength(20);
    edtKmmc = Edit(pnlEdit, "edtKmmc");
    edtKmmc->setMaxLength(100);
    cbKhfs = Combo(pnlEdit, "cbKhfs", CodeLists::AssessModes());
    cbPxfs = Combo(pnlEdit, "cbPxfs", CodeLists::TrainModes());
    edtPxxs = Edit(pnlEdit, "edtPxxs");
    edtPxxs->setMaxLength(12);
    KeyCharFilter::install(edtPxxs, KeyCharFilter::Decimal);
    cbDj1 = Combo(pnlEdit, "cbDj1", CodeLists::Levels());
    cbLb1 = Combo(pnlEdit, "cbLb1", CodeLists::Categories());
    const QList<QPair<QString, QWidget *>> cells{
        {QStringLiteral("科目编码"), edtKmbm}, {QStringLiteral("科目名称"), edtKmmc},
        {QStringLiteral("考核方式"), cbKhfs},  {QStringLiteral("培训方式"), cbPxfs},
        {QStringLiteral("学时"), edtPxxs},     {QStringLiteral("等级"), cbDj1},
        {QStringLiteral("类别"), cbLb1}};
    for (int i = 0; i < cells.size(); ++i) {
        grid->addWidget(new QLabel(cells[i].first, pnlEdit), i / 2, (i % 2) * 2);
        grid->addWidget(cells[i].second, i / 2, (i % 2) * 2 + 1);
    }
    left->addWidget(pnlEdit);
    centre->addLayout(left, 3);

    auto *pnlNlx = Named(new QGroupBox(QStringLiteral("对应能力项编码"), pnlCenter), "pnlNlx");
    auto *nlx = new QVBoxLayout(pnlNlx);
    dbgNlx = Named(new DataGrid(pnlNlx), "dbgNlx");
    dbgNlx->setDataSet(cdsNlxbm);
    dbgNlx->addRowNumberColumn();
    dbgNlx->addColumn(QStringLiteral("nlxdjbm"), QStringLiteral("能力项编码"), 120);
    nlx->addWidget(dbgNlx, 1);
    auto *nlxForm = new QGridLayout;
    edtNlzlmc = Edit(pnlNlx, "edtNlzlmc");
    edtNlxmc = Edit(pnlNlx, "edtNlxmc");
    memNlms = Named(new QPlainTextEdit(pnlNlx), "memNlms");
    for (QWidget *ro : {static_cast<QWidget *>(edtNlzlmc), static_cast<QWidget *>(edtNlxmc)})
        static_cast<QLineEdit *>(ro)->setReadOnly(true);
    memNlms->setReadOnly(true);
    memNlms->setMaximumHeight(90);
    nlxForm->addWidget(new QLabel(QStringLiteral("能力种类"), pnlNlx), 0, 0);
    nlxForm->addWidget(edtNlzlmc, 0, 1);
    nlxForm->addWidget(new QLabel(QStringLiteral("能力项"), pnlNlx), 1, 0);
    nlxForm->addWidget(edtNlxmc, 1, 1);
    nlxForm->addWidget(new QLabel(QStringLiteral("能力描述"), pnlNlx), 2, 0, Qt::AlignTop);
    nlxForm->addWidget(memNlms, 2, 1);
    nlx->addLayout(nlxForm);
    auto *nlxBtns = new QHBoxLayout;
    nlxBtns->addStretch();
    auto *btnAddNlx = Button(pnlNlx, "btnAddNlx", QStringLiteral("新增"));
    auto *btnDelNlx = Button(pnlNlx, "btnDelNlx", QStringLiteral("删除"));
    nlxBtns->addWidget(btnAddNlx);
    nlxBtns->addWidget(btnDelNlx);
    nlx->addLayout(nlxBtns);
    centre->addWidget(pnlNlx, 2);
    m_pages->addWidget(pnlCenter);

    auto *pnlAll = Named(new QWidget(pages), "pnlAllKm");
    auto *all = new QVBoxLayout(pnlAll);
    dbgAllKm = Named(new DataGrid(pnlAll), "dbgAllKm");
    dbgAllKm->setDataSet(cdsAllKm);
    dbgAllKm->addRowNumberColumn();
    AddCodeColumn(dbgAllKm, QStringLiteral("djlsh"), QStringLiteral("等级"), CodeLists::Levels(), 50);
    AddCodeColumn(dbgAllKm, QStringLiteral("lblsh"), QStringLiteral("类别"), CodeLists::Categories(), 60);
    dbgAllKm->addColumn(QStringLiteral("kmbm"), QStringLiteral("科目编码"), 80);
    dbgAllKm->addColumn(QStringLiteral("kmmc"), QStringLiteral("科目名称"), 220);
    AddCodeColumn(dbgAllKm, QStringLiteral("pxfslsh"), QStringLiteral("培训方式"), CodeLists::TrainModes(),
                  90);
    AddCodeColumn(dbgAllKm, QStringLiteral("khfslsh"), QStringLiteral("考核方式"), CodeLists::AssessModes(),
                  80);
    dbgAllKm->addColumn(QStringLiteral("pxxs"), QStringLiteral("学时"), 50);
    all->addWidget(dbgAllKm);
    m_pages->addWidget(pnlAll);
    root->addWidget(pages, 1);

    pnlBtn = Named(new QWidget(this), "pnlBtn");
    auto *btnRow = new QHBoxLayout(pnlBtn);
    btnShowAll = Button(pnlBtn, "btnShowAll", kShowAll);
    btnRow->addWidget(btnShowAll);
    btnRow->addStretch();
    const CycleButtons b = AddCycleButtons(btnRow, pnlBtn);
    root->addWidget(pnlBtn);

    // Unusable until a trade is chosen.
    pnlCenter->setEnabled(false);
    pnlBtn->setEnabled(false);

    m_cycle = new TEditCycle(cdsKm, QStringLiteral("km"), QStringLiteral("kmlsh"), this);
    m_cycle->setFirstEdit(edtKmbm);
    m_cycle->setMessages({QStringLiteral("保存科目成功！"), QStringLiteral("保存科目出现异常！原因："),
                          QStringLiteral("确认要删除该科目吗？"),
                          QStringLiteral("删除科目出现异常！原因：")});
    m_cycle->onRowChange = [this] { rowChange(); };
    m_cycle->validate = [this] { return validate(); };
    m_cycle->writeRow = [this] { return writeRow(); };
    m_cycle->setUniqueCheck([this] { return edtKmbm->text().trimmed(); },
                            [this](const QString &code) {
                                return QStringLiteral("select kmbm from km where kmbm = ") + QuotedStr(code) +
                                       QStringLiteral(" and zyzllsh = ") + QString::number(tradeKey());
                            },
                            [this](const QString &old) { edtKmbm->setText(old); },
                            QStringLiteral("该科目编码己存在，请重新输入！"));
    connect(b.add, &QPushButton::clicked, m_cycle, &TEditCycle::add);
    connect(b.del, &QPushButton::clicked, m_cycle, &TEditCycle::remove);
    connect(b.cancel, &QPushButton::clicked, m_cycle, &TEditCycle::cancel);
    connect(b.save, &QPushButton::clicked, m_cycle, &TEditCycle::save);
    connect(btnShowAll, &QPushButton::clicked, this, &TfrmKm::btnShowAllClick);
    connect(btnAddNlx, &QPushButton::clicked, this, &TfrmKm::btnAddNlxClick);
    connect(btnDelNlx, &QPushButton::clicked, this, &TfrmKm::btnDelNlxClick);
    for (QComboBox *cb : {cbZyzl, cbDj, cbLb, cbDj1, cbLb1})
        connect(cb, &QComboBox::currentIndexChanged, this, &TfrmKm::filterChange);
    cdsNlxbm->setAfterScroll([this] { abilityRowChange(); });
}

TfrmKm::~TfrmKm()
{
    cdsNlxbm->setAfterScroll({});
}

void TfrmKm::FormShow()
{
    if (!dmCommon())
        return;
    FormUi::FillTradeCombo(cbZyzl, &m_zyzlKeys);
}

int TfrmKm::tradeKey() const
{
    return FormUi::ChosenKey(cbZyzl, m_zyzlKeys);
}

void TfrmKm::filterChange()
{
    if (cbZyzl->currentIndex() < 0 || tradeKey() <= 0)
        return;
    const QString sql = QStringLiteral("select * from km where zyzllsh = ") + QString::number(tradeKey()) +
                        QStringLiteral(" and djlsh = ") + QString::number(cbDj->currentIndex() + 1) +
                        QStringLiteral(" and lblsh = ") + QString::number(cbLb->currentIndex() + 1);
    m_cycle->open(sql);
    pnlCenter->setEnabled(true);
    pnlBtn->setEnabled(true);
    if (m_pages->currentIndex() == 1)
        OpenSql(QStringLiteral("select * from km where zyzllsh = ") + QString::number(tradeKey()) +
                    QStringLiteral(" order by djlsh, lblsh, kmbm"),
                cdsAllKm);
}

void TfrmKm::rowChange()
{
    // Setting the edit panel's level and category must not reload the list.
    const QSignalBlocker b1(cbDj1), b2(cbLb1);
    edtKmbm->setText(cdsKm->asString(QStringLiteral("kmbm")));
    edtKmmc->setText(cdsKm->asString(QStringLiteral("kmmc")));
    cbKhfs->setCurrentIndex(
        CodeLists::IndexOfCode(cdsKm->asInt(QStringLiteral("khfslsh")), CodeLists::AssessModes()));
    cbPxfs->setCurrentIndex(
        CodeLists::IndexOfCode(cdsKm->asInt(QStringLiteral("pxfslsh")), CodeLists::TrainModes()));
    cbDj1->setCurrentIndex(
        CodeLists::IndexOfCode(cdsKm->asInt(QStringLiteral("djlsh")), CodeLists::Levels()));
    cbLb1->setCurrentIndex(
        CodeLists::IndexOfCode(cdsKm->asInt(QStringLiteral("lblsh")), CodeLists::Categories()));
    edtPxxs->setText(cdsKm->isNull(QStringLiteral("pxxs")) ? QString()
                                                           : cdsKm->asString(QStringLiteral("pxxs")));
    if (!m_cycle->isNewRow()) {
        loadAbilities();
    } else {
        // A new subject takes the level and category of the filter it is created under.
        cbDj1->setCurrentIndex(cbDj->currentIndex());
        cbLb1->setCurrentIndex(cbLb->currentIndex());
        const ClientDataSet::ScrollGuard guard(cdsNlxbm);
        if (cdsNlxbm->isActive())
            cdsNlxbm->setRows(cdsNlxbm->fields(), {});
        abilityRowChange();
    }
}

bool TfrmKm::validate()
{
    if (tradeKey() <= 0)
        return false;
    if (!FormUi::RequireText(edtKmbm, QStringLiteral("科目编码不能为空，请重新输入！")))
        return false;
    if (!FormUi::RequireText(edtKmmc, QStringLiteral("科目名称不能为空，请重新输入！")))
        return false;
    if (cbKhfs->currentIndex() < 0) {
        ShowInfo(QStringLiteral("请选择考核方式！"));
        cbKhfs->setFocus();
        return false;
    }
    if (cbPxfs->currentIndex() < 0) {
        ShowInfo(QStringLiteral("请选择培训方式！"));
        cbPxfs->setFocus();
        return false;
    }
    // The hours box filters keys, but pasted text is not filtered: the column holds a number.
    const QString hours = edtPxxs->text().trimmed();
    bool ok = true;
    if (!hours.isEmpty())
        hours.toDouble(&ok);
    if (!ok) {
        ShowInfo(QStringLiteral("学时必须是数字，请重新输入！"));
        edtPxxs->setFocus();
        return false;
    }
    return true;
}

bool TfrmKm::writeRow()
{
    cdsKm->setValue(QStringLiteral("zyzllsh"), tradeKey());
    cdsKm->setValue(QStringLiteral("kmbm"), edtKmbm->text().trimmed());
    cdsKm->setValue(QStringLiteral("kmmc"), edtKmmc->text().trimmed());
    cdsKm->setValue(QStringLiteral("djlsh"), cbDj1->currentIndex() + 1);
    cdsKm->setValue(QStringLiteral("lblsh"), cbLb1->currentIndex() + 1);
    cdsKm->setValue(QStringLiteral("khfslsh"), cbKhfs->currentIndex() + 1);
    cdsKm->setValue(QStringLiteral("pxfslsh"), cbPxfs->currentIndex() + 1);
    const QString hours = edtPxxs->text().trimmed();
    cdsKm->setValue(QStringLiteral("pxxs"), hours.isEmpty() ? QVariant() : QVariant(hours.toDouble()));
    return true;
}

void TfrmKm::btnShowAllClick()
{
    if (btnShowAll->text() == kShowAll) {
        m_pages->setCurrentIndex(1);
        OpenSql(QStringLiteral("select * from km where zyzllsh = ") + QString::number(tradeKey()) +
                    QStringLiteral(" order by djlsh, lblsh, kmbm"),
                cdsAllKm);
        btnShowAll->setText(kShowApart);
    } else {
        m_pages->setCurrentIndex(0);
        btnShowAll->setText(kShowAll);
    }
}

void TfrmKm::loadAbilities()
{
    const QString sql =
        QStringLiteral("select a.nlxdjgxlsh, nlxdjbm, c.nlzlxh, b.nlxbm, c.nlzlmc, b.nlxmc, a.nlxdjms from  "
                       "nlxdjgxb a, nlx b, nlzl c, kmnlxgxb d where a.nlxlsh = b.nlxlsh and b.nlzllsh = "
                       "c.nlzllsh  and a.nlxdjgxlsh = d.nlxdjgxlsh and c.zyzllsh = ") +
        QString::number(tradeKey()) + QStringLiteral(" and a.djlsh = ") +
        QString::number(cbDj->currentIndex() + 1) + QStringLiteral(" and d.kmlsh = ") +
        QString::number(m_cycle->currentKey());
    {
        const ClientDataSet::ScrollGuard guard(cdsNlxbm);
        OpenSql(sql, cdsNlxbm);
    }
    abilityRowChange();
}

void TfrmKm::abilityRowChange()
{
    if (cdsNlxbm->isEmpty()) {
        edtNlzlmc->clear();
        edtNlxmc->clear();
        memNlms->clear();
        return;
    }
    const QString sp = QStringLiteral(" ");
    edtNlzlmc->setText(cdsNlxbm->asString(QStringLiteral("nlzlxh")) + sp +
                       cdsNlxbm->asString(QStringLiteral("nlzlmc")));
    edtNlxmc->setText(cdsNlxbm->asString(QStringLiteral("nlxbm")) + sp +
                      cdsNlxbm->asString(QStringLiteral("nlxmc")));
    memNlms->setPlainText(cdsNlxbm->asString(QStringLiteral("nlxdjbm")) + sp +
                          cdsNlxbm->asString(QStringLiteral("nlxdjms")));
}

void TfrmKm::btnAddNlxClick()
{
    // A subject not saved yet has no key to link to.
    if (cdsKm->isEmpty() || m_cycle->isNewRow()) {
        ShowInfo(QStringLiteral("没有科目，不能增加能力项编码！"));
        return;
    }
    TfrmXznlx dlg(this);
    dlg.zyzllsh = tradeKey();
    dlg.djlsh = cbDj->currentIndex() + 1;
    dlg.FormShow();
    if (Dialogs::instance().execDialog(&dlg) != QDialog::Accepted || dlg.cdsAll->isEmpty())
        return;
    const int chosen = dlg.cdsAll->asInt(QStringLiteral("nlxdjgxlsh"));
    if (cdsNlxbm->isActive() &&
        LocateValue(cdsNlxbm, QStringLiteral("nlxdjgxlsh"), QString::number(chosen))) {
        ShowInfo(QStringLiteral("该能力项编码己被选择！"));
        return;
    }
    QString error;
    if (!ExecSql(QStringLiteral("insert into kmnlxgxb(kmlsh, nlxdjgxlsh) values ( ") +
                     QString::number(m_cycle->currentKey()) + QStringLiteral(", ") + QString::number(chosen) +
                     QStringLiteral(")"),
                 error))
        return;
    loadAbilities();
    LocateValue(cdsNlxbm, QStringLiteral("nlxdjgxlsh"), QString::number(chosen));
}

void TfrmKm::btnDelNlxClick()
{
    if (cdsKm->isEmpty() || m_cycle->isNewRow() || !cdsNlxbm->isActive() || cdsNlxbm->isEmpty())
        return;
    QString error;
    if (!ExecSql(QStringLiteral("delete from kmnlxgxb where kmlsh = ") +
                     QString::number(m_cycle->currentKey()) + QStringLiteral(" and nlxdjgxlsh = ") +
                     cdsNlxbm->asString(QStringLiteral("nlxdjgxlsh")),
                 error))
        return;
    loadAbilities();
}
