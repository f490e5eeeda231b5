#include "cadastros/Registry.h"

#include "base/TextUtils.h"

std::string Registry::notFoundQuestion(const std::string& code) const {
    return name + " " + code + notFoundSuffix;
}

std::string Registry::deleteQuestion(const std::string& code, const std::string& description) const {
    return "Excluir " + name + " " + code + "\r" + description + "?";
}

const Registry& Registry::unidade() {
    static const Registry r{"TfrmUnidade",
                            "Cadastro de Unidade",
                            "UNIDADE",
                            "ID_UNIDADE",
                            "Unidade",
                            "Unidades",
                            "Campo UNIDADE obrigatório!",
                            " não encontrada, incluir?",
                            true,
                            "INTEGR_UNIDADE.XTR",
                            "K_COD_UNIDAD",
                            "DESC_UNIDAD"};
    return r;
}

const Registry& Registry::pais() {
    // The country window's code field has no Enter, Exit or ALT+V handling: its lookup runs only when
    // the window is shown.
    static const Registry r{"TfrmPais",
                            "Cadastro de País",
                            "PAIS",
                            "ID_PAIS",
                            "País",
                            "Países",
                            "Campo PAÍS obrigatório!",
                            " não encontrado, incluir?",
                            false,
                            "INTEGR_PAIS.XTR",
                            "K_COD_PAIS",
                            "NOM_PAIS"};
    return r;
}

const Registry& Registry::exportador() {
    static const Registry r{"TfrmExportador",
                            "Cadastro de Exportador",
                            "EXPORTADOR",
                            "ID_EXPORTADOR",
                            "Exportador",
                            "Exportadores",
                            "Campo NOME obrigatório!",
                            " não encontrado, incluir?",
                            true,
                            "INTEGR_EXPORT.XTR",
                            "K_COD_IMPEXP",
                            "NOM_IMPEXP"};
    return r;
}

const Registry& Registry::fabricante() {
    static const Registry r{"TfrmFabricante",
                            "Cadastro de Fabricante",
                            "FABRICANTE",
                            "ID_FABRICANTE",
                            "Fabricante",
                            "Fabricantes",
                            "Campo NOME obrigatório!",
                            " não encontrado, incluir?",
                            true,
                            "INTEGR_FABRIC.XTR",
                            "K_COD_IMPEXP",
                            "NOM_IMPEXP"};
    return r;
}

const std::vector<const Registry*>& Registry::all() {
    static const std::vector<const Registry*> list = {&exportador(), &fabricante(), &pais(), &unidade()};
    return list;
}

const Registry* Registry::byTable(const std::string& table) {
    for (const Registry* r : all())
        if (upperAscii(trim(table)) == r->table)
            return r;
    return nullptr;
}

const Registry* Registry::byName(const std::string& name) {
    for (const Registry* r : all())
        if (upperAscii(trim(name)) == upperAscii(r->name))
            return r;
    return nullptr;
}
