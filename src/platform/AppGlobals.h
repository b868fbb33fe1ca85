#pragma once

#include <QString>

// Process-wide values every part of the program reads. They live for the whole run and are touched
// only on the user-interface thread.

// Program folder: the directory of the executable, with a trailing separator. The only base for
// relative files; the current directory is never used.
extern QString AppPath;
// AppPath + "Res/".
extern QString ResPath;
// Database type from Config.ini: 0 and 1 SQL Server, 2 the embedded SQLite file, 3 PostgreSQL.
extern int DBType;
// Address of the database server; ignored for the embedded database.
extern QString ServerIP;
// Subject preselected in the login dialog's subject box.
extern QString DefaultSubject;
// Text of the last database error handed back by ExecSql and ApplyDelta.
extern QString LastErrorText;

// The database types the program knows.
enum DbTypes : int {
    DbSqlServer = 0,
    DbSqlServerNamed = 1,
    DbEmbedded = 2,
    DbPostgres = 3,
};

// Folder of the running executable with a trailing '/'.
QString GetAppPath();

// Sets AppPath and ResPath from a folder (tests point them at a temporary folder).
void SetAppPath(const QString &folder);

// Whether a DBType value is one the program can connect with.
bool IsKnownDbType(int type);
