#include "Processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

QList<qint64> RunningProcessIds()
{
    QList<qint64> ids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (ok)
            ids << pid;
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

QStringList ProcessNames(qint64 pid)
{
    QStringList names;
    const QString base = QStringLiteral("/proc/%1/").arg(pid);
    const QString exe = QFileInfo(QFileInfo(base + QStringLiteral("exe")).symLinkTarget()).fileName();
    if (!exe.isEmpty())
        names << exe;
    QFile cmdline(base + QStringLiteral("cmdline"));
    if (cmdline.open(QIODevice::ReadOnly)) {
        const QByteArray all = cmdline.readAll();
        const QString arg0 = QFileInfo(QString::fromLocal8Bit(all.left(all.indexOf('\0')))).fileName();
        if (!arg0.isEmpty() && !names.contains(arg0))
            names << arg0;
    }
    if (names.isEmpty()) {
        // /proc/<pid>/comm is cut at 15 characters: only the last resort.
        QFile comm(base + QStringLiteral("comm"));
        if (comm.open(QIODevice::ReadOnly))
            names << QString::fromLocal8Bit(comm.readAll()).trimmed();
    }
    return names;
}

bool KillProcess(const QString &name)
{
    if (name.isEmpty())
        return false;
    const qint64 self = ::getpid();
    for (const qint64 pid : RunningProcessIds()) {
        if (pid == self)
            continue; // never end ourselves
        if (!ProcessNames(pid).contains(name))
            continue;
        ::kill(static_cast<pid_t>(pid), SIGKILL); // permission errors are ignored
        return true;
    }
    return false;
}
