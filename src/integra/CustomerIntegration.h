#pragma once

#include "integra/MerlinRequestSender.h"

#include <functional>
#include <string>

struct AppContext;
class CustomerFormat;

/// A customer file integration (Samsung, Synthes, Honeywell): the customer file becomes one
/// receiveMerlinRequest document, saved in the customer's XML folder and, when the operator asks,
/// sent to Merlin.
class CustomerIntegration {
public:
    /// Larger customer files are refused before they are read into memory.
    static constexpr size_t MaxFileBytes = size_t(256) << 20;
    static constexpr const char* Caption = "Pelomira";
    static constexpr const char* OkButton = "&OK";
    static constexpr const char* OpenButton = "&Abrir Arquivo";
    static constexpr const char* SendButton = "&Enviar p/\rWebService";

    /// How a generation ended.
    struct Result {
        enum class Outcome { Cancelled, Empty, Failed, Generated };
        Outcome outcome = Outcome::Cancelled;
        std::string inputPath;
        std::string xmlPath;  // Generated: the file written
        std::string document; // Generated: its text, which is also what is sent
        int invoices = 0;
        int lines = 0;
        std::string failure; // Failed: the reason
    };

    CustomerIntegration(AppContext& ctx, const CustomerFormat& format);

    /// The menu command: the open-file dialog, the generation, and the closing window with its offers
    /// to open the file and to send it.
    void run();
    /// From the chosen file to the saved XML file, with the progress window and the activity log; a
    /// failure is reported (error box, ERRO.CSV) and nothing is saved. An empty file, or one that yields
    /// no invoice, saves nothing either, and the operator is told.
    Result generate(const std::string& inputPath);
    /// The closing window ("&OK", "&Abrir Arquivo", "&Enviar p/ WebService") and what its buttons do.
    void offer(const Result& result);
    /// Sends a generated document to Merlin and reports the answer.
    SendOutcome send(const Result& result);

    /// The service namespace of the request document: the scheme and host of the WebService2 setting
    /// (the service's own host), else the default host of the settings, followed by the service path.
    std::string serviceNamespace() const;

    /// Replace the clock's year and the random invoice number (tests, reproducible runs).
    void setYear(int year) { m_year = year; }
    void setRandomInvoice(int number) { m_random = number; }

    std::string generatedText(const std::string& xmlPath) const;
    std::string failureText(const std::string& message) const;
    std::string failureProcedure(const std::string& inputPath) const;
    std::string emptyText(const std::string& inputPath) const;

private:
    std::string readFile(const std::string& path) const;
    std::string outputFolder() const;
    void fail(Result& result, const std::string& message);

    AppContext& m_ctx;
    const CustomerFormat& m_format;
    int m_year = 0;
    int m_random = -1;
};
