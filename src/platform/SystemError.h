#pragma once

#include <string>
#include <system_error>

// Why the system refused something, in the operator's language. The C library's own texts are
// English whatever the locale of the machine, and the program never depends on the process locale.

/// The reason for an errno value ("permissão negada", "disco cheio" …); an unusual value keeps the
/// system's text with its number.
std::string systemErrorText(int errnum);
/// The same for an error code of the standard library (its system category carries errno values).
std::string systemErrorText(const std::error_code& code);
