#pragma once

#include <stdexcept>
#include <string>

/// The one error type of the program. Every failure inside an operation is an AppError (or derives
/// from it) and is caught at exactly one boundary, where the operator sees it and ERRO.CSV gets a line.
class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& message) : std::runtime_error(message) {}
};
