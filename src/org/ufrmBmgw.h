#pragma once

#include "app/uSubForm.h"

#include <QVariant>
#include <QWidget>

class ClientDataSet;
class DataGrid;
class DataTree;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;
class TEditCycle;

// 部门岗位: the department tree with the parent picker, and the posts of the current department.
class TfrmBmgw : public TSubForm
{
    Q_OBJECT
public:
    explicit TfrmBmgw(QWidget *parent = nullptr);
    ~TfrmBmgw() override;

    static const QString DeptListSql;

    TEditCycle *deptCycle() const { return m_deptCycle; }
    TEditCycle *postCycle() const { return m_postCycle; }
    QVariant parentKey() const { return m_parentKey; }

public slots:
    void FormShow() override;
    void ShowPicker();
    void btnOKClick();   // the picked department becomes the parent
    void btnExitClick(); // the picker closes without a change

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void deptChange();
    bool deptValidate();
    bool deptWrite();
    void deptSaved();
    bool relevelBelow(QString &error);
    void postChange();
    bool postValidate();
    bool postWrite();
    void reloadPicker();
    void updateTypeColumn();

    ClientDataSet *cdsBm;
    ClientDataSet *cdsBmxz;
    ClientDataSet *cdsGw;
    DataTree *dtlBm;
    QLineEdit *edtBmdm, *edtBmmc, *edtSjbm, *edtXssx;
    QCheckBox *cbSfsczz;
    QPlainTextEdit *memBmms;
    QWidget *pnlBmxz;
    DataTree *dtlBmxz;
    DataGrid *dbgGw;
    QLineEdit *edtGwmc, *edtGwdm, *edtGwxz, *edtXssxGw;
    QPlainTextEdit *memGwms;
    TEditCycle *m_deptCycle;
    TEditCycle *m_postCycle;
    QVariant m_parentKey; // invalid: no parent
    int m_parentLevel = -1;
};
