#include "export/TableFileWriter.h"

#include <cstdio>

namespace {

std::string utf8Of(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

} // namespace

std::string exportValueProblemText(const std::string& table, long long row, const std::string& column,
                                   const EncodingProblem& problem, const std::string& fileKind) {
    std::string what;
    if (row < 0)
        what = "O nome da tabela " + table;
    else if (row == 0)
        what = "O nome da coluna " + column + " da tabela " + table;
    else
        what = "O valor da coluna " + column + " do registro " + std::to_string(row) + " da tabela " + table;
    switch (problem.kind) {
    case EncodingProblem::Kind::InvalidUtf8: {
        char byte[8];
        std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned>(problem.character));
        return what + " não é um texto válido (byte " + byte + "h) e não pode ser gravado no arquivo " + fileKind +
               ".\rCorrija o valor no Orientador - SISCOMEX.";
    }
    case EncodingProblem::Kind::NotInCodePage:
        return what + " contém o caractere \"" + utf8Of(problem.character) + "\" (" + codePointText(problem.character) +
               "), que não existe na página de código 1252 (Windows) do arquivo " + fileKind +
               ".\rCorrija o valor no Orientador - SISCOMEX ou exporte as tabelas em XML.";
    case EncodingProblem::Kind::NotAllowedInXml:
        return what + " contém um caractere de controle (" + codePointText(problem.character) +
               ") que não pode ser gravado no arquivo " + fileKind + ".\rCorrija o valor no Orientador - SISCOMEX.";
    case EncodingProblem::Kind::None:
        break;
    }
    return what + " não pode ser gravado no arquivo " + fileKind + ".";
}
