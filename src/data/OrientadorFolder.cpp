#include "data/OrientadorFolder.h"

#include "base/AppError.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/SystemError.h"

#include <sqlite3.h>

#include <filesystem>
#include <string_view>

// Defined by the source generated from share/orientador.
std::string_view orientadorEmbeddedFile(std::string_view name);

namespace {

std::string embedded(const std::string& name) {
    const std::string_view text = orientadorEmbeddedFile(name);
    if (text.empty())
        throw AppError("O esquema " + name + " do Orientador - SISCOMEX não está neste programa");
    return std::string(text);
}

void execute(sqlite3* db, const std::string& sql, const std::string& file) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string why = error ? error : sqlite3_errmsg(db);
        sqlite3_free(error);
        throw AppError("Não foi possível criar o arquivo " + file + ": " + why);
    }
}

void writeDatabase(const std::string& path, const std::string& fileName, const std::string& sql) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const std::string why = db ? sqlite3_errmsg(db) : "sem memória";
        sqlite3_close(db);
        throw AppError("Não foi possível criar o arquivo " + fileName + ": " + why);
    }
    try {
        execute(db, "BEGIN;\n" + sql + "\nCOMMIT;", fileName);
        // The files the transfers write keep a write-ahead log from the start (see OrientadorDatabase);
        // the code tables, only read, stay as they are.
        if (fileName != "TABSISCO.MDB")
            execute(db, "PRAGMA journal_mode=WAL;", fileName);
    } catch (...) {
        sqlite3_close(db);
        std::filesystem::remove(path, ec);
        throw;
    }
    if (sqlite3_close(db) != SQLITE_OK) {
        std::filesystem::remove(path, ec);
        throw AppError("Não foi possível fechar o arquivo " + fileName);
    }
}

} // namespace

const std::vector<std::string>& OrientadorFolder::fileNames() {
    static const std::vector<std::string> names = {"IMPORT.MDB", "REGIMP.MDB", "DSI.MDB", "LIDSI.MDB", "TABSISCO.MDB"};
    return names;
}

std::string OrientadorFolder::schema(const std::string& fileName) {
    const auto dot = fileName.rfind('.');
    return embedded(fileName.substr(0, dot) + ".sql");
}

std::string OrientadorFolder::sampleRows() {
    return embedded("TABSISCO.sample.sql");
}

std::vector<std::string> OrientadorFolder::existingFiles(const Platform& platform, const std::string& folder) {
    std::vector<std::string> present;
    if (!folderExists(folder))
        return present;
    for (const auto& name : fileNames())
        if (const auto found = platform.findFileNoCase(folder, name))
            present.push_back(fileNameOf(*found));
    return present;
}

std::vector<std::string> OrientadorFolder::create(const Platform& platform, const std::string& folder,
                                                  const Options& options) {
    if (folder.empty())
        throw AppError("Informe a pasta do Orientador - SISCOMEX a criar");
    if (fileExists(folder))
        throw AppError("Já existe um arquivo com o nome da pasta: " + folder);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!folderExists(folder))
        throw AppError("Não foi possível criar a pasta " + folder + (ec ? ": " + systemErrorText(ec) : std::string()));

    const std::vector<std::string> present = existingFiles(platform, folder);
    if (!present.empty() && !options.force) {
        std::string list;
        for (const auto& p : present)
            list += (list.empty() ? "" : ", ") + p;
        throw AppError("A pasta " + folder + " já contém arquivos do Orientador - SISCOMEX (" + list +
                       "); nada foi alterado");
    }

    std::vector<std::string> created;
    for (const auto& name : fileNames()) {
        std::string sql = schema(name);
        if (options.sample && name == "TABSISCO.MDB")
            sql += "\n" + sampleRows();
        const std::string path = joinPath(folder, name);
        const std::string partial = path + ".novo";
        writeDatabase(partial, name, sql);
        // A file spelled in another case would stay beside the new one: remove it first.
        if (const auto old = platform.findFileNoCase(folder, name); old && *old != path)
            std::filesystem::remove(*old, ec);
        std::filesystem::rename(partial, path, ec);
        if (ec) {
            std::filesystem::remove(partial, ec);
            throw AppError("Não foi possível gravar o arquivo " + path);
        }
        created.push_back(path);
    }
    return created;
}
