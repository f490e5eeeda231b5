#pragma once

#include <string>

class AlertTimer;
class Logs;
class Operator;
class Settings;

/// The save of the settings window, field by field. A required field left empty stops the save with a
/// message naming it; the keys written before stay written and the later ones keep their values.
class SettingsSave {
public:
    /// The texts of the window's fields as the operator left them.
    struct Fields {
        std::string bancodeDados;    // edBancodeDados
        std::string arqTransform;    // edArqTransform
        std::string endWSProc;       // edEndWS_Proc
        std::string endWSIntegr;     // edEndWS_Integr
        std::string nomeXML;         // edNomeXML
        std::string atualizacoes;    // edAtualizacoes
        std::string pastaXML;        // edPastaXML
        std::string endServidor;     // edEnd_Servidor
        std::string alertaIntervalo; // edAlerta_Intervalo
        int alertaTipoIndex = -1;    // cbAlerta_Tipo, -1 when no unit is selected
        std::string alertaTipoText;  // the text of the selected unit
        std::string codHoneywell, codSamsung, codSynthes;
        std::string pastaHoneywell, pastaSamsung, pastaSynthes;
    };

    /// The field the focus goes to after a stop.
    enum class Field { None, EndWSProc, EndWSIntegr, NomeXML, Atualizacoes, EndServidor, AlertaIntervalo };

    enum class Result {
        Saved,           // every key written, confirmation shown
        Stopped,         // a required field was empty; message shown, focus goes to the field
        EndedAtPastaXML, // an empty XML folder was replaced by the default and the save ended silently
        Failed           // a failure was reported; the keys written before it stay written
    };

    struct Outcome {
        Result result = Result::Saved;
        Field focus = Field::None;
    };

    static constexpr const char* SavedText = "Configurações gravadas com êxito!";
    static constexpr const char* FailureText = "Não foi possível salvar as configurações";
    static constexpr const char* FailureCaption = "Erro ao Salvar a Configuração";
    static constexpr const char* FailureProcedure = "Gravando Configurações";

    /// Writes the fields in the window's order and applies the alert interval to alert (when given)
    /// at once.
    static Outcome run(const Fields& fields, Settings& settings, Logs& logs, Operator& op, AlertTimer* alert);

    /// A folder text as stored: one trailing separator ("\" or "/") removed without trimming;
    /// otherwise the trimmed text.
    static std::string folderWithoutTrailingSeparator(const std::string& text);
    /// An integration folder as stored: trimmed; upper-cased only where file names ignore case, since
    /// elsewhere the upper-case spelling names another (usually missing) folder.
    static std::string integrationFolder(const std::string& text);
};
