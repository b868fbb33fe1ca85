#pragma once

#include "data/Dialect.h"

#include <QList>
#include <QString>
#include <QStringList>

// The tables of the database, with the column kinds the program relies on. The DDL of every engine is
// generated from this one description (the SQL Server script in src/data/schema/sqlserver.sql is its
// output, kept in the repository for administrators who set up a server by hand).
namespace Schema {

enum class Kind { Integer, Text, Memo, Number, DateTime, Blob };

struct Column
{
    QString name;
    Kind kind;
    int length = 0; // Text only
};

struct Table
{
    QString name;
    QList<Column> columns;
    QString key; // serial-number (or code) key column; empty for relation tables without one

    const Column *column(const QString &name) const;
};

// Every table, in creation order.
const QList<Table> &tables();
// A table by name (case-insensitive), nullptr when the program does not know it.
const Table *findTable(const QString &name);

// CREATE TABLE and CREATE INDEX statements for an engine, one statement per entry.
QStringList createStatements(DbEngine engine);
// DROP TABLE statements for every table the program knows (used by a forced re-initialisation).
QStringList dropStatements(DbEngine engine);
// The complete SQL Server script (statements separated by GO lines).
QString sqlServerScript();

} // namespace Schema
