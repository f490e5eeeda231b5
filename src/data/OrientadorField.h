#pragma once

#include <string>

/// The kinds of field the Orientador tables hold, as the field writers see them.
enum class OrientadorFieldType { Text, Memo, Floating, Currency, Integer, YesNo, Date };

/// One column of an Orientador table: its name, its kind and, for texts, its width in characters
/// (0 for an unbounded memo and for every other kind).
struct OrientadorField {
    std::string name;
    OrientadorFieldType type = OrientadorFieldType::Text;
    int width = 0;
    /// The declared type as the file states it ("TEXT(8)", "CURRENCY" …).
    std::string declaredType;
    /// The dataset type name of the column ("ftString", "ftFloat" …), for the table export.
    std::string typeName;
    /// Smallest and largest value of an integer column.
    long long minValue = 0;
    long long maxValue = 0;

    /// The field a declared type stands for. Throws AppError naming the column for a type this store
    /// does not know.
    static OrientadorField fromDeclaredType(const std::string& name, const std::string& declaredType);
};

/// "texto(8)", "ponto flutuante", "moeda" …: the kind of a field in words, for messages.
std::string orientadorFieldTypeText(const OrientadorField& field);
