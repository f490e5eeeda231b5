#pragma once

#include <string>
#include <vector>

/// How a source field's date becomes a date of the return list.
enum class ScanDate {
    None,          // the kind carries no such date: the list's field stays empty
    DateField,     // a date field of the Orientador, whose text is dd/mm/yyyy
    DayMonthYear8, // an eight-character text ddmmyyyy (the DI's dates)
};

/// Where one list field comes from.
struct ScanDateSource {
    std::string field;
    ScanDate kind = ScanDate::None;
};

/// One kind of registered process: the Orientador file and table it is read from, the field behind
/// each column of the return list, the fields the manual scan requires and the filter of the
/// automatic scan.
struct ScanSource {
    std::string kind;     // LSI, DSI, LI, DI
    std::string fileName; // LIDSI.MDB …
    std::string table;
    std::string registro;   // feeds REGISTRO and the already-returned test
    std::string nrProcesso; // NR_PROCESSO
    ScanDateSource dataProcesso;
    std::string nrProtocolo; // NR_PROTOCOLO
    ScanDateSource dataProcessamento;
    ScanDateSource dataTransmissao;
    /// ANO_REGISTRO: characters yearFirst to yearFirst + 3 (from 1) of yearField's text, trimmed.
    std::string yearField;
    int yearFirst = 0;
    /// Fields whose text must all be non-empty for the manual scan to list the row.
    std::vector<std::string> manualSelection;
    /// The filter expression of the automatic scan, as passed to the cursor.
    std::string automaticFilter;
    /// "Carregando Processos de LSI..." and so on: the manual scan's progress step.
    std::string progressText;

    /// Every field the scans read, each once, in a fixed order.
    std::vector<std::string> fieldsRead() const;
};

/// The four sources in the order both scans read them: LSI, DSI, LI, DI.
const std::vector<ScanSource>& scanSources();
