#pragma once

#include <string>

/// The statements that create the six tables of the Integra database and their indices
/// (share/integra/integra.sql, built into the program).
const std::string& integraSchemaSql();
