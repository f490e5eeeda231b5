#pragma once

#include "cadastros/CodeMapping.h"
#include "integra/IntegrationWalk.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct AppContext;

/// The code mapping as an integration uses it: each customer code is looked up once per run (a file
/// repeats the same few codes on every line); a code without a Merlin code is asked for in the mapping
/// window until one is saved. When nobody can be asked (an unattended run), the code is noted and the
/// walk goes on, so that requireAll() can name every missing mapping at once.
class MappingTranslator : public CodeTranslator {
public:
    MappingTranslator(AppContext& ctx, std::string customer);

    std::string merlinCode(std::string_view registry, std::string_view customerCode) override;

    /// Throws AppError listing every code that has no Merlin code, one per line, in order of first use.
    void requireAll() const;
    const std::vector<std::pair<std::string, std::string>>& missing() const { return m_missing; }

private:
    AppContext& m_ctx;
    CodeMapping m_mapping;
    std::string m_customer;
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    // registry, a line break and the code as the file has it → its Merlin code: a file repeats its codes
    // line after line
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> m_known;
    std::string m_key;
    std::vector<std::pair<std::string, std::string>> m_missing; // (registry, code)
};
