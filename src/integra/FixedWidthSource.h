#pragma once

#include "integra/FixedWidthLine.h"
#include "integra/IntegrationWalk.h"

/// The fields of a fixed-width line, by the rules' positions and lengths.
class FixedWidthSource : public FieldSource {
public:
    explicit FixedWidthSource(std::string_view line) : m_line(line) {}
    std::string_view raw(const ElementRule& rule) const override { return m_line.field(rule.position, rule.length); }
    const FixedWidthLine& line() const { return m_line; }

private:
    FixedWidthLine m_line;
};
