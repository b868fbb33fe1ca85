#pragma once

#include "app/uSubForm.h"

#include <QSet>
#include <QWidget>

class CheckTree;
class ClientDataSet;
class DataGrid;
class QLineEdit;
class TEditCycle;

// 角色权限管理: the roles and the menu entries each role holds.
class TfrmJsqxgl : public TSubForm
{
    Q_OBJECT
public:
    explicit TfrmJsqxgl(QWidget *parent = nullptr);
    ~TfrmJsqxgl() override;

    TEditCycle *cycle() const { return m_cycle; }

public slots:
    void FormShow() override;
    void LoadUnassigned();
    void LoadAssigned();
    void btnAddqxClick(); // grant "<<"
    void btnDelqxClick(); // revoke ">>"

protected:
private:
    void rowChange();
    bool beforeDelete();
    int currentRole() const;

    ClientDataSet *cdsJs;
    ClientDataSet *cdsWfbqx; // entries the role may still get
    ClientDataSet *cdsYfbqx; // entries the role holds
    DataGrid *dbgJs;
    QLineEdit *edtJsmc;
    CheckTree *rctYfbqx;
    CheckTree *rctWfbqx;
    TEditCycle *m_cycle;
    QSet<QString> m_assigned; // codes the current role holds, for the grant step
    int m_deletingRole = 0;
};
