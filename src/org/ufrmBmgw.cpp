#include "org/ufrmBmgw.h"

#include "app/uEditCycle.h"
#include "app/uFormUi.h"
#include "app/uSubSystemRegistry.h"
#include "data/DataAccess.h"
#include "org/uDeptPath.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"
#include "platform/KeyFilters.h"
#include "platform/widgets/DataGrid.h"
#include "platform/widgets/DataTree.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QSet>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

using namespace FormUi;

LUMORA_REGISTER_SUBSYSTEM(TfrmBmgw)

const QString TfrmBmgw::DeptListSql = QStringLiteral("select * from bm order by sfsczz, jb, xssx, bmlsh");

TfrmBmgw::TfrmBmgw(QWidget *parent) : TSubForm(parent)
{
    setObjectName(QStringLiteral("frmBmgw"));
    setWindowTitle(QStringLiteral("部门岗位"));
    cdsBm = Named(new ClientDataSet(this), "cdsBm");
    cdsBmxz = Named(new ClientDataSet(this), "cdsBmxz");
    cdsGw = Named(new ClientDataSet(this), "cdsGw");

    auto *root = new QHBoxLayout(this);

    // Departments.
    auto *pnlBm = Named(new QGroupBox(QStringLiteral("组织机构管理"), this), "pnlBm");
    auto *bmCol = new QVBoxLayout(pnlBm);
    dtlBm = Named(new DataTree(pnlBm), "dtlBm");
    dtlBm->setDataSet(cdsBm, QStringLiteral("bmlsh"), QStringLiteral("bm_bmlsh"), QStringLiteral("bmmc"));
    dtlBm->setColumnCount(2);
    dtlBm->setHeaderHidden(false);
    dtlBm->setHeaderLabels({QStringLiteral("组织机构名称"), QStringLiteral("组织机构类型")});
    dtlBm->header()->resizeSection(0, 220);
    connect(cdsBm, &ClientDataSet::reset, this, &TfrmBmgw::updateTypeColumn);
    bmCol->addWidget(dtlBm, 1);

    auto *bmFields = new QGridLayout;
    edtBmdm = Edit(pnlBm, "edtBmdm", 8);
    edtBmmc = Edit(pnlBm, "edtBmmc", 20);
    edtSjbm = Edit(pnlBm, "edtSjbm");
    edtSjbm->setReadOnly(true);
    edtSjbm->setPlaceholderText(QStringLiteral("点击选择上级机构"));
    edtSjbm->installEventFilter(this);
    edtXssx = Edit(pnlBm, "edtXssx", 9);
    KeyCharFilter::install(edtXssx, KeyCharFilter::Digits);
    cbSfsczz = Named(new QCheckBox(QStringLiteral("是否生产组织"), pnlBm), "cbSfsczz");
    memBmms = Named(new QPlainTextEdit(pnlBm), "memBmms");
    memBmms->setMaximumHeight(60);
    Cell(bmFields, 0, 0, QStringLiteral("机构代码"), edtBmdm);
    Cell(bmFields, 0, 1, QStringLiteral("机构名称"), edtBmmc);
    Cell(bmFields, 1, 0, QStringLiteral("上级机构"), edtSjbm);
    Cell(bmFields, 1, 1, QStringLiteral("显示顺序"), edtXssx);
    bmFields->addWidget(cbSfsczz, 2, 1);
    Cell(bmFields, 3, 0, QStringLiteral("机构描述"), memBmms, 3);
    bmCol->addLayout(bmFields);

    // The parent picker, shown while the parent box is entered.
    pnlBmxz = Named(new QGroupBox(QStringLiteral("选择上级机构"), pnlBm), "pnlBmxz");
    auto *pickCol = new QVBoxLayout(pnlBmxz);
    dtlBmxz = Named(new DataTree(pnlBmxz), "dtlBmxz");
    dtlBmxz->setDataSet(cdsBmxz, QStringLiteral("bmlsh"), QStringLiteral("bm_bmlsh"), QStringLiteral("bmmc"));
    pickCol->addWidget(dtlBmxz);
    auto *pickBtns = new QHBoxLayout;
    pickBtns->addStretch();
    auto *btnOK = Button(pnlBmxz, "btnOK", QStringLiteral("确定"));
    auto *btnExit = Button(pnlBmxz, "btnExit", QStringLiteral("取消"));
    pickBtns->addWidget(btnOK);
    pickBtns->addWidget(btnExit);
    pickCol->addLayout(pickBtns);
    pnlBmxz->setVisible(false);
    pnlBmxz->setMaximumHeight(240);
    bmCol->addWidget(pnlBmxz);

    auto *bmBtns = new QHBoxLayout;
    bmBtns->addStretch();
    const CycleButtons bm = AddCycleButtons(bmBtns, pnlBm);
    bmCol->addLayout(bmBtns);
    root->addWidget(pnlBm, 1);

    // Posts of the current department.
    auto *pnlGw = Named(new QGroupBox(QStringLiteral("岗位管理"), this), "pnlGw");
    auto *gwCol = new QVBoxLayout(pnlGw);
    dbgGw = Named(new DataGrid(pnlGw), "dbgGw");
    dbgGw->setDataSet(cdsGw);
    dbgGw->addRowNumberColumn();
    dbgGw->addColumn(QStringLiteral("gwmc"), QStringLiteral("岗位名称"), 180);
    dbgGw->addColumn(QStringLiteral("gwxz"), QStringLiteral("岗位性质"), 120);
    gwCol->addWidget(dbgGw, 1);
    auto *gwFields = new QGridLayout;
    edtGwmc = Edit(pnlGw, "edtGwmc", 50);
    edtGwdm = Edit(pnlGw, "edtGwdm", 20);
    edtGwxz = Edit(pnlGw, "edtGwxz", 50);
    edtXssxGw = Edit(pnlGw, "edtXssxGw", 9);
    KeyCharFilter::install(edtXssxGw, KeyCharFilter::Digits);
    memGwms = Named(new QPlainTextEdit(pnlGw), "memGwms");
    memGwms->setMaximumHeight(60);
    Cell(gwFields, 0, 0, QStringLiteral("岗位名称"), edtGwmc);
    Cell(gwFields, 0, 1, QStringLiteral("岗位代码"), edtGwdm);
    Cell(gwFields, 1, 0, QStringLiteral("岗位性质"), edtGwxz);
    Cell(gwFields, 1, 1, QStringLiteral("显示顺序"), edtXssxGw);
    Cell(gwFields, 2, 0, QStringLiteral("岗位描述"), memGwms, 3);
    gwCol->addLayout(gwFields);
    auto *gwBtns = new QHBoxLayout;
    gwBtns->addStretch();
    const CycleButtons gw = AddCycleButtons(gwBtns, pnlGw, {}, QStringLiteral("Gw"));
    gwCol->addLayout(gwBtns);
    root->addWidget(pnlGw, 1);

    m_deptCycle = new TEditCycle(cdsBm, QStringLiteral("bm"), QStringLiteral("bmlsh"), this);
    m_deptCycle->setFirstEdit(edtBmmc);
    m_deptCycle->setMessages(
        {QStringLiteral("保存部门完成！"), QStringLiteral("保存部门信息出现异常！原因："),
         QStringLiteral("确认要删除该部门吗？"), QStringLiteral("删除部门出现异常！原因：")});
    m_deptCycle->onRowChange = [this] { deptChange(); };
    m_deptCycle->validate = [this] { return deptValidate(); };
    m_deptCycle->writeRow = [this] { return deptWrite(); };
    m_deptCycle->afterApply = [this](QString &error) { return relevelBelow(error); };
    m_deptCycle->setUniqueCheck(
        [this] { return edtBmmc->text().trimmed(); },
        [this](const QString &name) {
            if (m_parentKey.isValid())
                return QStringLiteral("select bmmc from bm where bm_bmlsh = %1 and bmmc = %2")
                    .arg(m_parentKey.toInt())
                    .arg(QuotedStr(name));
            return QStringLiteral("select bmmc from bm where bmmc = ") + QuotedStr(name);
        },
        [this](const QString &old) { edtBmmc->setText(old); },
        QStringLiteral("当前上级部门下己有该下级部门名称，请重新输入！"));
    connect(m_deptCycle, &TEditCycle::saved, this, &TfrmBmgw::deptSaved);
    connect(m_deptCycle, &TEditCycle::removed, this, &TfrmBmgw::deptSaved);

    m_postCycle = new TEditCycle(cdsGw, QStringLiteral("gw"), QStringLiteral("gwlsh"), this);
    m_postCycle->setFirstEdit(edtGwmc);
    m_postCycle->setMessages({QStringLiteral("保存岗位成功！"), QStringLiteral("保存岗位出现异常！原因："),
                              QStringLiteral("确认要删除该岗位吗？"),
                              QStringLiteral("删除岗位出现异常！原因：")});
    m_postCycle->onRowChange = [this] { postChange(); };
    m_postCycle->validate = [this] { return postValidate(); };
    m_postCycle->writeRow = [this] { return postWrite(); };
    m_postCycle->setUniqueCheck(
        [this] { return edtGwmc->text().trimmed(); },
        [this](const QString &name) {
            return QStringLiteral("select gwmc from gw where bmlsh = %1 and gwmc = %2")
                .arg(m_deptCycle->currentKey())
                .arg(QuotedStr(name));
        },
        [this](const QString &old) { edtGwmc->setText(old); }, QStringLiteral("该部门己存在，请重新输入！"));

    connect(bm.add, &QPushButton::clicked, m_deptCycle, &TEditCycle::add);
    connect(bm.del, &QPushButton::clicked, this, [this] {
        // Asked before the confirmation: a department with sub-departments cannot go at all.
        if (!m_deptCycle->isNewRow()) {
            ClientDataSet children;
            if (!OpenSql(
                    QStringLiteral("select bmlsh from bm where bm_bmlsh = %1").arg(m_deptCycle->currentKey()),
                    &children))
                return;
            if (!children.isEmpty()) {
                ShowInfo(QStringLiteral("该部门有下级部门，不能删除"));
                return;
            }
        }
        m_deptCycle->remove();
    });
    connect(bm.cancel, &QPushButton::clicked, m_deptCycle, &TEditCycle::cancel);
    connect(bm.save, &QPushButton::clicked, m_deptCycle, &TEditCycle::save);
    connect(gw.add, &QPushButton::clicked, m_postCycle, &TEditCycle::add);
    connect(gw.del, &QPushButton::clicked, m_postCycle, &TEditCycle::remove);
    connect(gw.cancel, &QPushButton::clicked, m_postCycle, &TEditCycle::cancel);
    connect(gw.save, &QPushButton::clicked, m_postCycle, &TEditCycle::save);
    connect(btnOK, &QPushButton::clicked, this, &TfrmBmgw::btnOKClick);
    connect(btnExit, &QPushButton::clicked, this, &TfrmBmgw::btnExitClick);
}

TfrmBmgw::~TfrmBmgw() = default;

void TfrmBmgw::FormShow()
{
    {
        ClientDataSet::ScrollGuard guard(cdsBm);
        if (OpenSql(DeptListSql, cdsBm))
            cdsBmxz->copyFrom(*cdsBm);
    }
    m_deptCycle->open(DeptListSql);
    if (!cdsBm->isEmpty())
        dtlBm->selectKey(cdsBm->value(QStringLiteral("bmlsh")));
    ExpandAllNodes(dtlBm);
    ExpandAllNodes(dtlBmxz);
}

bool TfrmBmgw::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edtSjbm && (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress))
        ShowPicker();
    return QWidget::eventFilter(watched, event);
}

void TfrmBmgw::ShowPicker()
{
    if (m_parentKey.isValid())
        dtlBmxz->selectKey(m_parentKey);
    pnlBmxz->setVisible(true);
}

void TfrmBmgw::btnOKClick()
{
    const QVariant key = dtlBmxz->currentKey();
    pnlBmxz->setVisible(false);
    if (!key.isValid() || !cdsBmxz->locate(QStringLiteral("bmlsh"), key))
        return;
    m_parentKey = cdsBmxz->value(QStringLiteral("bmlsh"));
    m_parentLevel = cdsBmxz->asInt(QStringLiteral("jb"));
    edtSjbm->setText(cdsBmxz->asString(QStringLiteral("bmmc")));
}

void TfrmBmgw::btnExitClick()
{
    pnlBmxz->setVisible(false);
}

void TfrmBmgw::reloadPicker()
{
    ClientDataSet fresh;
    if (OpenSql(DeptListSql, &fresh))
        cdsBmxz->copyFrom(fresh);
    ExpandAllNodes(dtlBmxz);
}

void TfrmBmgw::updateTypeColumn()
{
    for (QTreeWidgetItemIterator it(dtlBm); *it; ++it) {
        const int row = [&] {
            for (int r = 0; r < cdsBm->recordCount(); ++r) {
                if (ClientDataSet::sameValue(cdsBm->valueAt(r, cdsBm->fieldIndex(QStringLiteral("bmlsh"))),
                                             DataTree::keyOf(*it)))
                    return r;
            }
            return -1;
        }();
        const QString flag =
            row < 0 ? QString() : cdsBm->valueAt(row, cdsBm->fieldIndex(QStringLiteral("sfsczz"))).toString();
        (*it)->setText(1,
                       flag == QLatin1String("1") ? QStringLiteral("生产组织") : QStringLiteral("管理组织"));
    }
}

void TfrmBmgw::deptChange()
{
    const QVariant parent = cdsBm->value(QStringLiteral("bm_bmlsh"));
    if (!cdsBm->isEmpty() && parent.isValid() && !parent.isNull()) {
        m_parentKey = parent;
        edtSjbm->setText(GetDeptPath(cdsBmxz, parent));
        m_parentLevel = -1;
        for (int r = 0; r < cdsBmxz->recordCount(); ++r) {
            if (ClientDataSet::sameValue(cdsBmxz->valueAt(r, cdsBmxz->fieldIndex(QStringLiteral("bmlsh"))),
                                         parent))
                m_parentLevel = cdsBmxz->valueAt(r, cdsBmxz->fieldIndex(QStringLiteral("jb"))).toInt();
        }
    } else {
        m_parentKey = QVariant();
        m_parentLevel = -1;
        edtSjbm->clear();
    }
    cbSfsczz->setChecked(cdsBm->asString(QStringLiteral("sfsczz")) == QLatin1String("1"));
    edtBmmc->setText(cdsBm->asString(QStringLiteral("bmmc")));
    edtBmdm->setText(cdsBm->asString(QStringLiteral("bmdm")));
    memBmms->setPlainText(cdsBm->asString(QStringLiteral("bmms")));
    // An empty display order proposes the next one after the number shown last.
    if (!cdsBm->isEmpty() && !cdsBm->isNull(QStringLiteral("xssx")))
        edtXssx->setText(cdsBm->asString(QStringLiteral("xssx")));
    else
        edtXssx->setText(QString::number(edtXssx->text().trimmed().toInt() + 1));
    pnlBmxz->setVisible(false);

    const int key = m_deptCycle->isNewRow() ? 0 : m_deptCycle->currentKey();
    if (key > 0)
        m_postCycle->open(QStringLiteral("select * from gw where bmlsh = %1").arg(key));
    else if (cdsGw->isActive())
        m_postCycle->clear();
    else
        postChange();
}

bool TfrmBmgw::deptValidate()
{
    if (!FormUi::RequireText(edtBmmc, QStringLiteral("部门名称不能空，请重新输入！")))
        return false;
    if (!m_deptCycle->isNewRow() && m_parentKey.isValid()) {
        const QVariant self = cdsBm->value(QStringLiteral("bmlsh"));
        if (ClientDataSet::sameValue(self, m_parentKey)) {
            ShowInfo(QStringLiteral("上级部门不能与本部门相同！"));
            return false;
        }
        // A department below this one as its parent would close a loop in the tree.
        if (IsDescendantDept(cdsBmxz, m_parentKey, self)) {
            ShowInfo(QStringLiteral("上级部门不能是本部门的下级部门，请重新选择！"));
            return false;
        }
    }
    return true;
}

bool TfrmBmgw::deptWrite()
{
    if (m_parentKey.isValid()) {
        cdsBm->setValue(QStringLiteral("bm_bmlsh"), m_parentKey);
        cdsBm->setValue(QStringLiteral("jb"), m_parentLevel + 1);
    } else {
        cdsBm->setValue(QStringLiteral("bm_bmlsh"), QVariant());
        cdsBm->setValue(QStringLiteral("jb"), 0);
    }
    cdsBm->setValue(QStringLiteral("sfsczz"),
                    cbSfsczz->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    cdsBm->setValue(QStringLiteral("bmmc"), edtBmmc->text().trimmed());
    cdsBm->setValue(QStringLiteral("bmdm"), edtBmdm->text().trimmed());
    bool ok = false;
    const int order = edtXssx->text().trimmed().toInt(&ok);
    cdsBm->setValue(QStringLiteral("xssx"), ok ? order : 10);
    cdsBm->setValue(QStringLiteral("bmms"), memBmms->toPlainText().trimmed());
    return true;
}

// A department that moved to another level takes its sub-departments along: each stays one level
// below its parent, so lists ordered by level keep the tree's order.
bool TfrmBmgw::relevelBelow(QString &error)
{
    const int kf = cdsBmxz->fieldIndex(QStringLiteral("bmlsh"));
    const int pf = cdsBmxz->fieldIndex(QStringLiteral("bm_bmlsh"));
    const int lf = cdsBmxz->fieldIndex(QStringLiteral("jb"));
    if (kf < 0 || pf < 0 || lf < 0)
        return true;
    QStringList updates;
    QList<QPair<QVariant, int>> todo{
        {cdsBm->value(QStringLiteral("bmlsh")), cdsBm->asInt(QStringLiteral("jb"))}};
    QSet<QString> seen;
    while (!todo.isEmpty()) {
        const auto [key, level] = todo.takeFirst();
        if (seen.contains(key.toString()))
            continue; // a loop stored by an older client
        seen.insert(key.toString());
        for (int r = 0; r < cdsBmxz->recordCount(); ++r) {
            if (!ClientDataSet::sameValue(cdsBmxz->valueAt(r, pf), key) ||
                ClientDataSet::sameValue(cdsBmxz->valueAt(r, kf), key))
                continue;
            const QVariant child = cdsBmxz->valueAt(r, kf);
            if (cdsBmxz->valueAt(r, lf).isNull() || cdsBmxz->valueAt(r, lf).toInt() != level + 1)
                updates << QStringLiteral("update bm set jb = %1 where bmlsh = %2")
                               .arg(level + 1)
                               .arg(child.toInt());
            todo.append({child, level + 1});
        }
    }
    if (updates.isEmpty() || ExecBatch(updates, error))
        return true;
    return false;
}

void TfrmBmgw::deptSaved()
{
    // Reloaded rather than patched: sub-departments may have changed level in the database, and a later
    // save must find them as they are stored now.
    const QVariant key = cdsBm->value(QStringLiteral("bmlsh"));
    reloadPicker();
    m_deptCycle->open(DeptListSql);
    ExpandAllNodes(dtlBm);
    // The rebuilt tree keeps its current node without telling: move the list to it as well.
    if (key.isValid())
        cdsBm->locate(QStringLiteral("bmlsh"), key);
    if (!cdsBm->isEmpty())
        dtlBm->selectKey(cdsBm->value(QStringLiteral("bmlsh")));
}

void TfrmBmgw::postChange()
{
    edtGwmc->setText(cdsGw->asString(QStringLiteral("gwmc")));
    edtGwxz->setText(cdsGw->asString(QStringLiteral("gwxz")));
    edtGwdm->setText(cdsGw->asString(QStringLiteral("gwdm")));
    memGwms->setPlainText(cdsGw->asString(QStringLiteral("gwms")));
    edtXssxGw->setText(cdsGw->asString(QStringLiteral("xssx")));
}

bool TfrmBmgw::postValidate()
{
    if (!FormUi::RequireText(edtGwmc, QStringLiteral("岗位名称不能为空，请重新输入！")))
        return false;
    // A post hangs on a saved department; without one it would belong nowhere.
    if (m_deptCycle->isNewRow()) {
        ShowInfo(QStringLiteral("请先保存部门，再为它增加岗位！"));
        return false;
    }
    return true;
}

bool TfrmBmgw::postWrite()
{
    cdsGw->setValue(QStringLiteral("bmlsh"), m_deptCycle->currentKey());
    cdsGw->setValue(QStringLiteral("gwmc"), edtGwmc->text().trimmed());
    cdsGw->setValue(QStringLiteral("gwxz"), edtGwxz->text().trimmed());
    cdsGw->setValue(QStringLiteral("gwdm"), edtGwdm->text().trimmed());
    bool ok = false;
    const int order = edtXssxGw->text().trimmed().toInt(&ok);
    cdsGw->setValue(QStringLiteral("xssx"), ok ? order : 0);
    cdsGw->setValue(QStringLiteral("gwms"), memGwms->toPlainText());
    return true;
}
