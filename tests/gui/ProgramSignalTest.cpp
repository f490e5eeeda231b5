// The desktop program asked to end by the system (SIGTERM) or from a terminal (SIGINT): it ends as
// after Sair, with exit code 0, instead of dying or running on without its connections.
#include "TestEnv.h"
#include "gui/GuiTests.h"

#include <QProcess>
#include <QTest>

#include <csignal>
#include <fstream>
#include <string>

namespace {

// True once the program has taken the two signals for itself (they are blocked in its main thread).
bool handlesEndSignals(qint64 pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("SigBlk:", 0) == 0) {
            const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
            const unsigned long long wanted = (1ull << (SIGTERM - 1)) | (1ull << (SIGINT - 1));
            return (mask & wanted) == wanted;
        }
    return false;
}

} // namespace

class ProgramSignalTest : public QObject {
    Q_OBJECT
private slots:
    void endsCleanlyOnTerminationSignals() {
        for (const int signal : {SIGTERM, SIGINT}) {
            TestEnv env;
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("QT_QPA_PLATFORM", "offscreen");
            program.setProcessEnvironment(environment);
            program.setProcessChannelMode(QProcess::MergedChannels);
            program.start(QStringLiteral(PELOMIRA_BINARY_DIR "/bin/pelomira"), {});
            QVERIFY(program.waitForStarted(10000));
            QTRY_VERIFY_WITH_TIMEOUT(handlesEndSignals(program.processId()), 10000);
            // The main window is up and the program idle in its event loop before it is asked.
            QTest::qWait(1500);
            QCOMPARE(program.state(), QProcess::Running);
            ::kill(static_cast<pid_t>(program.processId()), signal);
            QVERIFY2(program.waitForFinished(15000), "the program did not end");
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 0);
        }
    }
};

PELOMIRA_GUI_TEST(ProgramSignalTest)
#include "ProgramSignalTest.moc"
