#pragma once

#include "data/Dialect.h"

#include <QString>
#include <QStringList>

class TdmMain;

// Creating a database: the tables of Schema and the reference rows every installation starts with.
namespace DatabaseSetup {

// The password the administrator account "admin" gets in a new database (change it after the first
// login through 修改密码).
inline const QString kInitialAdminPassword = QStringLiteral("admin");

// Tables of the program that already exist in the database.
QStringList existingTables(TdmMain &dm);

// Creates the tables and the reference rows in one transaction. A database that already holds any of
// the program's tables is refused unless force is set, which drops those tables first (their rows are
// lost). Returns false with the reason in error.
bool createDatabase(TdmMain &dm, bool force, QString &error);

// INSERT statements of the reference rows: levels, categories, question types, difficulties, personnel
// lookups, employment status, the function menu, the role 系统管理员 with every menu entry and the
// account admin.
QStringList referenceStatements(DbEngine engine);

} // namespace DatabaseSetup
