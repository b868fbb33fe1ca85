#pragma once

#include <QDialog>
#include <QStringList>

class ClientDataSet;
class DataGrid;
class QComboBox;

// 选择科目编码: picks one subject of a trade and level. The caller runs FormShow(), then the dialog
// through the Dialogs service, and on OK reads the current row of cdsKm (kmlsh, kmmc) and the text of
// cbZyzl.
class TfrmXzkmbm : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmXzkmbm(QWidget *parent = nullptr);
    ~TfrmXzkmbm() override;

    ClientDataSet *cdsKm;
    QComboBox *cbZyzl;

public slots:
    void FormShow();
    void cbZyzlChange();
    void btnOKClick();

private:
    QComboBox *cbDj;
    DataGrid *dbgKm;
    QStringList m_zyzlKeys;
};
