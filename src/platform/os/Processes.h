#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Ends the first running process (lowest process id) whose executable file name equals name
// exactly, case-sensitive. Only that one process is ended. Returns false when none matched; a
// process that cannot be ended (no permission) still counts as matched, as on the original platform.
bool KillProcess(const QString &name);

// The names a process is known by: the file name of its executable and, when different, the file
// name of its argv[0] (a script runs as its interpreter but is listed under its own name).
QStringList ProcessNames(qint64 pid);

// Process ids of the running processes, in ascending order.
QList<qint64> RunningProcessIds();
