#pragma once

class TAssistor;
struct TLogin;

// The objects the login creates and the main window frees: the data modules (connected at once; a
// failure is shown and leaves them unconnected, so every login check then fails with its message;
// modules installed before, by a tool or a test, are used as they are),
// the hidden work form TfrmCommon, the TAssistor and the TLogin identity. Creating again replaces what exists.
void CreateSessionObjects();
void ReleaseSession();

TAssistor *Assistor();
