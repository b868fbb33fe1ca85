// What users wait for in the data layer: loading a large question list with its content blobs into a
// data set, and writing back a list of edited rows. On SQLite, and on PostgreSQL when KORVAX_TEST_PG
// names a server (a scratch database is created and dropped).

#include "data/DataAccess.h"
#include "data/DatabaseSetup.h"
#include "data/udmMain.h"
#include "platform/ClientDataSet.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kQuestions = 10000;

// One populated database per engine for the whole run.
struct BenchDb
{
    DbEngine engine;
    std::unique_ptr<QTemporaryDir> dir;
    QString target, pgName, server;
    std::unique_ptr<TdmMain> dm;
    QString error;

    explicit BenchDb(DbEngine e) : engine(e)
    {
        if (e == DbEngine::Sqlite) {
            dir = std::make_unique<QTemporaryDir>();
            target = dir->filePath(QStringLiteral("korvax.db"));
        } else {
            server = qEnvironmentVariable("KORVAX_TEST_PG");
            if (server.isEmpty()) {
                error = QStringLiteral("KORVAX_TEST_PG not set");
                return;
            }
            pgName = QStringLiteral("lumora_bench_%1").arg(QCoreApplication::applicationPid());
            TdmMain admin(DbEngine::Postgres, server);
            admin.setShowErrors(false);
            QString err;
            admin.execSql(QStringLiteral("drop database if exists ") + pgName, err);
            if (!admin.execSql(QStringLiteral("create database ") + pgName, err)) {
                error = err;
                pgName.clear();
                return;
            }
            target = server + QStringLiteral(" dbname=") + pgName;
        }
        dm = std::make_unique<TdmMain>(engine, target);
        dm->setShowErrors(false);
        if (!DatabaseSetup::createDatabase(*dm, false, error))
            return;
        fill();
    }

    ~BenchDb()
    {
        dm.reset();
        if (!pgName.isEmpty()) {
            TdmMain admin(DbEngine::Postgres, server);
            admin.setShowErrors(false);
            QString err;
            admin.execSql(QStringLiteral("drop database if exists %1 with (force)").arg(pgName), err);
        }
    }

    void fill()
    {
        QSqlDatabase db = dm->database();
        db.transaction();
        QSqlQuery q(db);
        q.prepare(QStringLiteral(
            "insert into st (stlsh, mklsh, txlsh, ndlsh, stnr, stda, stnrwz, fs, stzt, llr, llsj) "
            "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        auto *rng = QRandomGenerator::global();
        for (int i = 1; i <= kQuestions; ++i) {
            // Compressed RTF content is incompressible bytes of about this size.
            QByteArray content(1200 + int(rng->bounded(1600)), Qt::Uninitialized);
            QByteArray answer(200 + int(rng->bounded(300)), Qt::Uninitialized);
            for (char &c : content)
                c = char(rng->bounded(256));
            for (char &c : answer)
                c = char(rng->bounded(256));
            q.addBindValue(i);
            q.addBindValue(1 + i % 40);
            q.addBindValue(QList<int>{1, 2, 5, 12, 3, 6, 7}[i % 7]);
            q.addBindValue(1 + i % 5);
            q.addBindValue(content);
            q.addBindValue(answer);
            q.addBindValue(QStringLiteral("第%1题：变压器并列运行的条件是什么？请说明理由。").arg(i));
            q.addBindValue(2.0);
            q.addBindValue(QStringLiteral("1"));
            q.addBindValue(QStringLiteral("张建国"));
            q.addBindValue(QStringLiteral("2024-05-06"));
            if (!q.exec()) {
                error = q.lastError().text();
                break;
            }
        }
        db.commit();
    }
};

BenchDb &db(DbEngine e)
{
    static std::unique_ptr<BenchDb> sqlite, pg;
    auto &slot = e == DbEngine::Sqlite ? sqlite : pg;
    if (!slot)
        slot = std::make_unique<BenchDb>(e);
    return *slot;
}

void OpenSql_10000QuestionsWithBlobs(benchmark::State &state, DbEngine engine)
{
    BenchDb &b = db(engine);
    if (!b.error.isEmpty()) {
        state.SkipWithError(qPrintable(b.error));
        return;
    }
    for (auto _ : state) {
        ClientDataSet ds;
        if (!b.dm->openSql(QStringLiteral("select * from st"), &ds) || ds.recordCount() != kQuestions) {
            state.SkipWithError("query failed");
            return;
        }
        benchmark::DoNotOptimize(ds.recordCount());
    }
    state.SetItemsProcessed(state.iterations() * kQuestions);
}

void ApplyDelta_100EditedRows(benchmark::State &state, DbEngine engine)
{
    BenchDb &b = db(engine);
    if (!b.error.isEmpty()) {
        state.SkipWithError(qPrintable(b.error));
        return;
    }
    // A list as the audit form holds it: all columns of 500 questions, 100 of them changed.
    const QString sql = QStringLiteral("select * from st where stlsh <= 500 order by stlsh");
    ClientDataSet ds;
    b.dm->openSql(sql, &ds);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        ds.first();
        for (int i = 0; i < 100; ++i) {
            ds.setValue(QStringLiteral("shr"), QStringLiteral("审核人%1").arg(round));
            ds.setValue(QStringLiteral("stzt"), round % 2 ? QStringLiteral("1") : QStringLiteral("2"));
            ds.post();
            ds.next();
            ds.next();
            ds.next();
            ds.next();
            ds.next();
        }
        state.ResumeTiming();
        QString err;
        if (!b.dm->applyDelta(sql, &ds, err)) {
            state.SkipWithError(qPrintable(err));
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * 100);
}

} // namespace

BENCHMARK_CAPTURE(OpenSql_10000QuestionsWithBlobs, sqlite, DbEngine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenSql_10000QuestionsWithBlobs, postgres, DbEngine::Postgres)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ApplyDelta_100EditedRows, sqlite, DbEngine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ApplyDelta_100EditedRows, postgres, DbEngine::Postgres)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
