#pragma once

#include "base/AppError.h"

#include <functional>
#include <string>

/// The text of the AppError the call throws, or "(no failure)".
inline std::string failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AppError& e) {
        return e.what();
    }
    return "(no failure)";
}
