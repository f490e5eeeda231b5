#pragma once

#include "TestWorld.h"
#include "base/Settings.h"
#include "data/DbfTable.h"
#include "data/NorvikFolder.h"
#include "data/NorvikSchema.h"
#include "import/ProcessImport.h"
#include "import/ProcessRecordSets.h"
#include "import/ProcessTransfers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

/// A record of a NORVIK table read back: field → text.
using NorvikRow = std::map<std::string, std::string>;

/// A program world with a NORVIK folder made by init-norvik (sample rows by default), VORDA.INI naming
/// it, the repository's transformation files and the merge program in the program folder.
struct NorvikWorld : TestWorld {
    ProcessTransfers transfers = ProcessTransfers::available();
    std::string folder = env.path("NORVIK");

    explicit NorvikWorld(bool sample = true) {
        NorvikFolder::create(folder, sample);
        TestEnv::writeFile(env.windir() + "/VORDA.INI", "[NORVIK]\r\nCAMINHO=" + folder + "\r\n");
        settings.write(Settings::Dados, Settings::KeyArqTransform, TestEnv::shareFolder() + "/xtr");
        std::filesystem::copy_file(std::string(PELOMIRA_BINARY_DIR) + "/bin/AUXQRPX.EXE", env.home() + "AUXQRPX.EXE",
                                   std::filesystem::copy_options::overwrite_existing);
        resetProcessRecordSets(dm);
    }

    static std::string sample(const std::string& name) {
        return TestEnv::readFile(TestEnv::shareFolder() + "/samples/" + name);
    }

    /// The NORVIK entry on a document text, confirmed, closing window answered with OK.
    void transfer(const std::string& documentText) {
        resetProcessRecordSets(dm);
        op.queueYesNo(true);
        op.queueButton(0);
        importProcessToNorvik(ctx, documentText, transfers);
        waitForMerge();
    }

    /// The merge program runs on its own: wait until it has taken every work copy (it waits out busy
    /// locks for up to a minute).
    void waitForMerge() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(70);
        for (;;) {
            bool pending = false;
            for (const auto& e : std::filesystem::directory_iterator(folder))
                pending = pending || e.path().filename().string().rfind("TM", 0) == 0;
            if (!pending || std::chrono::steady_clock::now() > deadline)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    /// The live records of a table of the folder.
    std::vector<NorvikRow> rows(const std::string& base) const {
        DbfTable t;
        t.open(folder + "/" + base + ".DBF", {}, false);
        std::vector<NorvikRow> out;
        for (bool more = t.first(); more; more = t.next()) {
            NorvikRow row;
            for (const DbfField& f : t.fields())
                row[f.name] = t.text(f.name);
            out.push_back(row);
        }
        return out;
    }
    std::vector<NorvikRow> rowsOf(const std::string& base, const std::string& registro) const {
        std::vector<NorvikRow> out;
        for (const NorvikRow& r : rows(base))
            if (r.at("REGISTRO") == registro)
                out.push_back(r);
        return out;
    }

    std::vector<std::string> check() const { return NorvikFolder::check(folder, 1000); }

    std::vector<std::string> messages(MessageIcon icon) const {
        std::vector<std::string> texts;
        for (const auto& c : op.callsOf("message"))
            if (c.icon == icon)
                texts.push_back(c.text);
        return texts;
    }
    std::string errorLog() const { return TestEnv::readFile(env.home() + "ERRO.CSV"); }
};
