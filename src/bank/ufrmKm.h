#pragma once

#include "app/uSubForm.h"

#include <QStringList>
#include <QWidget>

class ClientDataSet;
class DataGrid;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedLayout;
class QWidget;
class TEditCycle;

// 科目管理: the subjects of a trade at one level and category, with the abilities each subject trains
// (the panel 对应能力项编码) and a read-only list of all the trade's subjects.
class TfrmKm : public TSubForm
{
    Q_OBJECT
public:
    explicit TfrmKm(QWidget *parent = nullptr);
    ~TfrmKm() override;

    TEditCycle *cycle() const { return m_cycle; }
    // Key of the chosen trade, 0 when none.
    int tradeKey() const;

public slots:
    void FormShow() override;
    void filterChange();
    void btnShowAllClick();
    void btnAddNlxClick();
    void btnDelNlxClick();

protected:
private:
    void rowChange();
    bool validate();
    bool writeRow();
    void loadAbilities();
    void abilityRowChange();

    ClientDataSet *cdsKm;
    ClientDataSet *cdsAllKm;
    ClientDataSet *cdsNlxbm;
    QComboBox *cbZyzl, *cbDj, *cbLb;
    QComboBox *cbKhfs, *cbPxfs, *cbDj1, *cbLb1;
    QLineEdit *edtKmbm, *edtKmmc, *edtPxxs;
    QLineEdit *edtNlzlmc, *edtNlxmc;
    QPlainTextEdit *memNlms;
    DataGrid *dbgKm, *dbgAllKm, *dbgNlx;
    QPushButton *btnShowAll;
    QWidget *pnlCenter, *pnlBtn;
    QStackedLayout *m_pages;
    QStringList m_zyzlKeys;
    TEditCycle *m_cycle;
};
