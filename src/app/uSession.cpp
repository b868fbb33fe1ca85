#include "uSession.h"

#include "uLogin.h"
#include "ufrmCommon.h"

#include "data/uAssistor.h"
#include "data/udmCommon.h"
#include "data/udmMain.h"

#include <memory>

namespace {
std::unique_ptr<TAssistor> g_assistor;
std::unique_ptr<TLogin> g_login;
std::unique_ptr<TfrmCommon> g_frmCommon;
bool g_ownModules = false; // the modules are ours to free (not installed by a tool or a test)
} // namespace

void CreateSessionObjects()
{
    // Modules installed before the login (a tool, a test, a second login in one run) are kept.
    if (!dmMain() || !dmCommon()) {
        CreateDataModules();
        g_ownModules = true;
    }
    g_assistor = std::make_unique<TAssistor>();
    g_frmCommon = std::make_unique<TfrmCommon>();
    g_login = std::make_unique<TLogin>();
}

void ReleaseSession()
{
    g_login.reset();
    g_frmCommon.reset();
    g_assistor.reset();
    if (g_ownModules)
        FreeDataModules();
    g_ownModules = false;
}

TfrmCommon *frmCommon()
{
    return g_frmCommon.get();
}

TAssistor *Assistor()
{
    return g_assistor.get();
}

TLogin *CurrentLogin()
{
    return g_login.get();
}
