#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

/// A parsed XML document with the text it was parsed from (parsing happens in place).
///
/// Reading is strict and safe: the text must be UTF-8 (a UTF-16 text with its byte-order mark, and a
/// single-byte text whose declaration names ISO-8859-1 or windows-1252, are converted); a document
/// type declaration is skipped and no entity beyond the five predefined ones and character
/// references is ever expanded, so nothing outside the document is read. Every failure is an
/// AppError naming the source and, where there is one, the line.
class XmlDocument {
public:
    /// Larger documents are refused before they are read into memory.
    static constexpr std::size_t MaxBytes = std::size_t(256) << 20;

    static std::shared_ptr<const XmlDocument> loadFile(const std::string& path);
    /// A document held in memory (the answer of a web request). sourceName names it in messages.
    static std::shared_ptr<const XmlDocument> parseText(const std::string& text, const std::string& sourceName);

    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    const pugi::xml_document& document() const { return m_doc; }
    pugi::xml_node root() const { return m_doc.document_element(); }
    const std::string& sourceName() const { return m_source; }
    /// The line (from 1) where a node of this document starts, 0 when unknown.
    int lineOf(const pugi::xml_node& node) const;

    /// Writes the document as UTF-8 with a declaration saying so, replacing path in one step
    /// (a failure leaves the old file as it was). Throws AppError.
    void saveUtf8(const std::string& path) const;

private:
    // The bytes parsed in place; not zero-filled first, as a std::string would be.
    struct Buffer {
        Buffer() = default;
        explicit Buffer(std::size_t n) : data(new char[n == 0 ? 1 : n]), size(n) {}
        std::string_view view() const { return std::string_view(data.get(), size); }
        static Buffer copyOf(std::string_view text) {
            Buffer b(text.size());
            std::memcpy(b.data.get(), text.data(), text.size());
            return b;
        }
        std::unique_ptr<char[]> data;
        std::size_t size = 0;
    };

    XmlDocument() = default;
    static std::shared_ptr<const XmlDocument> parseBytes(Buffer bytes, const std::string& sourceName);

    Buffer m_buffer;
    pugi::xml_document m_doc;
    std::string m_source;
};
