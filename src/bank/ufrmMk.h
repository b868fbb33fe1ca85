#pragma once

#include "app/uSubForm.h"

#include <QList>
#include <QWidget>

class ClientDataSet;
class DataGrid;
class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class TEditCycle;

// 模块管理: the modules of a subject and, for each module, the subjects it belongs to (a module may
// belong to subjects of any trade).
class TfrmMk : public TSubForm
{
    Q_OBJECT
public:
    explicit TfrmMk(QWidget *parent = nullptr);
    ~TfrmMk() override;

    TEditCycle *cycle() const { return m_cycle; }
    int tradeKey() const;
    // Subject keys of the entries of the list box 所属科目编码, in its order.
    QList<int> subjectKeys() const { return m_kmKeys; }

public slots:
    void FormShow() override;
    void filterChange();
    void N1Click(); // 新增所属科目编码
    void N2Click(); // 删除所属科目编码
    bool btnDelClick();

protected:
private:
    void subjectRowChange();
    void moduleRowChange();
    bool validate();
    bool writeRow();
    bool writeRelation(QString &error);
    int currentSubjectKey() const;

    ClientDataSet *cdsKm;
    ClientDataSet *cdsMk;
    QComboBox *cbZyzl, *cbDj;
    DataGrid *dbgKm, *dbgMk;
    QLineEdit *edtMkbm, *edtMkmc;
    QListWidget *lbKmmkgx;
    QWidget *pnlBtn;
    QStringList m_zyzlKeys;
    QList<int> m_kmKeys;
    TEditCycle *m_cycle;
};
