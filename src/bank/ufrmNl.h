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
class TEditCycle;

// 能力管理: a trade's ability categories, the items of a category and the description of an item per
// level, as three linked lists, plus the flat list of all the trade's abilities.
class TfrmNl : public TSubForm
{
    Q_OBJECT
public:
    explicit TfrmNl(QWidget *parent = nullptr);
    ~TfrmNl() override;

    int tradeKey() const;
    TEditCycle *categories() const { return m_nlzl; }
    TEditCycle *items() const { return m_nlx; }
    TEditCycle *descriptions() const { return m_nlms; }

public slots:
    void FormShow() override;
    void cbZyzlChange();
    void btnShowAllClick();

protected:
private:
    void setupCategories();
    void setupItems();
    void setupDescriptions();
    void categoryRowChange();
    void itemRowChange();
    void descriptionRowChange();

    ClientDataSet *cdsNlzl, *cdsNlx, *cdsNlms, *cdsAll;
    QComboBox *cbZyzl, *cbDj;
    DataGrid *dbgNlzl, *dbgNlx, *dbgNlxms, *dbgAll;
    QLineEdit *edtNlzlxh, *edtNlzlmc, *edtNlxbh, *edtNlxmc;
    QPlainTextEdit *memNlms;
    QPushButton *btnShowAll;
    QWidget *pnlMain, *pnlBtn;
    QStackedLayout *m_pages;
    QStringList m_zyzlKeys;
    TEditCycle *m_nlzl, *m_nlx, *m_nlms;
};
