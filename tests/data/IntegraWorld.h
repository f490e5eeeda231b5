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
#include <vector>

/// A private world with an Integra database made from the program's schema: an embedded file in the
/// test folder, or (serverAddress given) a database on a Firebird server. The data module of ctx
/// points at it; op records what the operator was shown.
class IntegraWorld : public TestWorld {
public:
    explicit IntegraWorld(const std::string& serverAddress = std::string());

    std::string location;

    IntegraDatabase& db() { return dm.sqlConIntegra; }
    /// Runs a statement on a connection of its own (not the data module's), so the data module's
    /// statement count stays the program's.
    IntegraResult sql(const std::string& statement);
    /// The first column of every row of a query, NULL as "<null>".
    std::vector<std::string> column(const std::string& query);
    /// Lines of ERRO.CSV after its header.
    std::vector<std::string> errorLog() const;

private:
    IntegraDatabase m_side;
};

/// "127.0.0.1/PORT" of the loopback test server (PELOMIRA_FB_PORT, default 30535) when something
/// listens there; empty otherwise.
std::string loopbackServer();

/// The helper program of these tests (a second process: holds a database, or writes rows).
std::string integraHelperProgram();
/// Starts a program with arguments; its stdin and stdout become pipes of ours when asked. To change
/// its environment, start /usr/bin/env with the changes in front.
struct ChildProcess {
    int pid = -1;
    int stdinFd = -1;  // write end, or −1
    int stdoutFd = -1; // read end, or −1
    /// One line from the child's stdout (without the newline); empty at end of file.
    std::string readLine();
    /// Closes our pipes and waits; the exit status (−1 when it did not exit normally).
    int wait();
};
/// outputFile: the child's stdout and stderr go there (when pipes is false).
ChildProcess startProcess(const std::vector<std::string>& args, bool pipes, const std::string& outputFile = "");
