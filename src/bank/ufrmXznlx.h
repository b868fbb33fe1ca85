#pragma once

#include <QDialog>

class ClientDataSet;
class DataGrid;

// 选择能力项: picks one item description of a trade at one level. The caller sets the trade and the
// level, calls FormShow(), runs the dialog through the Dialogs service and on OK reads
// cdsAll->value("nlxdjgxlsh") of the current row.
class TfrmXznlx : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmXznlx(QWidget *parent = nullptr);
    ~TfrmXznlx() override;

    int zyzllsh = 0;
    int djlsh = 0;
    ClientDataSet *cdsAll;

public slots:
    void FormShow();
    void btnConfirmClick();

private:
    DataGrid *dbgAll;
};
