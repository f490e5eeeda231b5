#include "integra/SemicolonCsv.h"

namespace {

bool blank(const std::vector<std::string>& fields) {
    for (const std::string& f : fields)
        for (const char c : f)
            if (c != ' ' && c != '\t')
                return false;
    return true;
}

} // namespace

std::vector<SemicolonCsv::Record> SemicolonCsv::parse(std::string_view text) {
    std::vector<Record> records;
    Record record;
    std::string field;
    int line = 1;
    bool atFieldStart = true;
    record.line = 1;

    auto endField = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        atFieldStart = true;
    };
    auto endRecord = [&](int nextLine) {
        endField();
        if (!blank(record.fields))
            records.push_back(std::move(record));
        record = Record();
        record.line = nextLine;
    };

    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (atFieldStart && c == '"') {
            const int startLine = line;
            ++i;
            for (;;) {
                if (i >= text.size())
                    throw Unterminated{startLine};
                const char q = text[i];
                if (q == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (q == '\n' || (q == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n')))
                    ++line;
                field += q;
                ++i;
            }
            atFieldStart = false;
            continue;
        }
        atFieldStart = false;
        if (c == ';') {
            endField();
            ++i;
        } else if (c == '\r' || c == '\n') {
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            ++line;
            endRecord(line);
        } else {
            field += c;
            ++i;
        }
    }
    // The last record, unless the text ended with its line break.
    if (!field.empty() || !record.fields.empty() || !atFieldStart)
        endRecord(line);
    return records;
}
