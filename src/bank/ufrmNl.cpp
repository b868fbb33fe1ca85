#include "bank/ufrmNl.h"

#include "app/uCodeLists.h"
#include "app/uEditCycle.h"
#include "app/uFormUi.h"
#include "app/uSubSystemRegistry.h"
#include "bank/uAbilityList.h"
#include "data/DataAccess.h"
#include "data/udmCommon.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"
#include "platform/KeyFilters.h"
#include "platform/SharedServices.h"
#include "platform/widgets/DataGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QVBoxLayout>

using namespace FormUi;

LUMORA_REGISTER_SUBSYSTEM(TfrmNl)

namespace {

const QString kShowAll = QStringLiteral("全部显示");
const QString kShowApart = QStringLiteral("分开显示");

bool IsDigits(const QString &text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !text.isEmpty();
}

// The item number as the database compares it: "03" and "3" are one number.
QString ItemNumber(const QString &typed)
{
    const QString t = typed.trimmed();
    bool ok = false;
    const int n = t.toInt(&ok);
    return IsDigits(t) && ok ? QString::number(n) : t;
}

// A list box with its grid, edit area and the four cycle buttons.
struct ListBox
{
    QGroupBox *box;
    QVBoxLayout *layout;
    QGridLayout *edits;
    CycleButtons buttons;
};

ListBox MakeListBox(QWidget *parent, const QString &title, const char *name, DataGrid *grid,
                    const QString &prefix)
{
    ListBox l;
    l.box = Named(new QGroupBox(title, parent), name);
    l.layout = new QVBoxLayout(l.box);
    grid->setParent(l.box);
    grid->horizontalHeader()->setStretchLastSection(true);
    l.layout->addWidget(grid, 1);
    l.edits = new QGridLayout;
    l.layout->addLayout(l.edits);
    auto *row = new QHBoxLayout;
    l.buttons = AddCycleButtons(row, l.box, prefix);
    // Three rows of four buttons side by side: let them shrink to their text.
    for (QPushButton *b : {l.buttons.add, l.buttons.del, l.buttons.cancel, l.buttons.save}) {
        b->setMinimumWidth(48);
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    l.layout->addLayout(row);
    return l;
}

void Connect(const CycleButtons &b, TEditCycle *cycle)
{
    QObject::connect(b.add, &QPushButton::clicked, cycle, &TEditCycle::add);
    QObject::connect(b.del, &QPushButton::clicked, cycle, &TEditCycle::remove);
    QObject::connect(b.cancel, &QPushButton::clicked, cycle, &TEditCycle::cancel);
    QObject::connect(b.save, &QPushButton::clicked, cycle, &TEditCycle::save);
}

} // namespace

TfrmNl::TfrmNl(QWidget *parent) : TSubForm(parent)
{
    setObjectName(QStringLiteral("frmNl"));
    setWindowTitle(QStringLiteral("能力管理"));
    cdsNlzl = Named(new ClientDataSet(this), "cdsNlzl");
    cdsNlx = Named(new ClientDataSet(this), "cdsNlx");
    cdsNlms = Named(new ClientDataSet(this), "cdsNlms");
    cdsAll = Named(new ClientDataSet(this), "cdsAll");

    auto *root = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    cbZyzl = Combo(this, "cbZyzl", {}, 40);
    cbZyzl->setMinimumWidth(180);
    AddLabelled(top, this, QStringLiteral("工种"), cbZyzl);
    top->addStretch();
    root->addLayout(top);

    auto *pages = new QWidget(this);
    m_pages = new QStackedLayout(pages);
    pnlMain = Named(new QWidget(pages), "pnlMain");
    auto *lists = new QHBoxLayout(pnlMain);

    // 能力种类
    dbgNlzl = Named(new DataGrid(this), "dbgNlzl");
    dbgNlzl->setDataSet(cdsNlzl);
    dbgNlzl->addColumn(QStringLiteral("nlzlxh"), QStringLiteral("序号"), 50);
    dbgNlzl->addColumn(QStringLiteral("nlzlmc"), QStringLiteral("能力种类"), 160);
    ListBox zl = MakeListBox(pnlMain, QStringLiteral("能力种类"), "pnlNlzl", dbgNlzl, QStringLiteral("Nlzl"));
    edtNlzlxh = Edit(zl.box, "edtNlzlxh");
    edtNlzlxh->setMaxLength(10);
    edtNlzlmc = Edit(zl.box, "edtNlzlmc");
    edtNlzlmc->setMaxLength(100);
    zl.edits->addWidget(new QLabel(QStringLiteral("序号"), zl.box), 0, 0);
    zl.edits->addWidget(edtNlzlxh, 0, 1);
    zl.edits->addWidget(new QLabel(QStringLiteral("能力种类"), zl.box), 1, 0);
    zl.edits->addWidget(edtNlzlmc, 1, 1);
    lists->addWidget(zl.box, 1);

    // 能力项
    dbgNlx = Named(new DataGrid(this), "dbgNlx");
    dbgNlx->setDataSet(cdsNlx);
    dbgNlx->addColumn(QStringLiteral("nlxbh"), QStringLiteral("编号"), 50);
    dbgNlx->addColumn(QStringLiteral("nlxbm"), QStringLiteral("编码"), 60);
    dbgNlx->addColumn(QStringLiteral("nlxmc"), QStringLiteral("名称"), 160);
    ListBox x = MakeListBox(pnlMain, QStringLiteral("能力项"), "pnlNlx", dbgNlx, QStringLiteral("Nlx"));
    edtNlxbh = Edit(x.box, "edtNlxbh");
    edtNlxbh->setMaxLength(10);
    KeyCharFilter::install(edtNlxbh, KeyCharFilter::Digits);
    edtNlxmc = Edit(x.box, "edtNlxmc");
    edtNlxmc->setMaxLength(100);
    x.edits->addWidget(new QLabel(QStringLiteral("编号"), x.box), 0, 0);
    x.edits->addWidget(edtNlxbh, 0, 1);
    x.edits->addWidget(new QLabel(QStringLiteral("能力项"), x.box), 1, 0);
    x.edits->addWidget(edtNlxmc, 1, 1);
    lists->addWidget(x.box, 1);

    // 能力描述
    dbgNlxms = Named(new DataGrid(this), "dbgNlxms");
    dbgNlxms->setDataSet(cdsNlms);
    AddCodeColumn(dbgNlxms, QStringLiteral("djlsh"), QStringLiteral("等级"), CodeLists::Levels(), 50);
    dbgNlxms->addColumn(QStringLiteral("nlxdjbm"), QStringLiteral("编码"), 70);
    dbgNlxms->addColumn(QStringLiteral("nlxdjms"), QStringLiteral("描述"), 200);
    ListBox ms =
        MakeListBox(pnlMain, QStringLiteral("能力描述"), "pnlNlms", dbgNlxms, QStringLiteral("Nlms"));
    cbDj = Combo(ms.box, "cbDj", CodeLists::Levels());
    memNlms = Named(new QPlainTextEdit(ms.box), "memNlms");
    memNlms->setMaximumHeight(80);
    ms.edits->addWidget(new QLabel(QStringLiteral("等级"), ms.box), 0, 0);
    ms.edits->addWidget(cbDj, 0, 1);
    ms.edits->addWidget(new QLabel(QStringLiteral("能力描述"), ms.box), 1, 0, Qt::AlignTop);
    ms.edits->addWidget(memNlms, 1, 1);
    lists->addWidget(ms.box, 1);
    m_pages->addWidget(pnlMain);

    dbgAll = Named(new DataGrid(pages), "dbgAll");
    AbilityList::SetupGrid(dbgAll, cdsAll, true);
    m_pages->addWidget(dbgAll);
    root->addWidget(pages, 1);

    pnlBtn = Named(new QWidget(this), "pnlBtn");
    auto *btnRow = new QHBoxLayout(pnlBtn);
    btnShowAll = Button(pnlBtn, "btnShowAll", kShowAll);
    btnRow->addWidget(btnShowAll);
    btnRow->addStretch();
    root->addWidget(pnlBtn);
    pnlMain->setEnabled(false);
    pnlBtn->setEnabled(false);

    m_nlzl = new TEditCycle(cdsNlzl, QStringLiteral("nlzl"), QStringLiteral("nlzllsh"), this);
    m_nlx = new TEditCycle(cdsNlx, QStringLiteral("nlx"), QStringLiteral("nlxlsh"), this);
    m_nlms = new TEditCycle(cdsNlms, QStringLiteral("nlxdjgxb"), QStringLiteral("nlxdjgxlsh"), this);
    setupCategories();
    setupItems();
    setupDescriptions();
    Connect(zl.buttons, m_nlzl);
    Connect(x.buttons, m_nlx);
    Connect(ms.buttons, m_nlms);
    connect(cbZyzl, &QComboBox::currentIndexChanged, this, &TfrmNl::cbZyzlChange);
    connect(btnShowAll, &QPushButton::clicked, this, &TfrmNl::btnShowAllClick);
}

TfrmNl::~TfrmNl() = default;

void TfrmNl::setupCategories()
{
    m_nlzl->setFirstEdit(edtNlzlxh);
    m_nlzl->setMessages({QStringLiteral("保存能力种类成功！"), QStringLiteral("保存能力种类出现异常！原因："),
                         QStringLiteral("确认要删除该能力种类吗？"),
                         QStringLiteral("删除能力种类出现异常！原因：")});
    m_nlzl->onRowChange = [this] { categoryRowChange(); };
    m_nlzl->validate = [this] {
        if (tradeKey() <= 0)
            return false;
        if (!FormUi::RequireText(edtNlzlxh, QStringLiteral("能力种类序号不能为空，请重新输入！")))
            return false;
        if (!FormUi::RequireText(edtNlzlmc, QStringLiteral("能力种类名称不能为空，请重新输入！")))
            return false;
        return true;
    };
    m_nlzl->setUniqueCheck([this] { return edtNlzlxh->text().trimmed(); },
                           [this](const QString &xh) {
                               return QStringLiteral("select nlzlxh from nlzl where nlzlxh = ") +
                                      QuotedStr(xh) + QStringLiteral(" and zyzllsh = ") +
                                      QString::number(tradeKey());
                           },
                           [this](const QString &old) { edtNlzlxh->setText(old); },
                           QStringLiteral("该能力种类序号己存在，请重新输入！"));
    m_nlzl->writeRow = [this] {
        cdsNlzl->setValue(QStringLiteral("zyzllsh"), tradeKey());
        cdsNlzl->setValue(QStringLiteral("nlzlxh"), edtNlzlxh->text().trimmed());
        cdsNlzl->setValue(QStringLiteral("nlzlmc"), edtNlzlmc->text().trimmed());
        return true;
    };
}

void TfrmNl::setupItems()
{
    m_nlx->setFirstEdit(edtNlxbh);
    m_nlx->setMessages({QStringLiteral("保存能力项编码成功！"), QStringLiteral("保存能力项出现异常！原因："),
                        QStringLiteral("确认要删除该能力项吗？"),
                        QStringLiteral("删除能力项出现异常！原因：")});
    m_nlx->onRowChange = [this] { itemRowChange(); };
    m_nlx->validate = [this] {
        // An item always hangs on a stored category.
        if (m_nlzl->isNewRow()) {
            ShowInfo(QStringLiteral("能力种类尚未保存，不能保存能力项！"));
            return false;
        }
        const QString bh = edtNlxbh->text().trimmed();
        if (bh.isEmpty()) {
            ShowInfo(QStringLiteral("能力项编码不能为空，请重新输入！"));
            edtNlxbh->setFocus();
            return false;
        }
        // The number goes into SQL unquoted: only digits, and small enough for the column.
        bool ok = false;
        bh.toInt(&ok);
        if (!IsDigits(bh) || !ok) {
            ShowInfo(QStringLiteral("能力项编号只能是数字，请重新输入！"));
            edtNlxbh->setFocus();
            return false;
        }
        if (!FormUi::RequireText(edtNlxmc, QStringLiteral("能力项名称不能为空，请重新输入！")))
            return false;
        return true;
    };
    m_nlx->setUniqueCheck([this] { return ItemNumber(edtNlxbh->text()); },
                          [this](const QString &bh) {
                              return QStringLiteral("select nlxbh from nlx where nlxbh = ") + bh +
                                     QStringLiteral(" and nlzllsh = ") +
                                     QString::number(m_nlzl->currentKey());
                          },
                          [this](const QString &old) { edtNlxbh->setText(old); },
                          QStringLiteral("该能力项编号己存在，请重新输入！"));
    m_nlx->writeRow = [this] {
        const QString bh = edtNlxbh->text().trimmed();
        cdsNlx->setValue(QStringLiteral("nlzllsh"), m_nlzl->currentKey());
        cdsNlx->setValue(QStringLiteral("nlxbh"), bh.toInt());
        cdsNlx->setValue(QStringLiteral("nlxmc"), edtNlxmc->text().trimmed());
        cdsNlx->setValue(QStringLiteral("nlxbm"), cdsNlzl->asString(QStringLiteral("nlzlxh")) + bh);
        return true;
    };
}

void TfrmNl::setupDescriptions()
{
    m_nlms->setFirstEdit(cbDj);
    m_nlms->setMessages({QStringLiteral("保存能力描述成功！"), QStringLiteral("保存能力描述出现异常！原因："),
                         QStringLiteral("确认要删除该能力描述吗？"),
                         QStringLiteral("删除能力描述出现异常！原因：")});
    m_nlms->onRowChange = [this] { descriptionRowChange(); };
    m_nlms->validate = [this] {
        if (m_nlx->isNewRow()) {
            ShowInfo(QStringLiteral("能力项尚未保存，不能保存能力描述！"));
            return false;
        }
        if (cbDj->currentIndex() < 0) {
            ShowInfo(QStringLiteral("请选择能力描述对应的等级！"));
            cbDj->setFocus();
            return false;
        }
        if (memNlms->toPlainText().trimmed().isEmpty()) {
            ShowInfo(QStringLiteral("能力描述不能为空，请重新输入！"));
            memNlms->setFocus();
            return false;
        }
        return true;
    };
    m_nlms->setUniqueCheck(
        [this] { return cbDj->currentIndex() < 0 ? QString() : QString::number(cbDj->currentIndex() + 1); },
        [this](const QString &level) {
            return QStringLiteral("select djlsh from nlxdjgxb where djlsh = ") + level +
                   QStringLiteral(" and nlxlsh = ") + QString::number(m_nlx->currentKey());
        },
        [this](const QString &old) { cbDj->setCurrentIndex(old.isEmpty() ? -1 : old.toInt() - 1); },
        QStringLiteral("该等级的能力描述己存在，请重新输入！"));
    m_nlms->writeRow = [this] {
        const int level = cbDj->currentIndex() + 1;
        cdsNlms->setValue(QStringLiteral("nlxlsh"), m_nlx->currentKey());
        cdsNlms->setValue(QStringLiteral("djlsh"), level);
        cdsNlms->setValue(QStringLiteral("nlxdjms"), memNlms->toPlainText());
        cdsNlms->setValue(QStringLiteral("nlxdjbm"),
                          cdsNlx->asString(QStringLiteral("nlxbm")) + QLatin1Char('-') + RomanNumeral(level));
        return true;
    };
}

void TfrmNl::FormShow()
{
    pnlMain->setEnabled(false);
    pnlBtn->setEnabled(false);
    if (!dmCommon())
        return;
    // The lists get their columns at once, so a list under a new row can be shown empty.
    m_nlms->open(QStringLiteral("select * from nlxdjgxb where 1 = 0"));
    m_nlx->open(QStringLiteral("select * from nlx where 1 = 0"));
    m_nlzl->open(QStringLiteral("select * from nlzl where 1 = 0"));
    FormUi::FillTradeCombo(cbZyzl, &m_zyzlKeys);
}

int TfrmNl::tradeKey() const
{
    return FormUi::ChosenKey(cbZyzl, m_zyzlKeys);
}

void TfrmNl::cbZyzlChange()
{
    if (tradeKey() <= 0)
        return;
    pnlMain->setEnabled(true);
    pnlBtn->setEnabled(true);
    m_nlzl->open(QStringLiteral("select * from nlzl where zyzllsh = ") + QString::number(tradeKey()) +
                 QStringLiteral(" order by nlzlxh"));
    if (m_pages->currentIndex() == 1)
        AbilityList::Load(AbilityList::Sql(tradeKey(), 0, true), cdsAll);
}

void TfrmNl::categoryRowChange()
{
    edtNlzlxh->setText(cdsNlzl->asString(QStringLiteral("nlzlxh")));
    edtNlzlmc->setText(cdsNlzl->asString(QStringLiteral("nlzlmc")));
    // Under a category not saved yet the item list stays empty: nothing may hang on a missing key.
    if (m_nlzl->isNewRow())
        m_nlx->clear();
    else
        m_nlx->open(QStringLiteral("select * from nlx where nlzllsh = ") +
                    QString::number(m_nlzl->currentKey()) + QStringLiteral(" order by nlxbh"));
}

void TfrmNl::itemRowChange()
{
    edtNlxbh->setText(cdsNlx->isNull(QStringLiteral("nlxbh")) ? QString()
                                                              : cdsNlx->asString(QStringLiteral("nlxbh")));
    edtNlxmc->setText(cdsNlx->asString(QStringLiteral("nlxmc")));
    if (m_nlx->isNewRow())
        m_nlms->clear();
    else
        m_nlms->open(QStringLiteral("select * from nlxdjgxb where nlxlsh = ") +
                     QString::number(m_nlx->currentKey()) + QStringLiteral(" order by djlsh"));
}

void TfrmNl::descriptionRowChange()
{
    cbDj->setCurrentIndex(
        CodeLists::IndexOfCode(cdsNlms->asInt(QStringLiteral("djlsh")), CodeLists::Levels()));
    memNlms->setPlainText(cdsNlms->asString(QStringLiteral("nlxdjms")));
}

void TfrmNl::btnShowAllClick()
{
    if (btnShowAll->text() == kShowAll) {
        m_pages->setCurrentIndex(1);
        AbilityList::Load(AbilityList::Sql(tradeKey(), 0, true), cdsAll);
        btnShowAll->setText(kShowApart);
    } else {
        m_pages->setCurrentIndex(0);
        btnShowAll->setText(kShowAll);
    }
}
