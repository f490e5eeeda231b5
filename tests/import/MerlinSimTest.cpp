// The Merlin client against the real merlin-sim program, started as a child process.
#include "FailureOf.h"
#include "TestEnv.h"
#include "base/AppError.h"
#include "data/MerlinAddress.h"
#include "data/MerlinClient.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

const std::string SimProgram = PELOMIRA_BINARY_DIR "/bin/merlin-sim";
const std::string Fixtures = PELOMIRA_SOURCE_DIR "/tests/data/fixtures/merlin";
const MerlinClient::Timeouts Quick{2000, 5000};

const char* const Shipment = R"(<soapenv:Envelope xmlns:soapenv="http://schemas.xmlsoap.org/soap/envelope/" )"
                             R"(xmlns:rec="http://merlin/amDGFLatamMerlin/webservices/provider/receiveMerlinRequest">)"
                             R"(<soapenv:Header/><soapenv:Body><rec:MerlinInCanonical><Merlin_In><rec:Header>)"
                             R"(<ArrayOfHeaderItem><rec:MOVEMENT_TYPE>I</rec:MOVEMENT_TYPE>)"
                             R"(<rec:ENTITY>ENTITY_CODE</rec:ENTITY><rec:LYT_INVOICEDATA>)"
                             R"(<ArrayOfLYT_INVOICEDATAItem><NUM_FACTURA>1</NUM_FACTURA><rec:LYT_INVOICEDETAILDATA>)"
                             R"(<ArrayOfLYT_INVOICEDETAILDATAItem><NUM_ITEM>1</NUM_ITEM>)"
                             R"(</ArrayOfLYT_INVOICEDETAILDATAItem></rec:LYT_INVOICEDETAILDATA>)"
                             R"(</ArrayOfLYT_INVOICEDATAItem></rec:LYT_INVOICEDATA></ArrayOfHeaderItem></rec:Header>)"
                             R"(</Merlin_In></rec:MerlinInCanonical></soapenv:Body></soapenv:Envelope>)";

std::string shipmentFor(const std::string& entity) {
    std::string s = Shipment;
    s.replace(s.find("ENTITY_CODE"), 11, entity);
    return s;
}

/// merlin-sim on a free port, with a control file the test rewrites; stopped with SIGTERM.
class MerlinSimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_env = new TestEnv;
        const std::string portFile = s_env->path("port");
        TestEnv::writeFile(s_env->path("control"), "");
        s_pid = fork();
        if (s_pid == 0) {
            const int out = open(s_env->path("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(out, 2);
            const std::string control = s_env->path("control"), log = s_env->path("sim.log");
            execl(SimProgram.c_str(), SimProgram.c_str(), "--port", "0", "--port-file", portFile.c_str(), "--docs",
                  Fixtures.c_str(), "--log", log.c_str(), "--control", control.c_str(), "--rule",
                  "soap.reason=Entity blocked|Invoice 1 duplicated", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 200 && !TestEnv::exists(portFile); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        if (TestEnv::exists(portFile))
            s_base = "http://127.0.0.1:" + std::to_string(std::stoi(TestEnv::readFile(portFile)));
    }

    static void TearDownTestSuite() {
        if (s_pid > 0) {
            kill(s_pid, SIGTERM);
            int status = 0;
            for (int i = 0; i < 100 && waitpid(s_pid, &status, WNOHANG) == 0; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (waitpid(s_pid, &status, WNOHANG) == 0) {
                kill(s_pid, SIGKILL);
                waitpid(s_pid, &status, 0);
            }
        }
        delete s_env;
        s_env = nullptr;
    }

    void SetUp() override {
        ASSERT_FALSE(s_base.empty()) << "merlin-sim did not start: " << TestEnv::readFile(s_env->path("stdout"));
        control("");
    }

    static void control(const std::string& rules) { TestEnv::writeFile(s_env->path("control"), rules); }
    static std::string services() { return s_base + "/invoke/amDGFLatamMerlin.services"; }
    static std::string fixture(const std::string& name) { return TestEnv::readFile(Fixtures + "/" + name); }

    static TestEnv* s_env;
    static pid_t s_pid;
    static std::string s_base;
};

TestEnv* MerlinSimTest::s_env = nullptr;
pid_t MerlinSimTest::s_pid = -1;
std::string MerlinSimTest::s_base;

} // namespace

TEST_F(MerlinSimTest, ServesProcessDocumentsByKindReferenceAndYear) {
    MerlinClient client;
    const std::string di = fixture("DI_IMP-0001_2026.xml");
    EXPECT_EQ(client.requestProcess(processRequestAddress(services(), "DI", "IMP-0001", "2026"), Quick), di);
    // A DSI is asked through the DI operation.
    EXPECT_EQ(client.requestProcess(processRequestAddress(services(), "DSI", "imp-0001", " 2026"), Quick), di);
    EXPECT_EQ(client.requestProcess(processRequestAddress(services(), "LSI", "LI 0002/26", "2026"), Quick),
              fixture("LI_LI%200002%2F26_2026.xml"));
    EXPECT_EQ(client.requestProcess(processRequestAddress(services(), "DI", "A&B", "2026"), Quick),
              fixture("DI_A%26B_2026.xml"));

    EXPECT_EQ(
        failureOf([&] { client.requestProcess(processRequestAddress(services(), "LI", "IMP-0001", "2026"), Quick); }),
        "O servidor respondeu com erro: HTTP/1.1 404 Not Found");

    const std::string log = TestEnv::readFile(s_env->path("sim.log"));
    EXPECT_NE(
        log.find("GET /invoke/amDGFLatamMerlin.services:receiveLIrequest?P_CIA=10&P_TRAMITE=LI%200002/26&P_ANO=2026"),
        std::string::npos)
        << log;
}

TEST_F(MerlinSimTest, RulesChangeAnswersPerRequest) {
    MerlinClient client;
    ReturnData data{"DI", "123456", "9876543210", "04/03/2026", "04/03/2026", "05/03/2026", "2612345678"};
    EXPECT_TRUE(client.sendReturn(returnAddress(services(), data), Quick));

    control("retorno@999=refuse\nprocess@IMP-0001=error:503\nprocess@SLOW=silent\n");
    EXPECT_TRUE(client.sendReturn(returnAddress(services(), data), Quick));
    data.registro = "999";
    EXPECT_FALSE(client.sendReturn(returnAddress(services(), data), Quick));
    EXPECT_NE(failureOf([&] {
                  client.get(processRequestAddress(services(), "DI", "IMP-0001", "2026"), Quick);
              }).find("HTTP/1.1 503"),
              std::string::npos);

    const auto start = std::chrono::steady_clock::now();
    const std::string why = failureOf([&] {
        client.get(processRequestAddress(services(), "DI", "SLOW", "2026"), {1000, 500});
    });
    EXPECT_NE(why.find("Tempo de espera esgotado"), std::string::npos) << why;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}

TEST_F(MerlinSimTest, AnswersReceiveMerlinRequest) {
    MerlinClient client;
    const std::string address = merlinRequestAddress(s_base + "/ws");
    const MerlinResponse ok = client.receiveMerlinRequest(address, shipmentFor("S0018"), Quick);
    EXPECT_TRUE(ok.accepted());
    EXPECT_EQ(ok.reason(), "Request received: 1 invoice(s), 1 line(s) for entity S0018\r");

    control("soap@H8844=refuse\nsoap@S5857=garbage\n");
    const MerlinResponse refused = client.receiveMerlinRequest(address, shipmentFor("H8844"), Quick);
    EXPECT_FALSE(refused.accepted());
    EXPECT_EQ(refused.codes.front(), "1");
    EXPECT_EQ(refused.reason(), "Entity blocked\rInvoice 1 duplicated\r");
    EXPECT_NE(failureOf([&] {
                  client.receiveMerlinRequest(address, shipmentFor("S5857"), Quick);
              }).find("não é um envelope SOAP"),
              std::string::npos);
    // A request that is not a receiveMerlinRequest document gets a SOAP fault.
    EXPECT_NE(failureOf([&] { client.receiveMerlinRequest(address, "<a/>", Quick); }).find("MerlinInCanonical"),
              std::string::npos);

    const std::string log = TestEnv::readFile(s_env->path("sim.log"));
    EXPECT_NE(log.find("POST /ws:receiveMerlinRequest"), std::string::npos);
    EXPECT_NE(log.find("<rec:ENTITY>H8844</rec:ENTITY>"), std::string::npos);
}
