#pragma once

#include <QObject>
#include <memory>

class ClientDataSet;
class TdmMain;

// Shared scratch data sets, filled by OpenSql and overwritten by whoever needs them next: read what you
// need from them before calling anything else that may reuse them, and keep no reference to their rows.
class TdmCommon : public QObject
{
    Q_OBJECT
public:
    explicit TdmCommon(QObject *parent = nullptr);
    ~TdmCommon() override;

    ClientDataSet *cdsCommon;   // server time, combo contents, login checks, small lookups
    ClientDataSet *cdsTemp;     // duplicate-name checks, lists kept while cdsCommon is reused
    ClientDataSet *cdsTemp1;    // manual paper assembly
    ClientDataSet *cdsTemp2;    // manual paper assembly
    ClientDataSet *cdsQuesType; // question types while a paper is rendered

    // Filters of the file dialogs the forms open through the Dialogs service.
    static QString photoFilter();    // pictures (question pictures, answers)
    static QString documentFilter(); // Word documents to import
};

// The live shared module; nullptr while there is none.
TdmCommon *dmCommon();
void SetDmCommon(std::unique_ptr<TdmCommon> module);

// Creates both data modules from the settings (DBType, ServerIP, AppPath): TdmMain connects at once and
// shows a failure. Returns whether the connection is up. Replaces modules that exist.
bool CreateDataModules();
// Installs a given main module (an explicit database) with a fresh TdmCommon.
void InstallDataModules(std::unique_ptr<TdmMain> main);
// Frees both modules (the main window does this when it is destroyed).
void FreeDataModules();

// Installs modules for a scope and frees them at its end (tools and tests).
class DataModuleScope
{
public:
    explicit DataModuleScope(std::unique_ptr<TdmMain> main);
    ~DataModuleScope();
    DataModuleScope(const DataModuleScope &) = delete;
    DataModuleScope &operator=(const DataModuleScope &) = delete;
};
