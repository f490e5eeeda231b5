#pragma once

#include "TestWorld.h"
#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "data/TDM.h"
#include "platform/Platform.h"

#include <memory>
#include <string>

/// A private program world for a window test: temporary settings and program folders, a scripted
/// operator, and the context the windows receive. The update folder points at an empty folder of
/// the world, so no test looks into the real home.
struct ShellWorld : TestWorld {

    /// withSettings: write the first-run defaults first (otherwise PELOMIRA.INI is missing).
    explicit ShellWorld(bool withSettings = true) {
        if (withSettings) {
            settings.writeFirstRunDefaults();
            settings.write(Settings::Dados, Settings::KeyAtualiza, updateFolder());
        }
    }
    std::string updateFolder() const { return env.path("Atualizacao"); }
    std::string read(const char* section, const char* key) const { return settings.read(section, key); }
};
