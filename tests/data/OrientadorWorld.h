#pragma once

#include "TestWorld.h"
#include "base/AppContext.h"
#include "base/AppError.h"
#include "base/Logs.h"
#include "base/ScriptedOperator.h"
#include "base/Settings.h"
#include "data/OrientadorDatabase.h"
#include "data/OrientadorFolder.h"
#include "data/OrientadorTable.h"
#include "data/TDM.h"
#include "platform/Platform.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

/// Runs f and returns the AppError text it raised ("" when it raised none).
template <typename F> std::string errorOf(F&& f) {
    try {
        f();
    } catch (const AppError& e) {
        return e.what();
    }
    return std::string();
}

/// A private world with an Orientador folder made exactly as init-orientador makes it, the setting
/// Dados pointing at it, a scripted operator and a data module.
struct OrientadorWorld : TestWorld {
    std::string folder = env.path("SISCOPRD/Import.prd");

    explicit OrientadorWorld(bool sample = false) {
        OrientadorFolder::Options options;
        options.sample = sample;
        OrientadorFolder::create(*platform, folder, options);
        settings.write(Settings::Dados, Settings::KeyDados, folder);
    }

    std::string file(const std::string& name) const { return folder + "/" + name; }

    /// A connection of its own (not the data module's) on one of the files.
    std::unique_ptr<OrientadorDatabase> connect(const std::string& fileName) const {
        auto db = std::make_unique<OrientadorDatabase>();
        db->setConnectionString(OrientadorDatabase::fileConnectionString(folder, fileName));
        db->connect(*platform);
        return db;
    }

    /// Appends one row to a table through a connection of its own.
    void addRow(const std::string& fileName, const std::string& table,
                std::initializer_list<std::pair<const char*, std::string>> values) const {
        auto db = connect(fileName);
        OrientadorTable t(*db);
        t.setTableName(table);
        t.open();
        t.insert();
        for (const auto& [field, value] : values)
            t.setText(field, value);
        t.post();
    }

    /// The texts of one field in every row of a table, in table order.
    std::vector<std::string> column(const std::string& fileName, const std::string& table,
                                    const std::string& field) const {
        auto db = connect(fileName);
        OrientadorTable t(*db);
        t.setTableName(table);
        t.open();
        return t.columnTexts(field);
    }
};
