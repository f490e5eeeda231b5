#include "platform/TextCase.h"

namespace {

// Latin-1 letters in UTF-8 are C3 80..C3 BE; upper case C3 80..C3 9E, lower case C3 A0..C3 BE,
// with × (C3 97) and ÷ (C3 B7) outside the pairs. Folding keeps byte lengths, so positions found
// in a folded text are positions in the original.
std::string mapCase(const std::string& s, bool toUpper) {
    std::string out = s;
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (c < 0x80) {
            if (toUpper && c >= 'a' && c <= 'z')
                out[i] = static_cast<char>(c - 32);
            else if (!toUpper && c >= 'A' && c <= 'Z')
                out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            unsigned char d = static_cast<unsigned char>(out[i + 1]);
            if (toUpper && d >= 0xA0 && d <= 0xBE && d != 0xB7)
                out[i + 1] = static_cast<char>(d - 0x20);
            else if (!toUpper && d >= 0x80 && d <= 0x9E && d != 0x97)
                out[i + 1] = static_cast<char>(d + 0x20);
            ++i;
        }
    }
    return out;
}

} // namespace

std::string upperAscii(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return out;
}

std::string upperText(const std::string& s) {
    return mapCase(s, true);
}
std::string foldCase(const std::string& s) {
    return mapCase(s, false);
}
bool equalsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && foldCase(a) == foldCase(b);
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}
bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}
