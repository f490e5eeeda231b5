#pragma once

#include "TestEnv.h"
#include "base/TextUtils.h"
#include "data/OrientadorDatabase.h"
#include "data/OrientadorFolder.h"
#include "data/OrientadorTable.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <thread>
#include <utility>
#include <vector>

/// merlin-sim (the real program) on a free port, with a control file of rules the test writes and a
/// log of every request; stopped with SIGTERM when the object goes or stop() is called.
class SimProcess {
public:
    explicit SimProcess(const TestEnv& env) : m_env(env) { start(); }
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    void start() {
        const std::string program = PELOMIRA_BINARY_DIR "/bin/merlin-sim";
        const std::string portFile = m_env.path("sim.port"), output = m_env.path("sim.out");
        TestEnv::makeFolder(m_env.path("sim-docs"));
        if (!TestEnv::exists(control()))
            TestEnv::writeFile(control(), "");
        ::unlink(portFile.c_str());
        m_pid = fork();
        if (m_pid == 0) {
            const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            dup2(out, 1);
            dup2(out, 2);
            const std::string docs = m_env.path("sim-docs"), log = this->log(), rules = control();
            const std::string port = m_port > 0 ? std::to_string(m_port) : "0";
            execl(program.c_str(), program.c_str(), "--port", port.c_str(), "--port-file", portFile.c_str(), "--docs",
                  docs.c_str(), "--log", log.c_str(), "--control", rules.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 400 && !TestEnv::exists(portFile); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        if (TestEnv::exists(portFile))
            m_port = std::stoi(TestEnv::readFile(portFile));
    }
    void stop() {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

    int port() const { return m_port; }
    std::string base() const {
        return "http://127.0.0.1:" + std::to_string(m_port) + "/invoke/amDGFLatamMerlin.services";
    }
    std::string control() const { return m_env.path("sim.rules"); }
    std::string log() const { return m_env.path("sim.log"); }
    /// Adds a rule line (merlin-sim reads the file again at every request).
    void rule(const std::string& line) const {
        TestEnv::writeFile(control(), TestEnv::readFile(control()) + line + "\n");
    }
    /// The targets (path and query, as sent) of the returns the program received, in order.
    std::vector<std::string> returnTargets() const {
        std::vector<std::string> targets;
        if (!TestEnv::exists(log()))
            return targets;
        for (const std::string& line : split(TestEnv::readFile(log()), '\n')) {
            const auto get = line.find("] GET ");
            if (get != std::string::npos && line.find(":receiveRetorno") != std::string::npos)
                targets.push_back(line.substr(get + 6));
        }
        return targets;
    }

private:
    const TestEnv& m_env;
    pid_t m_pid = -1;
    int m_port = 0;
};

/// The registered processes of an Orientador folder, written as the Orientador writes them.
class RegisteredProcesses {
public:
    RegisteredProcesses(const Platform& platform, std::string folder)
        : m_platform(platform), m_folder(std::move(folder)) {}

    /// Appends one row to a table of the Orientador through a connection of its own; an empty value
    /// leaves the field null.
    void addRow(const std::string& fileName, const std::string& table,
                std::initializer_list<std::pair<const char*, std::string>> values) const {
        OrientadorDatabase db;
        db.setConnectionString(OrientadorDatabase::fileConnectionString(m_folder, fileName));
        db.connect(m_platform);
        OrientadorTable t(db);
        t.setTableName(table);
        t.open();
        t.insert();
        for (const auto& [field, value] : values)
            if (!value.empty())
                t.setText(field, value);
        t.post();
    }

    void lsi(const std::string& id, const std::string& nr, const std::string& date, const std::string& protocol) const {
        addRow("LIDSI.MDB", "OPERAÇÃO_COM_TRATAMENTO",
               {{"NR_TRAT_IMP_MICRO", id},
                {"NR_OPER_TRAT_PREV", nr},
                {"DT_REG_OPER_TRAT", date},
                {"NR_OPER_TRAT_PROT", protocol}});
    }
    void dsi(const std::string& id, const std::string& nr, const std::string& date, const std::string& protocol,
             const std::string& transmission) const {
        addRow("DSI.MDB", "DSI_DADOS_GERAIS",
               {{"CD_DSI_MICRO", id},
                {"NR_DECL_SIMPL_IMP", nr},
                {"DT_REGISTRO_DSI", date},
                {"NR_DECL_IMP_PROT", protocol},
                {"DT_TRANSMISSAO", transmission}});
    }
    void li(const std::string& id, const std::string& nr, const std::string& date, const std::string& protocol) const {
        addRow("REGIMP.MDB", "OPERAÇÃO_COM_TRATAMENTO",
               {{"NR_IDENT_USUARIO", id},
                {"NR_OPER_TRAT_PREV", nr},
                {"DT_REG_OPER_TRAT", date},
                {"NR_OPER_TRAT_PROT", protocol}});
    }
    void di(const std::string& id, const std::string& nr, const std::string& registered, const std::string& protocol,
            const std::string& processed, const std::string& transmitted) const {
        addRow("IMPORT.MDB", "DECLARAÇÃO_IMPORTAÇÃO",
               {{"NR_IDENT_USUARIO", id},
                {"NR_DECLARACAO_IMP", nr},
                {"DT_REGISTRO_DI", registered},
                {"NR_DECL_IMP_PROT", protocol},
                {"DT_PROCESSAMENTO", processed},
                {"DT_TRANSMISSAO", transmitted}});
    }

private:
    const Platform& m_platform;
    std::string m_folder;
};
