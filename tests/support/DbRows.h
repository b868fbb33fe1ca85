#pragma once

#include <QString>
#include <QStringList>

// Reading the database in tests: every row of a query as texts, columns joined by "|" (nulls as empty),
// and the first column of the first row.
QStringList DbRows(const QString &sql);
QString DbScalar(const QString &sql);
// Runs a statement; a failure fails the calling test through its return value.
bool DbExec(const QString &sql);
