#include "retorno/ScanSources.h"

#include <algorithm>

std::vector<std::string> ScanSource::fieldsRead() const {
    std::vector<std::string> fields;
    auto add = [&fields](const std::string& f) {
        if (!f.empty() && std::find(fields.begin(), fields.end(), f) == fields.end())
            fields.push_back(f);
    };
    add(registro);
    add(nrProcesso);
    add(dataProcesso.field);
    add(nrProtocolo);
    add(dataProcessamento.field);
    add(dataTransmissao.field);
    add(yearField);
    for (const std::string& f : manualSelection)
        add(f);
    return fields;
}

const std::vector<ScanSource>& scanSources() {
    using D = ScanDate;
    static const std::vector<ScanSource> sources = {
        {"LSI",
         "LIDSI.MDB",
         "OPERAÇÃO_COM_TRATAMENTO",
         "NR_TRAT_IMP_MICRO",
         "NR_OPER_TRAT_PREV",
         {"DT_REG_OPER_TRAT", D::DateField},
         "NR_OPER_TRAT_PROT",
         {},
         {},
         "DT_REG_OPER_TRAT",
         7,
         {"NR_OPER_TRAT_PREV", "DT_REG_OPER_TRAT", "NR_OPER_TRAT_PROT"},
         "DT_REG_OPER_TRAT <> null",
         "Carregando Processos de LSI..."},
        {"DSI",
         "DSI.MDB",
         "DSI_DADOS_GERAIS",
         "CD_DSI_MICRO",
         "NR_DECL_SIMPL_IMP",
         {"DT_REGISTRO_DSI", D::DateField},
         "NR_DECL_IMP_PROT",
         {},
         {"DT_TRANSMISSAO", D::DateField},
         "DT_REGISTRO_DSI",
         7,
         {"NR_DECL_SIMPL_IMP", "DT_REGISTRO_DSI", "NR_DECL_IMP_PROT", "DT_TRANSMISSAO"},
         "DT_REGISTRO_DSI <> null",
         "Carregando Processos de DSI..."},
        {"LI",
         "REGIMP.MDB",
         "OPERAÇÃO_COM_TRATAMENTO",
         "NR_IDENT_USUARIO",
         "NR_OPER_TRAT_PREV",
         {"DT_REG_OPER_TRAT", D::DateField},
         "NR_OPER_TRAT_PROT",
         {},
         {},
         "DT_REG_OPER_TRAT",
         7,
         {"NR_OPER_TRAT_PREV", "DT_REG_OPER_TRAT", "NR_OPER_TRAT_PROT"},
         "DT_REG_OPER_TRAT <> ''",
         "Carregando Processos de LI..."},
        {"DI",
         "IMPORT.MDB",
         "DECLARAÇÃO_IMPORTAÇÃO",
         "NR_IDENT_USUARIO",
         "NR_DECLARACAO_IMP",
         {"DT_REGISTRO_DI", D::DayMonthYear8},
         "NR_DECL_IMP_PROT",
         {"DT_PROCESSAMENTO", D::DayMonthYear8},
         {"DT_TRANSMISSAO", D::DayMonthYear8},
         "DT_REGISTRO_DI",
         5,
         {"NR_DECLARACAO_IMP", "DT_REGISTRO_DI", "NR_DECL_IMP_PROT", "DT_PROCESSAMENTO", "DT_TRANSMISSAO"},
         "DT_REGISTRO_DI <> ''",
         "Carregando Processos de DI..."},
    };
    return sources;
}
