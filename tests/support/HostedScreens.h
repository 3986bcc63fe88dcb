#pragma once

#include "host/Database.h"
#include "host/HostSession.h"
#include "host/ReferenceAppManager.h"
#include "host/WindowManager.h"
#include "host/WorkArea.h"
#include "host/WorkingLists.h"
#include "platform/ScriptedUiServices.h"
#include "search/SearchScreens.h"
#include "support/RecordingAppManager.h"

#include "clients/ClientClasses.h"
#include "contracts/ViewCollection.h"

#include <memory>

namespace talv::test {

// The reference host around the screens, as talv-host has it: a session of `user` on a database,
// the real application manager (recorded, so a caller can see what a screen sent), the working
// lists, the work area and window manager that open screens by class name, and scripted message
// boxes. The tests' hosts and the benchmarks' are both made of it.
class HostedScreens
{
public:
    HostedScreens(std::unique_ptr<host::Database> database, const QString &user) : session(std::move(database), user)
    {
        search::RegisterSearchScreens();
        clients::registerClientClasses();
        area.resize(1200, 900);
        area.show();
        manager = std::make_unique<host::WindowManager>(area, views, lists, host::QueryService(session.connection()));
        manager->setAppManager(&recorder);
    }

    host::HostSession session;
    host::ReferenceAppManager real{session};
    RecordingAppManager recorder{real};
    ScriptedUiServices ui;
    ScopedUiServices scopedUi{ui};
    host::ViewCatalogue views;
    host::WorkingLists lists{views, host::QueryService(session.connection())};
    host::WorkArea area;
    std::unique_ptr<host::WindowManager> manager;
    qint32 groupsView = FindViewIndex(views, QStringLiteral("EGP"));
};

} // namespace talv::test
