#pragma once

#include <map>
#include <string>
#include <vector>

/// What the stand-in does with one request.
struct SimDirective {
    enum class Mode { Normal, Refuse, NotFound, Garbage, Html, Empty, Fault, Error };
    Mode mode = Mode::Normal;
    int status = 0;      // Error: the HTTP status sent
    long delayMs = 0;    // waited before answering
    bool strict = false; // soap: values must fit their element's type (decimal, dateTime)
};

/// The behaviour rules of merlin-sim. A rule is one line:
///
///   OPERATION[@KEY]=DIRECTIVES      OPERATION is process, retorno or soap; KEY narrows the rule to
///                                   one P_TRAMITE (process), ID_PROCESSO (retorno) or ENTITY (soap)
///   OPERATION.reason=TEXT[|TEXT…]   the refusal texts of retorno or soap
///
/// DIRECTIVES are words separated by blanks or commas: accept (or ok), refuse, notfound, garbage,
/// html, empty, fault, error:STATUS, delay:MILLISECONDS, silent (no answer for an hour), strict (soap:
/// values must fit their types).
/// A later rule replaces an earlier one with the same operation and key.
class SimRules {
public:
    /// Adds one rule; throws std::invalid_argument with the reason when it is not understood.
    void add(const std::string& rule);
    /// Adds every rule of a file (blank lines and lines starting with "#" skipped). A line that is not
    /// understood is skipped and its reason appended to problems. A missing file adds nothing.
    void addFile(const std::string& path, std::vector<std::string>& problems);

    /// The rule for this operation and key, else the operation's general rule, else Normal.
    SimDirective directive(const std::string& operation, const std::string& key) const;
    /// The configured refusal texts of an operation (empty when none).
    std::vector<std::string> reasons(const std::string& operation) const;

    static SimDirective parseDirectives(const std::string& text);

private:
    std::map<std::string, SimDirective> m_directives; // "operation" or "operation@key"
    std::map<std::string, std::vector<std::string>> m_reasons;
};
