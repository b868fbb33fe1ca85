#include "TestDb.h"

#include "data/DatabaseSetup.h"
#include "data/udmCommon.h"
#include "data/udmMain.h"
#include "platform/AppGlobals.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

QAtomicInt g_serial;

QString serverConnInfo()
{
    QString s = qEnvironmentVariable("KORVAX_TEST_PG");
    if (s.trimmed().isEmpty())
        s = qEnvironmentVariable("LUMORA_CONFIGURED_PG"); // KORVAX_TEST_PG at configure time
    return s.trimmed();
}

QString withDatabase(const QString &conninfo, const QString &dbname)
{
    static const QRegularExpression re(QStringLiteral("\\bdbname\\s*=\\s*('[^']*'|\\S+)"));
    QString s = conninfo;
    if (s.contains(re))
        s.replace(re, QStringLiteral("dbname=") + dbname);
    else
        s += QStringLiteral(" dbname=") + dbname;
    return s;
}

} // namespace

bool TestDb::onPostgres()
{
    return qEnvironmentVariable("LUMORA_TEST_ENGINE").compare(QLatin1String("pg"), Qt::CaseInsensitive) == 0;
}

bool TestDb::available()
{
    return !onPostgres() || !serverConnInfo().isEmpty();
}

QString TestDb::unavailableReason()
{
    return QStringLiteral("PostgreSQL run without KORVAX_TEST_PG: no server to test on");
}

TestDb::TestDb(bool installModules, Contents contents)
    : m_engine(onPostgres() ? DbEngine::Postgres : DbEngine::Sqlite)
{
    if (!available()) {
        m_error = unavailableReason();
        return;
    }
    SetAppPath(m_dir.path());
    if (m_engine == DbEngine::Sqlite) {
        m_target = m_dir.filePath(QStringLiteral("korvax.db"));
    } else {
        m_pgDatabase = QStringLiteral("lumora_t%1_%2_%3")
                           .arg(QCoreApplication::applicationPid())
                           .arg(g_serial.fetchAndAddRelaxed(1))
                           .arg(QRandomGenerator::global()->bounded(1000000));
        TdmMain server(DbEngine::Postgres, serverConnInfo());
        server.setShowErrors(false);
        if (!server.isConnected()) {
            m_error = QStringLiteral("cannot reach the PostgreSQL test server: ") + server.connectionError();
            return;
        }
        QString err;
        if (!server.execSql(QStringLiteral("create database ") + m_pgDatabase, err)) {
            m_error = err;
            m_pgDatabase.clear();
            return;
        }
        m_target = withDatabase(serverConnInfo(), m_pgDatabase);
    }
    auto dm = std::make_unique<TdmMain>(m_engine, m_target);
    if (!dm->isConnected()) {
        m_error = dm->connectionError();
        return;
    }
    if (contents == WithSchema && !DatabaseSetup::createDatabase(*dm, false, m_error))
        return;
    DBType = m_engine == DbEngine::Postgres ? DbPostgres : DbEmbedded;
    if (installModules) {
        InstallDataModules(std::move(dm));
        m_installed = true;
    }
    m_ready = true;
}

TestDb::~TestDb()
{
    if (m_installed)
        FreeDataModules();
    if (!m_pgDatabase.isEmpty()) {
        TdmMain server(DbEngine::Postgres, serverConnInfo());
        server.setShowErrors(false);
        QString err;
        server.execSql(QStringLiteral("drop database if exists %1 with (force)").arg(m_pgDatabase), err);
    }
}

std::unique_ptr<TdmMain> TestDb::connectAgain() const
{
    auto dm = std::make_unique<TdmMain>(m_engine, m_target, nullptr, false);
    dm->setShowErrors(false);
    return dm;
}
