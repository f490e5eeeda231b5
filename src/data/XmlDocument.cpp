#include "data/XmlDocument.h"

#include "base/AppError.h"
#include "base/TextUtils.h"
#include "platform/SystemError.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Offset of the first byte that breaks UTF-8, or npos when the whole text is well formed.
std::size_t firstInvalidUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        // Runs of plain ASCII are the bulk of a document: step over them eight bytes at a time.
        while (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            if (word & 0x8080808080808080ull)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len;
        std::uint32_t cp, min;
        if ((c & 0xE0) == 0xC0)
            len = 2, cp = c & 0x1F, min = 0x80;
        else if ((c & 0xF0) == 0xE0)
            len = 3, cp = c & 0x0F, min = 0x800;
        else if ((c & 0xF8) == 0xF0)
            len = 4, cp = c & 0x07, min = 0x10000;
        else
            return i;
        if (i + len > n)
            return i;
        for (std::size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return i;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return i;
        i += len;
    }
    return std::string::npos;
}

// Line and column (from 1) of a byte offset.
std::pair<int, int> lineColumn(std::string_view text, std::size_t offset) {
    int line = 1;
    std::size_t lineStart = 0;
    const std::size_t end = std::min(offset, text.size());
    for (std::size_t i = 0; i < end; ++i)
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    return {line, static_cast<int>(end - lineStart) + 1};
}

std::string where(std::string_view text, std::size_t offset) {
    const auto [line, column] = lineColumn(text, offset);
    return "linha " + std::to_string(line) + ", coluna " + std::to_string(column);
}

// The encoding named by the XML declaration at the start of the text, lower case ("" when none).
std::string declaredEncoding(std::string_view text, std::size_t start) {
    if (text.compare(start, 5, "<?xml") != 0)
        return {};
    const std::size_t end = text.find("?>", start);
    if (end == std::string::npos)
        return {};
    const std::string decl(text.substr(start, end - start));
    const std::size_t at = decl.find("encoding");
    if (at == std::string::npos)
        return {};
    std::size_t q = decl.find_first_of("\"'", at);
    if (q == std::string::npos)
        return {};
    const std::size_t close = decl.find(decl[q], q + 1);
    if (close == std::string::npos)
        return {};
    return foldCase(decl.substr(q + 1, close - q - 1));
}

bool isSingleByteEncoding(const std::string& enc) {
    return enc == "iso-8859-1" || enc == "iso8859-1" || enc == "latin1" || enc == "latin-1" || enc == "windows-1252" ||
           enc == "cp1252" || enc == "iso-8859-15";
}

bool isXmlChar(std::uint32_t cp) {
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) || (cp >= 0xE000 && cp <= 0xFFFD) ||
           (cp >= 0x10000 && cp <= 0x10FFFF);
}

std::size_t findBytes(std::string_view text, std::size_t from, std::string_view what) {
    if (from >= text.size())
        return std::string_view::npos;
    const void* at = ::memmem(text.data() + from, text.size() - from, what.data(), what.size());
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text.data()) : std::string_view::npos;
}

// True when offset lies inside a CDATA section, a comment or a processing instruction, where "&#" is
// plain text. Only asked about a reference found wrong, so its cost never touches a good document.
bool insideLiteralSection(std::string_view text, std::size_t offset) {
    std::size_t pos = 0;
    while (pos < offset) {
        const std::size_t start = std::min(findBytes(text, pos, "<!"), findBytes(text, pos, "<?"));
        if (start >= offset)
            return false;
        std::string_view close;
        if (text.compare(start, 9, "<![CDATA[") == 0)
            close = "]]>";
        else if (text.compare(start, 4, "<!--") == 0)
            close = "-->";
        else if (text.compare(start, 2, "<?") == 0)
            close = "?>";
        if (close.empty()) {
            pos = start + 2;
            continue;
        }
        const std::size_t end = findBytes(text, start + 2, close);
        if (end == std::string_view::npos || end + close.size() > offset)
            return true;
        pos = end + close.size();
    }
    return false;
}

// A character reference must name a character a document may hold: &#0; would cut a value short, and a
// surrogate or a number past U+10FFFF would put bytes that are no UTF-8 into it.
void checkCharacterReferences(std::string_view text, const std::string& sourceName) {
    const std::size_t n = text.size();
    const char* const base = text.data();
    std::size_t pos = 0;
    while (pos < n) {
        const void* at = std::memchr(base + pos, '&', n - pos);
        if (!at)
            return;
        const std::size_t i = static_cast<std::size_t>(static_cast<const char*>(at) - base);
        pos = i + 1;
        if (i + 1 >= n || text[i + 1] != '#')
            continue;
        std::size_t j = i + 2;
        const bool hex = j < n && (text[j] == 'x' || text[j] == 'X');
        if (hex)
            ++j;
        std::uint32_t value = 0;
        std::size_t digits = 0;
        for (; j < n; ++j, ++digits) {
            const char c = text[j];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                break;
            value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d), 0x110000);
        }
        if (digits > 0 && j < n && text[j] == ';' && !isXmlChar(value) && !insideLiteralSection(text, i))
            throw AppError("O documento XML " + sourceName + " tem uma referência a um caractere que não existe (" +
                           std::string(text.substr(i, std::min<std::size_t>(j - i + 1, 24))) + ") na " +
                           where(text, i) + ".");
    }
}

const char* statusText(pugi::xml_parse_status status) {
    switch (status) {
    case pugi::status_out_of_memory:
        return "memória insuficiente";
    case pugi::status_unrecognized_tag:
        return "marcação não reconhecida";
    case pugi::status_bad_pi:
        return "instrução de processamento malformada";
    case pugi::status_bad_comment:
        return "comentário malformado";
    case pugi::status_bad_cdata:
        return "seção CDATA malformada";
    case pugi::status_bad_doctype:
        return "declaração de tipo de documento malformada";
    case pugi::status_bad_pcdata:
        return "texto malformado";
    case pugi::status_bad_start_element:
        return "marca de abertura malformada";
    case pugi::status_bad_attribute:
        return "atributo malformado";
    case pugi::status_bad_end_element:
        return "marca de fechamento malformada";
    case pugi::status_end_element_mismatch:
        return "marca de fechamento sem a abertura correspondente";
    case pugi::status_no_document_element:
        return "nenhum elemento encontrado";
    default:
        return "erro de leitura";
    }
}

// The text of the first <title> of an HTML page, cut to a readable length.
std::string htmlTitle(std::string_view text) {
    const std::string head(text.substr(0, std::min<std::size_t>(text.size(), 65536)));
    const std::string lower = foldCase(head);
    const std::size_t open = lower.find("<title");
    if (open == std::string::npos)
        return {};
    const std::size_t start = lower.find('>', open);
    const std::size_t close = lower.find("</title", open);
    if (start == std::string::npos || close == std::string::npos || close < start)
        return {};
    return trim(charSub(head.substr(start + 1, close - start - 1), 0, 120));
}

bool looksLikeHtml(std::string_view text, std::size_t start) {
    const std::string head = foldCase(std::string(text.substr(start, 64)));
    return startsWith(head, "<!doctype html") || startsWith(head, "<html");
}

[[noreturn]] void refuseHtml(std::string_view text, const std::string& source) {
    std::string msg = "O documento " + source +
                      " é uma página HTML, não um documento XML de dados (o servidor pode ter respondido com uma "
                      "página de erro).";
    const std::string title = htmlTitle(text);
    if (!title.empty())
        msg += " Título da página: " + title;
    throw AppError(msg);
}

} // namespace

std::shared_ptr<const XmlDocument> XmlDocument::loadFile(const std::string& path) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec || !fs::exists(status))
        throw AppError("Arquivo XML não encontrado: " + path);
    if (fs::is_directory(status))
        throw AppError("O caminho " + path + " é uma pasta, não um arquivo XML.");
    const auto size = fs::file_size(path, ec);
    if (ec)
        throw AppError("Não foi possível ler o arquivo XML " + path + ": " + systemErrorText(ec));
    if (size > MaxBytes)
        throw AppError("O arquivo XML " + path + " é grande demais (" + std::to_string(size >> 20) +
                       " MB; o limite é " + std::to_string(MaxBytes >> 20) + " MB).");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw AppError("Não foi possível abrir o arquivo XML " + path + ".");
    Buffer bytes(static_cast<std::size_t>(size));
    in.read(bytes.data.get(), static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(in.gcount()) != size)
        throw AppError("Não foi possível ler o arquivo XML " + path + " até o fim.");
    return parseBytes(std::move(bytes), path);
}

std::shared_ptr<const XmlDocument> XmlDocument::parseText(const std::string& text, const std::string& sourceName) {
    if (text.size() > MaxBytes)
        throw AppError("O documento XML " + sourceName + " é grande demais (" + std::to_string(text.size() >> 20) +
                       " MB; o limite é " + std::to_string(MaxBytes >> 20) + " MB).");
    Buffer bytes(text.size());
    std::memcpy(bytes.data.get(), text.data(), text.size());
    return parseBytes(std::move(bytes), sourceName);
}

std::shared_ptr<const XmlDocument> XmlDocument::parseBytes(Buffer bytes, const std::string& sourceName) {
    std::shared_ptr<XmlDocument> doc(new XmlDocument());
    doc->m_source = sourceName;

    const std::string_view text = bytes.view();
    std::size_t start = 0;
    const bool utf16 = text.size() >= 2 &&
                       ((static_cast<unsigned char>(text[0]) == 0xFF && static_cast<unsigned char>(text[1]) == 0xFE) ||
                        (static_cast<unsigned char>(text[0]) == 0xFE && static_cast<unsigned char>(text[1]) == 0xFF));
    const pugi::xml_encoding encoding = pugi::encoding_utf8;
    if (utf16) {
        // Converted first, so that every document goes through the same checks.
        const auto converted = utf16ToUtf8(text.substr(2), static_cast<unsigned char>(text[0]) == 0xFE, true);
        if (!converted)
            throw AppError("O documento XML " + sourceName + " não é um texto UTF-16 válido.");
        return parseBytes(Buffer::copyOf(*converted), sourceName);
    }
    {
        if (text.substr(0, 3) == "\xEF\xBB\xBF")
            start = 3;
        while (start < text.size() &&
               (text[start] == ' ' || text[start] == '\t' || text[start] == '\r' || text[start] == '\n'))
            ++start;
        if (start >= text.size())
            throw AppError("O documento XML " + sourceName + " está vazio.");
        if (looksLikeHtml(text, start))
            refuseHtml(text, sourceName);
        const std::size_t bad = firstInvalidUtf8(text);
        if (bad != std::string::npos) {
            const std::string enc = declaredEncoding(text, start);
            if (!isSingleByteEncoding(enc)) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(text[bad]));
                throw AppError("O documento XML " + sourceName + " não está codificado em UTF-8 (byte " + hex +
                               " inválido na " + where(text, bad) + ")" +
                               (enc.empty() ? std::string(".") : "; a codificação declarada é " + enc + "."));
            }
            bytes = Buffer::copyOf(windows1252ToUtf8(text));
        }
        checkCharacterReferences(bytes.view(), sourceName);
    }

    doc->m_buffer = std::move(bytes);
    // The text of an element is kept as the element's value (no separate node): less memory and a
    // faster walk for documents made of thousands of small elements.
    const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;
    const pugi::xml_parse_result result =
        doc->m_doc.load_buffer_inplace(doc->m_buffer.data.get(), doc->m_buffer.size, options, encoding);
    if (!result) {
        if (result.status == pugi::status_no_document_element)
            throw AppError("O documento XML " + sourceName + " não contém nenhum elemento.");
        throw AppError("O documento " + sourceName + " não é um XML válido: " + statusText(result.status) + " (" +
                       where(doc->m_buffer.view(), static_cast<std::size_t>(result.offset)) + ").");
    }
    const std::string rootName = foldCase(doc->root().name());
    if (rootName == "html")
        refuseHtml(doc->m_buffer.view(), sourceName);
    return doc;
}

int XmlDocument::lineOf(const pugi::xml_node& node) const {
    const std::ptrdiff_t offset = node.offset_debug();
    if (offset < 0)
        return 0;
    return lineColumn(m_buffer.view(), static_cast<std::size_t>(offset)).first;
}

void XmlDocument::saveUtf8(const std::string& path) const {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            throw AppError("Não foi possível gravar o arquivo " + path + ".");
        // Serialised in memory and written at once: a document of thousands of additions is megabytes.
        struct Collect : pugi::xml_writer {
            std::string text;
            void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
        } collect;
        collect.text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        m_doc.save(collect, "  ", pugi::format_default | pugi::format_no_declaration, pugi::encoding_utf8);
        out.write(collect.text.data(), static_cast<std::streamsize>(collect.text.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw AppError("Não foi possível gravar o arquivo " + path + " (disco cheio ou sem permissão).");
        }
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw AppError("Não foi possível gravar o arquivo " + path + ": " + systemErrorText(ec));
    }
}
