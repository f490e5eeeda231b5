#pragma once

#include "data/IntegraWorld.h"
#include "retorno/RetornoFixtures.h"

#include "base/Settings.h"

/// A program world for the return: an Orientador folder made as init-orientador makes it, an embedded
/// Integra database (or one on the loopback server), merlin-sim as the web service, and the settings
/// pointing at all three.
struct RetornoWorld : IntegraWorld {
    std::string folder = env.path("SISCOPRD/Import.prd");
    SimProcess sim{env};
    RegisteredProcesses orientador{*platform, folder};

    explicit RetornoWorld(const std::string& serverAddress = std::string()) : IntegraWorld(serverAddress) {
        OrientadorFolder::create(*platform, folder, OrientadorFolder::Options());
        settings.write(Settings::Dados, Settings::KeyDados, folder);
        settings.write(Settings::Dados, Settings::KeyWebService, sim.base());
        settings.write(Settings::Dados, Settings::KeyTimeoutConexao, "2");
        settings.write(Settings::Dados, Settings::KeyTimeoutTotal, "5");
    }

    /// GERADOS as "KIND|NR_PROC|yyyy-mm-dd" lines, in kind and number order.
    std::vector<std::string> gerados() {
        std::vector<std::string> rows;
        for (const auto& row : sql("SELECT TIPO_PROC, NR_PROC, DT_RETORNO FROM GERADOS ORDER BY 1, 2").rows)
            rows.push_back(row[0].value_or("") + "|" + row[1].value_or("") + "|" + row[2].value_or(""));
        return rows;
    }
    void returned(const std::string& kind, const std::string& id) {
        sql("INSERT INTO GERADOS VALUES (" + IntegraDatabase::quote(kind) + ", " + IntegraDatabase::quote(id) +
            ", '01/02/2026')");
    }
    /// Lines of PELOMIRA_LOG.CSV after its header, the procedure field only.
    std::vector<std::string> activity() const {
        std::vector<std::string> lines;
        const std::string file = env.home() + Logs::ActivityFile;
        if (!TestEnv::exists(file))
            return lines;
        const auto all = split(TestEnv::readFile(file), '\n');
        for (size_t i = 1; i < all.size(); ++i) {
            const auto fields = split(trimRight(all[i]), ';');
            if (fields.size() >= 3)
                lines.push_back(fields[2]);
        }
        return lines;
    }
};
