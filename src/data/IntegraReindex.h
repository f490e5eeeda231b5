#pragma once

#include <string>
#include <vector>

struct AppContext;

/// The maintenance command that rebuilds the index of every Integra table (menu "&Recriar Índices",
/// CTRL+I): each index is switched off and on again, which makes the engine build it anew.
namespace IntegraReindex {

inline constexpr const char* ProgressTitle = "Preparando a Reindexação dos arquivos, Aguarde...";
inline constexpr const char* StepPrefix = "Reindexando Tabela ";
inline constexpr const char* SuccessMessage = "Índices recriados com sucesso!";
inline constexpr const char* Caption = "Pelomira";
inline constexpr const char* LogProcedure = "Recriando Índices";
inline constexpr const char* BalloonHead = "Ocorreu o seguinte erro ao tentar recriar os índices: ";
inline constexpr const char* BalloonTail = "Por favor entre em contato com o Suporte Técnico.";

/// The tables in the order they are reindexed; each index carries its table's name.
const std::vector<std::string>& tableOrder();

/// Runs the command with the progress window. A failure stops at the failing table (the ones before
/// it stay done), goes to ERRO.CSV and to the notification balloon, never to a message box.
/// Returns true when every index was rebuilt.
bool run(AppContext& ctx);

} // namespace IntegraReindex
