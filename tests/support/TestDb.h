#pragma once

#include "data/Dialect.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

class TdmMain;

// A fresh database with the schema and the reference rows, for one test.
//
// The engine is chosen by the environment: LUMORA_TEST_ENGINE=pg runs on PostgreSQL (a new, uniquely
// named database on the server KORVAX_TEST_PG names, dropped again at the end); anything else on a
// SQLite file in a temporary folder. ctest runs every data suite once per engine.
//
// By default the database becomes the live data modules (dmMain()/dmCommon()) and DBType matches the
// engine, so the routines and forms under test use it; they are freed again at the end.
//
//     TestDb db;
//     REQUIRE_TESTDB(db); // skips when the PostgreSQL run has no server, fails when creation failed
class TestDb
{
public:
    enum Contents { WithSchema, Empty };
    // Empty: a database without tables (for testing the set-up itself).
    explicit TestDb(bool installModules = true, Contents contents = WithSchema);
    ~TestDb();
    TestDb(const TestDb &) = delete;
    TestDb &operator=(const TestDb &) = delete;

    // Whether this run is on PostgreSQL, and whether its server is known.
    static bool onPostgres();
    static bool available();
    static QString unavailableReason();

    bool isReady() const { return m_ready; }
    QString error() const { return m_error; }
    DbEngine engine() const { return m_engine; }
    // SQLite file path or libpq connection string of the test database.
    QString target() const { return m_target; }
    // A second, independent connection (another client). Errors are not shown by it.
    std::unique_ptr<TdmMain> connectAgain() const;
    // The folder of the SQLite file (also AppPath while the test runs), valid on both engines.
    QString folder() const { return m_dir.path(); }

private:
    DbEngine m_engine;
    QTemporaryDir m_dir;
    QString m_target;
    QString m_pgDatabase;
    QString m_error;
    bool m_ready = false;
    bool m_installed = false;
};

#define REQUIRE_TESTDB(db)                                                                                   \
    do {                                                                                                     \
        if (!TestDb::available())                                                                            \
            QSKIP(qPrintable(TestDb::unavailableReason()));                                                  \
        QVERIFY2((db).isReady(), qPrintable((db).error()));                                                  \
    } while (0)
