#pragma once

#include "TestEnv.h"
#include "base/Logs.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/OrientadorWorld.h"
#include "export/TableExport.h"
#include "export/TableExportProgress.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

/// What the export showed, call by call.
struct RecordingProgress : TableExportProgress {
    std::vector<std::string> calls;
    std::vector<long long> rowsDone; // every rowsWritten's done

    void started(int tables) override { calls.push_back("started " + std::to_string(tables)); }
    void entryStarted(int index, const std::string& name) override {
        calls.push_back("entry " + std::to_string(index) + " " + name);
    }
    void rowsWritten(int, const std::string&, long long done, long long) override { rowsDone.push_back(done); }
    void entryDone(int index, int tables, const std::string& table) override {
        calls.push_back("done " + std::to_string(index) + "/" + std::to_string(tables) + " " + table);
    }
    void finished() override { calls.push_back("finished"); }
    void reset() override { calls.push_back("reset"); }
};

/// An Orientador folder with the sample code tables, the first-run settings (the table list, ArqXML
/// TABS.XML, PastaXML the program folder's XML, which exists) and Dados pointing at the folder.
struct ExportWorld : OrientadorWorld {
    std::string xmlFolder = env.home() + "XML";
    RecordingProgress progress;

    ExportWorld() : OrientadorWorld(true) {
        // The whole first-run file in one write (each settings write rewrites the file).
        std::map<std::string, std::string> sections;
        std::vector<std::string> order;
        for (const auto& [section, kv] : settings.firstRunDefaults()) {
            if (!sections.count(section))
                order.push_back(section);
            const std::string value = section == Settings::Dados && kv.first == Settings::KeyDados ? folder : kv.second;
            sections[section] += kv.first + "=" + value + "\r\n";
        }
        std::string ini;
        for (const std::string& s : order)
            ini += "[" + s + "]\r\n" + sections[s] + "\r\n";
        TestEnv::writeFile(settings.path(), ini);
        TestEnv::makeFolder(xmlFolder);
    }

    TableExportResult run(std::vector<std::string> names, TableExportFormat format = TableExportFormat::Xml) {
        op.queueButton(0);
        return TableExport(ctx, progress).run(names, format);
    }

    std::string xmlFile() const { return xmlFolder + "/TABS.XML"; }
    std::string csvFile() const { return xmlFolder + "/TABS.CSV"; }

    /// Runs SQL on a file of the Orientador folder with a plain connection of its own.
    void sql(const std::string& fileName, const std::string& statement) const {
        auto db = connect(fileName);
        char* error = nullptr;
        sqlite3_exec(db->handle(), statement.c_str(), nullptr, nullptr, &error);
        ASSERT_EQ(error, nullptr) << error;
    }

    /// The lines of the activity log, header included.
    std::vector<std::string> activity() const {
        return split(TestEnv::readFile(env.home() + Logs::ActivityFile), '\n');
    }
    std::string errorLog() const { return TestEnv::readFile(env.home() + Logs::ErrorFile); }

    /// Files in the XML folder (nothing may be left beside the export file).
    std::vector<std::string> xmlFolderFiles() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(xmlFolder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

/// Rows of a CSV file as a reader that knows nothing of this program reads them: Python's csv module,
/// ";" as delimiter, the file decoded as code page 1252.
inline std::vector<std::vector<std::string>> readCsvIndependently(const std::string& path) {
    const std::string command = "python3 -c \"import csv, sys\n"
                                "with open(sys.argv[1], newline='', encoding='cp1252') as f:\n"
                                "    for row in csv.reader(f, delimiter=';'):\n"
                                "        print(' '.join(['R'] + [v.encode('utf-8').hex() for v in row]))\n"
                                "\" '" +
                                path + "' 2>&1";
    std::vector<std::vector<std::string>> rows;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return rows;
    std::string output;
    char buffer[4096];
    while (const size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    pclose(pipe);
    for (const std::string& line : split(output, '\n')) {
        if (line.empty())
            continue;
        const std::vector<std::string> parts = split(line, ' ');
        if (parts.empty() || parts[0] != "R") {
            rows.push_back({"python: " + line});
            continue;
        }
        std::vector<std::string> row;
        for (size_t i = 1; i < parts.size(); ++i) {
            std::string value;
            for (size_t k = 0; k + 1 < parts[i].size(); k += 2)
                value += static_cast<char>(std::stoi(parts[i].substr(k, 2), nullptr, 16));
            row.push_back(value);
        }
        rows.push_back(row);
    }
    return rows;
}
