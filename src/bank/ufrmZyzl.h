#pragma once

#include "app/uSubForm.h"

#include <QWidget>

class ClientDataSet;
class DataGrid;
class QComboBox;
class QLineEdit;
class QPushButton;
class TEditCycle;

// 工种管理: the trades, with their post type.
class TfrmZyzl : public TSubForm
{
    Q_OBJECT
public:
    explicit TfrmZyzl(QWidget *parent = nullptr);
    ~TfrmZyzl() override;

    TEditCycle *cycle() const { return m_cycle; }

public slots:
    void FormShow() override;

protected:
private:
    void rowChange();
    bool validate();
    bool writeRow();

    ClientDataSet *cdsZyzl;
    DataGrid *dbgZyzl;
    QLineEdit *edtZyzlmc;
    QComboBox *cbGwlx;
    TEditCycle *m_cycle;
};
