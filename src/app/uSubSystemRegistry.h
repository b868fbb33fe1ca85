#pragma once

#include <QList>
#include <QString>
#include <functional>

class QWidget;

// The class registry behind OpenSubSystem: a menu entry names the class of its sub-system form
// (gncd.mknm, e.g. "TfrmKm"); the main window creates the form through the factory registered under
// that name. A form registers itself in its own .cpp, at static initialisation:
//
//   #include "app/uSubSystemRegistry.h"
//   LUMORA_REGISTER_SUBSYSTEM(TfrmKm)      // TfrmKm(QWidget *parent) must exist
//
// or, for a form that needs more than a parent,
//
//   static const bool registered = RegisterSubSystemClass("TfrmKm", [](QWidget *parent) {
//       return new TfrmKm(parent);
//   });
//
// The sub-system libraries are linked whole into the program, so these initialisers always run.
// The factory gets the main window as parent; the form is then moved into its tab sheet. A factory may
// return nullptr or throw to say the form could not be created.
using SubSystemFactory = std::function<QWidget *(QWidget *parent)>;

// Registers a factory; a second registration of a name replaces the first. Returns true so it can
// initialise a static.
bool RegisterSubSystemClass(const QString &className, SubSystemFactory factory);
// The factory of a class, or an empty function when the class is not registered.
SubSystemFactory FindSubSystemClass(const QString &className);
// Removes a registration (tests).
void UnregisterSubSystemClass(const QString &className);

// The sub-system classes the menu can open, with their captions, in the order of the system's list.
struct SubSystemClass
{
    const char *className;
    const char16_t *caption;
};
const QList<SubSystemClass> &KnownSubSystemClasses();

#define LUMORA_REGISTER_SUBSYSTEM(Class)                                                                     \
    static const bool Class##_registered_ = RegisterSubSystemClass(                                          \
        QStringLiteral(#Class), [](QWidget *parent) -> QWidget * { return new Class(parent); });
