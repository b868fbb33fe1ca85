#pragma once

#include <QString>

// Reads the database settings of Config.ini into the process-wide values DBType, ServerIP and
// DefaultSubject. Returns an empty string when they can be used, otherwise the message that start-up
// shows before it exits: a DBType the program cannot connect with is refused, never guessed.
QString LoadDatabaseSettings();

// Sets AppPath/ResPath from the executable, installs the widget dialogs and the font mapping.
void InitProcessValues();
