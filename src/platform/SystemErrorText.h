#pragma once

#include <string>

/// The reason of a failed system call (an errno value) in the operator's language. The C library's own
/// texts follow the process locale and are English on most installations.
std::string systemErrorText(int code);
