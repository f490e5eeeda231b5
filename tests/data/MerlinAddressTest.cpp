#include "data/MerlinAddress.h"
#include "TestEnv.h"
#include "base/AppError.h"
#include "base/Settings.h"
#include "data/MerlinClient.h"
#include "data/MerlinResponse.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

namespace {
const std::string Base = "http://merlin:5555/invoke/amDGFLatamMerlin.services";
}

TEST(MerlinAddress, ProcessRequestPerKind) {
    // DSI shares the DI operation and LSI the LI one; the blank goes as %20, the year is trimmed.
    EXPECT_EQ(processRequestAddress(Base, "DSI", "IMP 001", " 2026 "),
              Base + ":receiveDIrequest?P_CIA=10&P_TRAMITE=IMP%20001&P_ANO=2026");
    EXPECT_EQ(processRequestAddress(Base, "DI", "IMP-7", "2026"),
              Base + ":receiveDIrequest?P_CIA=10&P_TRAMITE=IMP-7&P_ANO=2026");
    EXPECT_EQ(processRequestAddress(Base, "LI", "L1", "2025"),
              Base + ":receiveLIrequest?P_CIA=10&P_TRAMITE=L1&P_ANO=2025");
    EXPECT_EQ(processRequestAddress(Base, "lsi", "0002/26", "2026"),
              Base + ":receiveLIrequest?P_CIA=10&P_TRAMITE=0002/26&P_ANO=2026");
    // No check that reference or year is filled in.
    EXPECT_EQ(processRequestAddress(Base, "DI", "", ""), Base + ":receiveDIrequest?P_CIA=10&P_TRAMITE=&P_ANO=");
    EXPECT_THROW(processRequestAddress(Base, "XYZ", "1", "2026"), AppError);
}

TEST(MerlinAddress, ValuesThatWouldChangeTheAddressAreEncoded) {
    // The reference is not trimmed: outer blanks are sent too.
    EXPECT_EQ(encodeQueryValue(" A B "), "%20A%20B%20");
    EXPECT_EQ(encodeQueryValue("A&P_CIA=99;x"), "A%26P_CIA%3D99%3Bx");
    EXPECT_EQ(encodeQueryValue("1#2?3+4%5"), "1%232%3F3%2B4%255");
    EXPECT_EQ(encodeQueryValue("a\tb\x7f"), "a%09b%7F");
    EXPECT_EQ(encodeQueryValue("AÇÃO"), "A%C3%87%C3%83O");
    EXPECT_EQ(encodeQueryValue("IMP-001/26.a_b"), "IMP-001/26.a_b");
    // What an HTTP request line may not carry as it is.
    EXPECT_EQ(encodeQueryValue("\"<>\\{}|^`"), "%22%3C%3E%5C%7B%7D%7C%5E%60");
    // The year goes through the same door.
    EXPECT_EQ(processRequestAddress(Base, "DI", "X", "2026&P_CIA=1"),
              Base + ":receiveDIrequest?P_CIA=10&P_TRAMITE=X&P_ANO=2026%26P_CIA%3D1");
}

TEST(MerlinAddress, ReturnParametersPerKind) {
    ReturnData di{"DI", " 123456 ", "9876543210", "04/03/2026", "04/03/2026", "05/03/2026", "2612345678 "};
    EXPECT_EQ(returnAddress(Base, di),
              Base + ":receiveRetorno?TIPO_PROCESSO=01&ID_PROCESSO=123456&NR_PROTOCOLO=9876543210"
                     "&DATA_PROCESSAMENTO=04032026&DATA_TRASMISSAO=04032026&DATA_REGISTRO=05032026"
                     "&REGISTRO_SISCOMEX=2612345678&ANOREGISTRO=2026");

    ReturnData li{"LI", "77", "P1", "01/01/2025", "02/01/2025", "31/12/2025", "25/0000001-0"};
    EXPECT_EQ(returnAddress(Base, li), Base + ":receiveRetorno?TIPO_PROCESSO=02&ID_PROCESSO=77&NR_PROTOCOLO=P1"
                                              "&DATA_REGISTRO=31122025&REGISTRO_SISCOMEX=25/0000001-0"
                                              "&ANOREGISTRO=2025");

    // A micro number with its slash goes as it is.
    ReturnData dsi{"DSI", "12345/26", "P2", "", "10/02/2026", "11/02/2026", "N1"};
    EXPECT_EQ(returnAddress(Base, dsi), Base + ":receiveRetorno?TIPO_PROCESSO=03&ID_PROCESSO=12345/26&NR_PROTOCOLO=P2"
                                               "&DATA_TRASMISSAO=10022026&DATA_REGISTRO=11022026"
                                               "&REGISTRO_SISCOMEX=N1&ANOREGISTRO=2026");

    ReturnData lsi{"LSI", "00007/26", "P3", "", "", "01/06/2026 00:00:00", "N2"};
    EXPECT_EQ(returnAddress(Base, lsi), Base + ":receiveRetorno?TIPO_PROCESSO=04&ID_PROCESSO=00007/26&NR_PROTOCOLO=P3"
                                               "&DATA_REGISTRO=01062026&REGISTRO_SISCOMEX=N2&ANOREGISTRO=2026");

    // A value with "&" cannot smuggle in a parameter; a date in another shape is refused, not mangled.
    ReturnData odd = di;
    odd.nrProtocolo = "1&ANOREGISTRO=1999";
    EXPECT_NE(returnAddress(Base, odd).find("&NR_PROTOCOLO=1%26ANOREGISTRO%3D1999&"), std::string::npos);
    odd = di;
    odd.dataProcesso = "5/3/2026";
    EXPECT_THROW(returnAddress(Base, odd), AppError);
    odd = di;
    odd.kind = "DX";
    EXPECT_THROW(returnAddress(Base, odd), AppError);
}

TEST(MerlinAddress, ReturnAnswerMustSaySuccessfullyUpdatedInExactCase) {
    EXPECT_TRUE(returnAccepted("<p>Process 1 - Successfully updated</p>"));
    EXPECT_FALSE(returnAccepted("successfully updated"));
    EXPECT_FALSE(returnAccepted(""));
    EXPECT_EQ(merlinRequestAddress("http://h/ws"), "http://h/ws:receiveMerlinRequest");
}

TEST(MerlinResponse, ReadsCodeAndDescriptionArrays) {
    const std::string accepted = R"(<?xml version="1.0"?>
<S:Envelope xmlns:S="http://schemas.xmlsoap.org/soap/envelope/"><S:Body>
  <r:receiveMerlinRequestResponse xmlns:r="urn:x"><Response>
    <code><item>0</item></code><description><item>ok, but note this</item></description>
  </Response></r:receiveMerlinRequestResponse></S:Body></S:Envelope>)";
    const MerlinResponse a = MerlinResponse::parse(accepted);
    EXPECT_TRUE(a.accepted()); // accepted even with a description
    EXPECT_EQ(a.reason(), "ok, but note this\r");

    // Other element names: the first child is the code array, the second the descriptions.
    const std::string refused = R"(<Envelope><Body><Resp><R><c><i>1</i><i>9</i></c><d><i>A</i><i>B</i></d></R></Resp>
      </Body></Envelope>)";
    const MerlinResponse r = MerlinResponse::parse(refused);
    EXPECT_FALSE(r.accepted());
    EXPECT_EQ(r.codes, (std::vector<std::string>{"1", "9"}));
    EXPECT_EQ(r.reason(), "A\rB\r");
}

TEST(MerlinResponse, AnythingElseIsAClearFailure) {
    auto failure = [](const std::string& answer) {
        try {
            MerlinResponse::parse(answer);
        } catch (const AppError& e) {
            return std::string(e.what());
        }
        return std::string("(no failure)");
    };
    EXPECT_NE(failure("").find("sem conteúdo"), std::string::npos);
    EXPECT_NE(failure("<html><body><h1>Service Unavailable</h1></body></html>").find("não é um envelope SOAP"),
              std::string::npos);
    EXPECT_NE(failure("\x01\x02 garbage <<<").find("não é um envelope SOAP"), std::string::npos);
    const std::string fault = R"(<e:Envelope xmlns:e="http://schemas.xmlsoap.org/soap/envelope/"><e:Body><e:Fault>
      <faultcode>e:Client</faultcode><faultstring>Unknown SOAPAction</faultstring></e:Fault></e:Body></e:Envelope>)";
    EXPECT_NE(failure(fault).find("Unknown SOAPAction"), std::string::npos);
    EXPECT_EQ(MerlinResponse::faultText(fault), "Unknown SOAPAction");
    EXPECT_NE(failure("<Envelope><Body><W><Response><code/></Response></W></Body></Envelope>").find("code"),
              std::string::npos);
    EXPECT_NE(failure("<Envelope><Body><W/></Body></Envelope>").find("Response"), std::string::npos);
}

TEST(MerlinClient, TimeoutsFromTheSettings) {
    TestEnv env;
    auto platform = Platform::createNative();
    Settings settings(*platform);
    MerlinClient::Timeouts t = MerlinClient::timeoutsFromSettings(settings);
    EXPECT_EQ(t.connectMs, 10000);
    EXPECT_EQ(t.totalMs, 60000);

    settings.write("Dados", "TimeoutConexao", "3");
    settings.write("Dados", "TimeoutTotal", "0,5");
    t = MerlinClient::timeoutsFromSettings(settings);
    EXPECT_EQ(t.connectMs, 3000);
    EXPECT_EQ(t.totalMs, 500);
    // The SOAP send keeps its own total of 60 s.
    EXPECT_EQ(MerlinClient::soapTimeouts(settings).totalMs, 60000);
    EXPECT_EQ(MerlinClient::soapTimeouts(settings).connectMs, 3000);

    for (const char* bad : {"abc", "-3", "0", "1.2.3", " "}) {
        settings.write("Dados", "TimeoutConexao", bad);
        EXPECT_EQ(MerlinClient::timeoutsFromSettings(settings).connectMs, 10000) << bad;
    }
}
