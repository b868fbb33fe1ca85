#pragma once

#include <QString>

// The identity of the logged-in user, filled by the login dialog. One instance lives from the login
// until the main window is destroyed: CurrentLogin() (nullptr before the login dialog was created).
struct TLogin
{
    int rylsh = 0;   // person's serial number (ry.rylsh)
    QString dlzh;    // account as typed, trimmed; "admin" exactly is the administrator
    QString mm;      // password as typed, trimmed
    QString ryxm;    // person's name
    QString dwmc;    // organisation shown in the login dialog
    int zyzllsh = 0; // trade of the person
    QString sftkgly; // question bank administrator flag

    bool isAdmin() const { return dlzh == QLatin1String("admin"); }
};

TLogin *CurrentLogin();
