#pragma once

#include "TestEnv.h"
#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "data/TDM.h"
#include "platform/Platform.h"

#include <memory>

/// A whole program world for one test: private folders (TestEnv), the real platform, a scripted
/// operator, the settings and logs of those folders, a data module and the context operations get.
struct TestWorld {
    TestEnv env;
    std::unique_ptr<Platform> platform = Platform::createNative();
    ScriptedOperator op;
    Settings settings{*platform};
    Logs logs{*platform, op};
    TDM dm;
    AppContext ctx{*platform, op, settings, logs, dm};
};
