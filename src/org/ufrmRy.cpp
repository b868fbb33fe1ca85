#include "org/ufrmRy.h"

#include "app/uEditCycle.h"
#include "app/uFormUi.h"
#include "app/uSubSystemRegistry.h"
#include "data/DataAccess.h"
#include "data/uAssistor.h"
#include "data/udmCommon.h"
#include "org/uDateBox.h"
#include "platform/ClientDataSet.h"
#include "platform/Dialogs.h"
#include "platform/FileChecks.h"
#include "platform/widgets/DataGrid.h"
#include "platform/widgets/DataTree.h"
#include "platform/widgets/PictureBox.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryFile>
#include <QVBoxLayout>

using namespace FormUi;

LUMORA_REGISTER_SUBSYSTEM(TfrmRy)

const QStringList TfrmRy::EmploymentStates = {QStringLiteral("在职"), QStringLiteral("退休"),
                                              QStringLiteral("内部退养"), QStringLiteral("长期病假"),
                                              QStringLiteral("协议保留劳动关系")};
const QStringList TfrmRy::TrainerGrades = {QStringLiteral("厂级"), QStringLiteral("车间培训专工"),
                                           QStringLiteral("班组培训员")};

namespace {

const QString kPhotoSaveFailed = QStringLiteral("保存人员相片出现异常！原因：");
const QString kSaveFailed = QStringLiteral("保存人员信息出现异常！原因：");

// Selects the entry whose key equals the column value; nothing when there is none.
void SelectKey(QComboBox *box, const QStringList &keys, const QString &value)
{
    const QString v = value.trimmed();
    int at = -1;
    for (int i = 0; i < keys.size() && !v.isEmpty(); ++i) {
        if (keys[i].trimmed() == v ||
            (keys[i].toDouble() == v.toDouble() && !keys[i].isEmpty() && v.toDouble() != 0.0)) {
            at = i;
            break;
        }
    }
    box->setCurrentIndex(at);
}

// Selects entry value − 1 of a position-coded box; nothing for an empty or out-of-range column.
void SelectPosition(QComboBox *box, const QString &value)
{
    bool ok = false;
    const int code = value.trimmed().toInt(&ok);
    box->setCurrentIndex(ok && code >= 1 && code <= box->count() ? code - 1 : -1);
}

QRadioButton *Radio(QWidget *parent, const char *name, const QString &text)
{
    return Named(new QRadioButton(text, parent), name);
}

QCheckBox *Check(QWidget *parent, const char *name, const QString &text)
{
    return Named(new QCheckBox(text, parent), name);
}

TDateBox *DateBox(QWidget *parent, const char *name)
{
    return Named(new TDateBox(parent), name);
}

} // namespace

TfrmRy::TfrmRy(QWidget *parent) : TSubForm(parent)
{
    setObjectName(QStringLiteral("frmRy"));
    setWindowTitle(QStringLiteral("人员管理"));
    cdsZzjg = Named(new ClientDataSet(this), "cdsZzjg");
    cdsRy = Named(new ClientDataSet(this), "cdsRy");

    auto *root = new QHBoxLayout(this);
    auto *split = new QSplitter(Qt::Horizontal, this);
    root->addWidget(split);

    auto *pnlZzjg = Named(new QGroupBox(QStringLiteral("组织机构"), split), "pnlZzjg");
    auto *treeCol = new QVBoxLayout(pnlZzjg);
    dtlZzjg = Named(new DataTree(pnlZzjg), "dtlZzjg");
    dtlZzjg->setDataSet(cdsZzjg, QStringLiteral("bmlsh"), QStringLiteral("bm_bmlsh"), QStringLiteral("bmmc"));
    dtlZzjg->setHeaderHidden(false);
    dtlZzjg->setHeaderLabels({QStringLiteral("机构名称")});
    treeCol->addWidget(dtlZzjg);
    split->addWidget(pnlZzjg);

    auto *right = new QWidget(split);
    auto *rightCol = new QVBoxLayout(right);
    rightCol->setContentsMargins(0, 0, 0, 0);
    pcRy = Named(new QTabWidget(right), "pcRy");
    rightCol->addWidget(pcRy, 1);
    split->addWidget(right);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 4);
    split->setSizes({230, 800});
    pnlZzjg->setMinimumWidth(200);

    // The list page.
    auto *tsList = Named(new QWidget(pcRy), "tsRyList");
    auto *listCol = new QVBoxLayout(tsList);
    dbgRy = Named(new DataGrid(tsList), "dbgRy");
    dbgRy->setDataSet(cdsRy);
    listCol->addWidget(dbgRy);
    pcRy->addTab(tsList, QStringLiteral("人员档案列表"));
    connect(dbgRy, &DataGrid::rowDoubleClicked, this, [this] { pcRy->setCurrentIndex(1); });

    // The detail page.
    auto *tsDetail = Named(new QWidget(pcRy), "tsRyDetail");
    auto *detailRow = new QHBoxLayout(tsDetail);
    auto *g = new QGridLayout;
    detailRow->addLayout(g, 1);
    QWidget *p = tsDetail;
    edtRyxm = Edit(p, "edtRyxm", 50);
    edtZggh = Edit(p, "edtZggh", 50);
    edtSfzh = Edit(p, "edtSfzh", 18);
    cbZzzk = Combo(p, "cbZzzk", EmploymentStates);
    rbM = Radio(p, "rbM", QStringLiteral("男"));
    rbF = Radio(p, "rbF", QStringLiteral("女"));
    rbYes = Radio(p, "rbYes", QStringLiteral("是"));
    rbNo = Radio(p, "rbNo", QStringLiteral("否"));
    auto *sexGroup = new QButtonGroup(this);
    sexGroup->addButton(rbM);
    sexGroup->addButton(rbF);
    auto *marriageGroup = new QButtonGroup(this);
    marriageGroup->addButton(rbYes);
    marriageGroup->addButton(rbNo);
    auto *sexBox = new QWidget(p);
    auto *sexRow = new QHBoxLayout(sexBox);
    sexRow->setContentsMargins(0, 0, 0, 0);
    sexRow->addWidget(rbM);
    sexRow->addWidget(rbF);
    auto *marriageBox = new QWidget(p);
    auto *marriageRow = new QHBoxLayout(marriageBox);
    marriageRow->setContentsMargins(0, 0, 0, 0);
    marriageRow->addWidget(rbYes);
    marriageRow->addWidget(rbNo);
    edtJg = Edit(p, "edtJg", 10);
    edtMz = Edit(p, "edtMz", 10);
    edtZzmm = Edit(p, "edtZzmm", 10);
    edtZw = Edit(p, "edtZw", 20);
    edtShbzh = Edit(p, "edtShbzh", 30);
    edtLxdh = Edit(p, "edtLxdh", 20);
    dtpCjgzsj = DateBox(p, "dtpCjgzsj");
    dtpLbqysj = DateBox(p, "dtpLbqysj");
    dtpTxsj = DateBox(p, "dtpTxsj");
    cbXl = Combo(p, "cbXl");
    edtXw = Edit(p, "edtXw", 20);
    cbZc = Combo(p, "cbZc");
    edtZy = Edit(p, "edtZy", 50);
    cbZcdj = Combo(p, "cbZcdj");
    cbGj = Combo(p, "cbGj");
    edtTxdz = Edit(p, "edtTxdz", 50);
    edtByyx = Edit(p, "edtByyx", 50);
    cbRylx = Combo(p, "cbRylx");
    cbGlrylx = Combo(p, "cbGlrylx");
    edtDlzh = Edit(p, "edtDlzh", 20);
    edtDlmm = Edit(p, "edtDlmm", 20);
    edtQrmm = Edit(p, "edtQrmm", 20);
    edtDlmm->setEchoMode(QLineEdit::Password);
    edtQrmm->setEchoMode(QLineEdit::Password);
    cbZyzl = Combo(p, "cbZyzl");
    cbJndj = Combo(p, "cbJndj");
    cbSfjzpxy = Check(p, "cbSfjzpxy", QStringLiteral("兼职培训员"));
    cbSfjxjyry = Check(p, "cbSfjxjyry", QStringLiteral("继续教育人员"));
    cbSfkpsczgj = Check(p, "cbSfkpsczgj", QStringLiteral("可评审初中高级"));
    cbSftkgly = Check(p, "cbSftkgly", QStringLiteral("题库管理员"));
    cbGw = Combo(p, "cbGw");
    cbPxyjb = Combo(p, "cbPxyjb", TrainerGrades);
    cbPxyjb->setToolTip(QStringLiteral("系统管理员，公司领导才能设置培训员级别"));
    dtpKypssj = DateBox(p, "dtpKypssj");
    dtpJdsj = DateBox(p, "dtpJdsj");
    cbJs = Combo(p, "cbJs");

    int r = 0;
    Cell(g, r, 0, QStringLiteral("姓    名"), edtRyxm);
    Cell(g, r, 1, QStringLiteral("职工工号"), edtZggh);
    Cell(g, r++, 2, QStringLiteral("身份证号"), edtSfzh);
    Cell(g, r, 0, QStringLiteral("在职情况"), cbZzzk);
    Cell(g, r, 1, QStringLiteral("性    别"), sexBox);
    Cell(g, r++, 2, QStringLiteral("婚    否"), marriageBox);
    Cell(g, r, 0, QStringLiteral("籍    贯"), edtJg);
    Cell(g, r, 1, QStringLiteral("民    族"), edtMz);
    Cell(g, r++, 2, QStringLiteral("政治面貌"), edtZzmm);
    Cell(g, r, 0, QStringLiteral("职    务"), edtZw);
    Cell(g, r, 1, QStringLiteral("社保号码"), edtShbzh);
    Cell(g, r++, 2, QStringLiteral("联系电话"), edtLxdh);
    Cell(g, r, 0, QStringLiteral("参加工作时间"), dtpCjgzsj);
    Cell(g, r, 1, QStringLiteral("入本企业时间"), dtpLbqysj);
    Cell(g, r++, 2, QStringLiteral("退休时间"), dtpTxsj);
    Cell(g, r, 0, QStringLiteral("学    历"), cbXl);
    Cell(g, r, 1, QStringLiteral("学    位"), edtXw);
    Cell(g, r++, 2, QStringLiteral("职    称"), cbZc);
    Cell(g, r, 0, QStringLiteral("专    业"), edtZy);
    Cell(g, r, 1, QStringLiteral("职称等级"), cbZcdj);
    Cell(g, r++, 2, QStringLiteral("岗    级"), cbGj);
    Cell(g, r, 0, QStringLiteral("通讯地址"), edtTxdz);
    Cell(g, r, 1, QStringLiteral("毕业院校"), edtByyx);
    Cell(g, r++, 2, QStringLiteral("人员类型"), cbRylx);
    Cell(g, r, 0, QStringLiteral("管理人员类型"), cbGlrylx);
    Cell(g, r, 1, QStringLiteral("工    种"), cbZyzl);
    Cell(g, r++, 2, QStringLiteral("技能等级"), cbJndj);
    Cell(g, r, 0, QStringLiteral("登录帐号"), edtDlzh);
    Cell(g, r, 1, QStringLiteral("登录密码"), edtDlmm);
    Cell(g, r++, 2, QStringLiteral("确认密码"), edtQrmm);
    Cell(g, r, 0, QStringLiteral("岗    位"), cbGw);
    Cell(g, r, 1, QStringLiteral("培训员级别"), cbPxyjb);
    Cell(g, r++, 2, QStringLiteral("角    色"), cbJs);
    Cell(g, r, 0, QStringLiteral("可以评审时间"), dtpKypssj);
    Cell(g, r++, 1, QStringLiteral("鉴定时间"), dtpJdsj);
    auto *flags = new QHBoxLayout;
    for (QCheckBox *c : {cbSfjzpxy, cbSfjxjyry, cbSfkpsczgj, cbSftkgly})
        flags->addWidget(c);
    flags->addStretch();
    g->addLayout(flags, r++, 1, 1, 5);
    g->setRowStretch(r, 1);

    auto *photoCol = new QVBoxLayout;
    imgZp = Named(new PictureBox(p), "imgZp");
    imgZp->setFixedSize(150, 190);
    imgZp->setFrameShape(QFrame::Box);
    imgZp->setToolTip(QStringLiteral("右键添加或清除照片"));
    imgZp->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *actAddPhoto = Named(new QAction(QStringLiteral("添加照片"), imgZp), "actAddPhoto");
    auto *actClearPhoto = Named(new QAction(QStringLiteral("清除照片"), imgZp), "actClearPhoto");
    imgZp->addAction(actAddPhoto);
    imgZp->addAction(actClearPhoto);
    connect(actAddPhoto, &QAction::triggered, this, &TfrmRy::AddPhoto);
    connect(actClearPhoto, &QAction::triggered, this, &TfrmRy::ClearPhoto);
    photoCol->addWidget(imgZp);
    photoCol->addStretch();
    detailRow->addLayout(photoCol);
    pcRy->addTab(tsDetail, QStringLiteral("人员档案详情"));

    auto *btnRow = new QHBoxLayout;
    btnRow->addStretch();
    const CycleButtons ry = AddCycleButtons(btnRow, right);
    btnPre = Button(right, "btnPre", QStringLiteral("上一条"));
    btnNex = Button(right, "btnNex", QStringLiteral("下一条"));
    btnRow->addWidget(btnPre);
    btnRow->addWidget(btnNex);
    rightCol->addLayout(btnRow);

    m_cycle = new TEditCycle(cdsRy, QStringLiteral("ry"), QStringLiteral("rylsh"), this);
    m_cycle->setFirstEdit(edtDlzh);
    m_cycle->setMessages({QStringLiteral("保存人员信息成功！"), kSaveFailed,
                          QStringLiteral("确认要删除该人员信息吗？"),
                          QStringLiteral("删除人员信息出现异常！原因：")});
    m_cycle->onRowChange = [this] { personChange(); };
    m_cycle->validate = [this] { return validate(); };
    m_cycle->writeRow = [this] { return writeRow(); };
    m_cycle->afterApply = [this](QString &error) { return savePhoto(error); };
    // Two persons may both be without an account: an empty account is never a duplicate.
    m_cycle->setUniqueCheck(
        [this] { return edtDlzh->text().trimmed(); },
        [](const QString &account) {
            return account.isEmpty()
                       ? QStringLiteral("select dlzh from ry where 1 = 0")
                       : QStringLiteral("select dlzh from ry where dlzh = ") + QuotedStr(account);
        },
        [this](const QString &old) { edtDlzh->setText(old); }, QStringLiteral("该帐号己存在，请重新输入！"));

    cdsZzjg->setAfterScroll([this] { deptChange(); });
    connect(ry.add, &QPushButton::clicked, this, [this] {
        pcRy->setCurrentIndex(1);
        m_cycle->add();
    });
    connect(ry.del, &QPushButton::clicked, m_cycle, &TEditCycle::remove);
    connect(ry.cancel, &QPushButton::clicked, m_cycle, &TEditCycle::cancel);
    connect(ry.save, &QPushButton::clicked, this, &TfrmRy::save);
    connect(btnPre, &QPushButton::clicked, this, &TfrmRy::btnPreClick);
    connect(btnNex, &QPushButton::clicked, this, &TfrmRy::btnNexClick);
}

TfrmRy::~TfrmRy()
{
    cdsZzjg->setAfterScroll({});
}

void TfrmRy::FormShow()
{
    ClientDataSet *scratch = dmCommon() ? dmCommon()->cdsCommon : nullptr;
    ClientDataSet local;
    if (!scratch)
        scratch = &local;
    FillCombo(QStringLiteral("select * from zyzl"), scratch, &m_zyzlKeys, QStringLiteral("zyzllsh"), cbZyzl,
              QStringLiteral("zyzlmc"));
    FillCombo(QStringLiteral("select * from js"), scratch, &m_jsKeys, QStringLiteral("jslsh"), cbJs,
              QStringLiteral("jsmc"));
    FillCombo(QStringLiteral("select * from zc"), scratch, &m_zcKeys, QStringLiteral("zclsh"), cbZc,
              QStringLiteral("zcmc"));
    FillCombo(QStringLiteral("select * from xl order by xllsh"), scratch, &m_xlKeys, QStringLiteral("xllsh"),
              cbXl, QStringLiteral("xlmc"));
    FillCombo(QStringLiteral("select * from zcdj order by zcdjlsh"), scratch, &m_zcdjKeys,
              QStringLiteral("zcdjlsh"), cbZcdj, QStringLiteral("zcdjmc"));
    FillCombo(QStringLiteral("select * from gj order by gjlsh"), scratch, &m_gjKeys, QStringLiteral("gjlsh"),
              cbGj, QStringLiteral("gjmc"));
    FillCombo(QStringLiteral("select * from rylx order by rylxlsh"), scratch, &m_rylxKeys,
              QStringLiteral("rylxlsh"), cbRylx, QStringLiteral("rylxmc"));
    FillCombo(QStringLiteral("select * from glrylx order by glrylxlsh"), scratch, &m_glrylxKeys,
              QStringLiteral("glrylxlsh"), cbGlrylx, QStringLiteral("glrylxmc"));
    FillCombo(QStringLiteral("select * from jndj order by jndjlsh"), scratch, &m_jndjKeys,
              QStringLiteral("jndjlsh"), cbJndj, QStringLiteral("jndjmc"));

    QStringList education;
    for (int i = 0; i < cbXl->count(); ++i)
        education << cbXl->itemText(i);
    dbgRy->clearColumns();
    dbgRy->addRowNumberColumn();
    dbgRy->addColumn(QStringLiteral("ryxm"), QStringLiteral("姓名"), 80);
    dbgRy->addColumn(QStringLiteral("zggh"), QStringLiteral("职工工号"), 80);
    dbgRy->addColumn(QStringLiteral("sfzh"), QStringLiteral("身份证号"), 150);
    dbgRy->addColumn(QStringLiteral("zw"), QStringLiteral("职务"), 90);
    dbgRy->addListColumn(QStringLiteral("xllsh"), QStringLiteral("学历"), education, 80);
    dbgRy->addListColumn(QStringLiteral("zzqklsh"), QStringLiteral("在职状况"), EmploymentStates, 80);
    const QHash<QString, QString> yesNo{{QStringLiteral("1"), QStringLiteral("是")},
                                        {QStringLiteral("0"), QStringLiteral("否")},
                                        {QString(), QStringLiteral("否")}};
    dbgRy->addLookupColumn(QStringLiteral("sftkgly"), QStringLiteral("题库管理员"), yesNo, 80);
    dbgRy->addLookupColumn(QStringLiteral("sfjzpxy"), QStringLiteral("兼职培训员"), yesNo, 80);

    {
        ClientDataSet::ScrollGuard guard(cdsZzjg);
        OpenSql(QStringLiteral("select * from bm order by sfsczz, jb, xssx"), cdsZzjg);
    }
    ExpandAllNodes(dtlZzjg);
    if (!cdsZzjg->isEmpty()) {
        ClientDataSet::ScrollGuard guard(cdsZzjg);
        dtlZzjg->selectKey(cdsZzjg->value(QStringLiteral("bmlsh")));
    }
    deptChange();
}

void TfrmRy::deptChange()
{
    if (cdsZzjg->isEmpty() || cdsZzjg->isNull(QStringLiteral("bmlsh"))) {
        cbGw->clear();
        m_gwKeys.clear();
        if (cdsRy->isActive())
            m_cycle->clear();
        else
            personChange();
        return;
    }
    const QString dept = QString::number(cdsZzjg->asInt(QStringLiteral("bmlsh")));
    ClientDataSet posts;
    FillCombo(QStringLiteral("select * from gw where bmlsh = ") + dept, &posts, &m_gwKeys,
              QStringLiteral("gwlsh"), cbGw, QStringLiteral("gwmc"));
    m_cycle->open(QStringLiteral("select * from ry a where bmlsh = ") + dept);
}

void TfrmRy::personChange()
{
    auto text = [this](const char *column) { return cdsRy->asString(QLatin1String(column)); };
    auto date = [this](const char *column) {
        return cdsRy->isNull(QLatin1String(column)) ? QDate()
                                                    : cdsRy->asDateTime(QLatin1String(column)).date();
    };
    edtRyxm->setText(text("ryxm"));
    edtZggh->setText(text("zggh"));
    edtSfzh->setText(text("sfzh"));
    SelectPosition(cbZzzk, text("zzqklsh"));
    (text("xb") == QLatin1String("1") ? rbM : rbF)->setChecked(true);
    (text("hf") == QLatin1String("1") ? rbYes : rbNo)->setChecked(true);
    edtJg->setText(text("jg"));
    edtMz->setText(text("mz"));
    edtZzmm->setText(text("zzmm"));
    edtZw->setText(text("zw"));
    edtShbzh->setText(text("shbzh"));
    edtLxdh->setText(text("lxdh"));
    // An empty date column shows an empty box, not the previous person's date.
    dtpCjgzsj->setValue(date("cjgzsj"));
    dtpLbqysj->setValue(date("lbqysj"));
    dtpTxsj->setValue(date("txsj"));
    SelectPosition(cbXl, text("xllsh"));
    edtXw->setText(text("xw"));
    SelectPosition(cbZc, text("zclsh"));
    edtZy->setText(text("zy"));
    SelectPosition(cbZcdj, text("zcdjlsh"));
    SelectPosition(cbGj, text("gjlsh"));
    edtTxdz->setText(text("txdz"));
    edtByyx->setText(text("byyx"));
    SelectPosition(cbRylx, text("rylxlsh"));
    SelectPosition(cbGlrylx, text("glrylxlsh"));
    edtDlzh->setText(text("dlzh"));
    SelectKey(cbZyzl, m_zyzlKeys, text("zyzllsh"));
    SelectPosition(cbJndj, text("jndjlsh"));
    cbSfjzpxy->setChecked(text("sfjzpxy") == QLatin1String("1"));
    cbSfjxjyry->setChecked(text("sfjxjyry") == QLatin1String("1"));
    cbSfkpsczgj->setChecked(text("sfkpsczgj") == QLatin1String("1"));
    cbSftkgly->setChecked(text("sftkgly") == QLatin1String("1"));
    SelectKey(cbGw, m_gwKeys, text("gwlsh"));
    SelectPosition(cbPxyjb, text("pxyjb"));
    dtpKypssj->setValue(date("kypssj"));
    dtpJdsj->setValue(date("jdsj"));
    SelectKey(cbJs, m_jsKeys, text("jslsh"));
    const QString password = TAssistor::DecodePassword(text("dlmm"));
    edtDlmm->setText(password);
    edtQrmm->setText(password);
    loadPhoto();
    updateMoveButtons();
}

void TfrmRy::loadPhoto()
{
    imgZp->clearPicture();
    imgZp->setPictureChanged(false);
    if (cdsRy->isEmpty() || cdsRy->isNull(QStringLiteral("rylsh")))
        return;
    ClientDataSet photo;
    if (!OpenSql(
            QStringLiteral("select * from ryzp where rylsh = %1").arg(cdsRy->asInt(QStringLiteral("rylsh"))),
            &photo) ||
        photo.isEmpty())
        return;
    // The picture goes through a file of the user's temporary folder (the program folder may be
    // read-only and is shared by every user); the file is removed when it goes out of scope.
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/lumora_ryzp_XXXXXX.jpg"));
    if (!file.open())
        return;
    const QByteArray bytes = photo.asBytes(QStringLiteral("zp"));
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    if (written && bytes.size() > 10)
        LoadPictureFile(imgZp, file.fileName());
    imgZp->setPictureChanged(false);
}

void TfrmRy::updateMoveButtons()
{
    const int at = cdsRy->recNo();
    btnPre->setEnabled(at > 1);
    btnNex->setEnabled(at > 0 && at < cdsRy->recordCount());
}

void TfrmRy::btnPreClick()
{
    if (cdsRy->recNo() > 1)
        cdsRy->prior();
    updateMoveButtons();
}

void TfrmRy::btnNexClick()
{
    if (cdsRy->recNo() < cdsRy->recordCount())
        cdsRy->next();
    updateMoveButtons();
}

bool TfrmRy::validate()
{
    if (!FormUi::RequireText(edtRyxm, QStringLiteral("人员姓名不能为空，请重新输入！")))
        return false;
    if (edtDlmm->text().trimmed() != edtQrmm->text().trimmed()) {
        ShowInfo(QStringLiteral("两次输入的密码不一致，请重新输入！"));
        edtQrmm->setFocus();
        return false;
    }
    // A person without a department would be listed nowhere.
    if (cdsZzjg->isEmpty() || cdsZzjg->isNull(QStringLiteral("bmlsh"))) {
        ShowInfo(QStringLiteral("请先在组织机构中选择人员所在的部门！"));
        return false;
    }
    return true;
}

bool TfrmRy::writeRow()
{
    auto setText = [this](const char *column, QLineEdit *edit) {
        cdsRy->setValue(QLatin1String(column), edit->text().trimmed());
    };
    // A box with no entry chosen leaves its column as it was.
    auto setPosition = [this](const char *column, QComboBox *box) {
        if (box->currentIndex() >= 0)
            cdsRy->setValue(QLatin1String(column), box->currentIndex() + 1);
    };
    auto setKey = [this](const char *column, QComboBox *box, const QStringList &keys) {
        const int at = box->currentIndex();
        if (at >= 0 && at < keys.size())
            cdsRy->setValue(QLatin1String(column), keys[at]);
    };
    auto setFlag = [this](const char *column, bool on) {
        cdsRy->setValue(QLatin1String(column), on ? QStringLiteral("1") : QStringLiteral("0"));
    };
    // A date is written only when the box holds one: an untouched empty box keeps the column empty.
    auto setDate = [this](const char *column, const TDateBox *box) {
        cdsRy->setValue(QLatin1String(column),
                        box->isEmpty() ? QVariant() : QVariant(box->value().startOfDay()));
    };

    cdsRy->setValue(QStringLiteral("bmlsh"), cdsZzjg->asInt(QStringLiteral("bmlsh")));
    setText("ryxm", edtRyxm);
    setText("zggh", edtZggh);
    setText("sfzh", edtSfzh);
    setPosition("zzqklsh", cbZzzk);
    setFlag("xb", rbM->isChecked());
    setFlag("hf", rbYes->isChecked());
    setText("jg", edtJg);
    setText("mz", edtMz);
    setText("zzmm", edtZzmm);
    setText("zw", edtZw);
    setText("shbzh", edtShbzh);
    setText("lxdh", edtLxdh);
    setDate("cjgzsj", dtpCjgzsj);
    setDate("lbqysj", dtpLbqysj);
    setDate("txsj", dtpTxsj);
    setPosition("xllsh", cbXl);
    setText("xw", edtXw);
    setPosition("zclsh", cbZc);
    setText("zy", edtZy);
    setPosition("zcdjlsh", cbZcdj);
    setPosition("gjlsh", cbGj);
    setText("txdz", edtTxdz);
    setText("byyx", edtByyx);
    setPosition("rylxlsh", cbRylx);
    if (cbRylx->currentIndex() == 0)
        setPosition("glrylxlsh", cbGlrylx);
    setText("dlzh", edtDlzh);
    cdsRy->setValue(QStringLiteral("dlmm"), TAssistor::EncodePassword(edtDlmm->text().trimmed()));
    setKey("zyzllsh", cbZyzl, m_zyzlKeys);
    setPosition("jndjlsh", cbJndj);
    setFlag("sfjzpxy", cbSfjzpxy->isChecked());
    setFlag("sfjxjyry", cbSfjxjyry->isChecked());
    setFlag("sfkpsczgj", cbSfkpsczgj->isChecked());
    setFlag("sftkgly", cbSftkgly->isChecked());
    setKey("gwlsh", cbGw, m_gwKeys);
    setPosition("pxyjb", cbPxyjb);
    setDate("kypssj", dtpKypssj);
    setDate("jdsj", dtpJdsj);
    setKey("jslsh", cbJs, m_jsKeys);
    return true;
}

void TfrmRy::save()
{
    m_cycle->save();
    m_cycle->setMessages({QStringLiteral("保存人员信息成功！"), kSaveFailed,
                          QStringLiteral("确认要删除该人员信息吗？"),
                          QStringLiteral("删除人员信息出现异常！原因：")});
}

bool TfrmRy::savePhoto(QString &error)
{
    if (!imgZp->hasPicture() || !imgZp->isPictureChanged())
        return true;
    const int person = cdsRy->asInt(QStringLiteral("rylsh"));
    const QString sql = QStringLiteral("select * from ryzp where rylsh = %1").arg(person);
    ClientDataSet photo;
    bool ok = OpenSql(sql, &photo);
    if (ok) {
        if (photo.isEmpty())
            photo.append();
        else
            photo.edit();
        photo.setValue(QStringLiteral("rylsh"), person);
        photo.setValue(QStringLiteral("zp"), imgZp->pictureBytes());
        photo.post();
        ok = ApplyDelta(sql, &photo, error);
    } else {
        error = QStringLiteral("读取照片失败");
    }
    if (ok) {
        imgZp->setPictureChanged(false);
        return true;
    }
    // The person row is saved already; only the photo failed, and the message says so.
    m_cycle->setMessages({QStringLiteral("保存人员信息成功！"), kPhotoSaveFailed,
                          QStringLiteral("确认要删除该人员信息吗？"),
                          QStringLiteral("删除人员信息出现异常！原因：")});
    return false;
}

void TfrmRy::AddPhoto()
{
    const QString file = Dialogs::instance().getOpenFileName(
        this, QStringLiteral("添加照片"), QString(),
        QStringLiteral("JPEG Image File (*.jpg);;JPEG Image File (*.jpeg);;Bitmap Image File (*.bmp)"));
    if (file.isEmpty())
        return;
    if (!FileSizeWithin(file, 2)) {
        ShowInfo(QStringLiteral("文件大于2M，请将文件缩小处理后上传！"));
        return;
    }
    imgZp->clearPicture();
    if (!LoadPictureFile(imgZp, file)) {
        imgZp->clearPicture();
        ShowInfo(QStringLiteral("图片错误，请重新上传正确的图片！"));
        return;
    }
    imgZp->setPictureChanged(true);
}

void TfrmRy::ClearPhoto()
{
    imgZp->clearPicture();
    imgZp->setPictureChanged(false);
}
