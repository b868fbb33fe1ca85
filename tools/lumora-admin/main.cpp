// lumora-admin: command-line set-up of a Lumora database.

#include "DemoData.h"

#include "data/DatabaseSetup.h"
#include "data/Schema.h"
#include "data/udmCommon.h"
#include "data/udmMain.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

namespace {

const char *const kUsage =
    "用法 / usage:\n"
    "  lumora-admin init-db FILE [--force]            create a SQLite database file with the schema and\n"
    "  lumora-admin init-db --pg CONNINFO [--force]   reference rows (PostgreSQL: libpq connection string)\n"
    "  lumora-admin demo-data FILE | --pg CONNINFO    add the demo organisation and data\n"
    "  lumora-admin schema-sql sqlite|postgres|sqlserver   print the DDL of an engine\n"
    "  lumora-admin reference-sql sqlite|postgres|sqlserver  print the reference rows\n"
    "  lumora-admin --help\n"
    "\n"
    "init-db refuses a database that already has Lumora tables unless --force is given (which drops\n"
    "them with their rows). The new database has the account admin with password admin.\n"
    "Example: lumora-admin init-db --pg \"host=localhost dbname=korvax user=lumora\"\n";

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "lumora-admin: %s\n", qPrintable(message));
    return 1;
}

int usageError(const QString &message)
{
    std::fprintf(stderr, "lumora-admin: %s\n\n%s", qPrintable(message), kUsage);
    return 2;
}

bool engineByName(const QString &name, DbEngine *engine)
{
    if (name == QLatin1String("sqlite"))
        *engine = DbEngine::Sqlite;
    else if (name == QLatin1String("postgres") || name == QLatin1String("pg"))
        *engine = DbEngine::Postgres;
    else if (name == QLatin1String("sqlserver"))
        *engine = DbEngine::SqlServer;
    else
        return false;
    return true;
}

struct Target
{
    DbEngine engine = DbEngine::Sqlite;
    QString where;
    bool force = false;
};

// FILE | --pg CONNINFO, with --force where allowed.
bool parseTarget(QStringList args, bool allowForce, Target *t, QString *error)
{
    if (allowForce && args.removeAll(QStringLiteral("--force")) > 0)
        t->force = true;
    if (args.size() == 2 && args[0] == QLatin1String("--pg")) {
        t->engine = DbEngine::Postgres;
        t->where = args[1];
    } else if (args.size() == 1 && !args[0].startsWith(QLatin1String("--"))) {
        t->engine = DbEngine::Sqlite;
        t->where = QFileInfo(args[0]).absoluteFilePath();
    } else {
        *error = args.isEmpty() ? QStringLiteral("no database given")
                                : QStringLiteral("unexpected arguments: ") + args.join(' ');
        return false;
    }
    if (t->where.trimmed().isEmpty()) {
        *error = QStringLiteral("empty database name");
        return false;
    }
    return true;
}

int initDb(const Target &t)
{
    auto dm = std::make_unique<TdmMain>(t.engine, t.where);
    dm->setShowErrors(false);
    if (!dm->isConnected())
        return fail(QStringLiteral("cannot open %1: %2").arg(t.where, dm->connectionError()));
    QString error;
    if (!DatabaseSetup::createDatabase(*dm, t.force, error))
        return fail(error);
    out() << "created " << Schema::tables().size() << " tables with reference rows in " << dm->target()
          << "\n";
    return 0;
}

int demoData(const Target &t)
{
    if (t.engine == DbEngine::Sqlite && !QFileInfo::exists(t.where))
        return fail(
            QStringLiteral("%1 does not exist; create it first: lumora-admin init-db %1").arg(t.where));
    auto dm = std::make_unique<TdmMain>(t.engine, t.where, nullptr, false);
    dm->setShowErrors(false);
    if (!dm->isConnected())
        return fail(QStringLiteral("cannot open %1: %2").arg(t.where, dm->connectionError()));
    TdmMain *raw = dm.get();
    if (DatabaseSetup::existingTables(*raw).size() != Schema::tables().size())
        return fail(QStringLiteral("%1 is not a complete Lumora database; run init-db first").arg(t.where));
    // Steps may use the shared routines, which work on the live modules.
    DataModuleScope scope(std::move(dm));
    for (const DemoStep *step : DemoStep::all()) {
        QString error;
        if (!step->run(*raw, error))
            return fail(QStringLiteral("demo step \"%1\" failed: %2").arg(step->name, error));
        out() << "demo: " << step->name << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        out() << kUsage;
        return 0;
    }
    if (command == QLatin1String("schema-sql") || command == QLatin1String("reference-sql")) {
        DbEngine engine;
        if (args.size() != 1 || !engineByName(args[0], &engine))
            return usageError(QStringLiteral("%1 needs one of: sqlite, postgres, sqlserver").arg(command));
        if (command == QLatin1String("schema-sql") && engine == DbEngine::SqlServer) {
            out() << Schema::sqlServerScript();
            return 0;
        }
        const QStringList stmts = command == QLatin1String("schema-sql")
                                      ? Schema::createStatements(engine)
                                      : DatabaseSetup::referenceStatements(engine);
        for (const QString &s : stmts)
            out() << s << (engine == DbEngine::SqlServer ? "\nGO\n" : ";\n");
        return 0;
    }
    Target t;
    QString error;
    if (command == QLatin1String("init-db")) {
        if (!parseTarget(args, true, &t, &error))
            return usageError(error);
        return initDb(t);
    }
    if (command == QLatin1String("demo-data")) {
        if (!parseTarget(args, false, &t, &error))
            return usageError(error);
        return demoData(t);
    }
    return usageError(QStringLiteral("unknown command: ") + command);
}
