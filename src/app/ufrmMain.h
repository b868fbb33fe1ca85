#pragma once

#include <QMainWindow>

// The main window. Until the login and the function menu are in place it shows the database the
// program was started on.
class TfrmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
};
