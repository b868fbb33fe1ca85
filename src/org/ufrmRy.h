#pragma once

#include "app/uSubForm.h"

#include <QStringList>
#include <QWidget>

class ClientDataSet;
class DataGrid;
class DataTree;
class PictureBox;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TDateBox;
class TEditCycle;

// 人员管理: the persons of the department chosen in the tree, with their detail page and photo.
class TfrmRy : public TSubForm
{
    Q_OBJECT
public:
    explicit TfrmRy(QWidget *parent = nullptr);
    ~TfrmRy() override;

    static const QStringList EmploymentStates; // 在职情况
    static const QStringList TrainerGrades;    // 培训员级别

    TEditCycle *cycle() const { return m_cycle; }

public slots:
    void FormShow() override;
    void btnPreClick();
    void btnNexClick();
    void AddPhoto();   // 添加照片
    void ClearPhoto(); // 清除照片

protected:
private:
    void deptChange();
    void personChange();
    void loadPhoto();
    bool validate();
    bool writeRow();
    bool savePhoto(QString &error);
    void save();
    void updateMoveButtons();

    ClientDataSet *cdsZzjg;
    ClientDataSet *cdsRy;
    DataTree *dtlZzjg;
    QTabWidget *pcRy;
    DataGrid *dbgRy;
    QLineEdit *edtRyxm, *edtZggh, *edtSfzh, *edtJg, *edtMz, *edtZzmm, *edtZw, *edtShbzh, *edtLxdh, *edtXw,
        *edtZy, *edtTxdz, *edtByyx, *edtDlzh, *edtDlmm, *edtQrmm;
    QComboBox *cbZzzk, *cbXl, *cbZc, *cbZcdj, *cbGj, *cbRylx, *cbGlrylx, *cbZyzl, *cbJndj, *cbGw, *cbPxyjb,
        *cbJs;
    QRadioButton *rbM, *rbF, *rbYes, *rbNo;
    QCheckBox *cbSfjzpxy, *cbSfjxjyry, *cbSfkpsczgj, *cbSftkgly;
    TDateBox *dtpCjgzsj, *dtpLbqysj, *dtpTxsj, *dtpKypssj, *dtpJdsj;
    PictureBox *imgZp;
    QPushButton *btnPre, *btnNex;
    TEditCycle *m_cycle;
    // Keys parallel to the entries of the lookup boxes.
    QStringList m_zyzlKeys, m_gwKeys, m_jsKeys, m_zcKeys, m_xlKeys, m_zcdjKeys, m_gjKeys, m_rylxKeys,
        m_glrylxKeys, m_jndjKeys;
};
