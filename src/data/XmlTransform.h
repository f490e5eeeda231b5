#pragma once

#include "data/RecordSchema.h"

#include <memory>
#include <string>

class RecordTable;
class XmlDocument;

/// Turns an XML document into record set rows by following a transformation file (.xtr).
///
/// The .xtr format (share/xtr/README.md has the full description):
///
///   <transformation>
///     <rows path="PROCESSOS/PROCESSO">          one row per element found at the path (from the root)
///       <fields>ID_PROCESSO TIPO_PROCESSO</fields>  value fields read from child elements of the same name
///       <field name="CODIGO" element="A/B" attribute="cod"/>  a field read from elsewhere
///       <set name="ADICAO" path="ADICAO">        a nested set: one row per element at the path below the row
///         ...
///       </set>
///     </rows>
///   </transformation>
///
/// A field whose element (or attribute) is missing from a row reads as null; an element that is
/// present but empty reads as the empty text. Fields and sets keep the order of the file.
class XmlTransform {
public:
    /// Reads and checks a transformation file. Throws AppError naming the file (and line) when it is
    /// missing, not XML, or not a valid transformation.
    static std::shared_ptr<const XmlTransform> loadFile(const std::string& path);
    /// The same from a text; sourceName names it in messages.
    static std::shared_ptr<const XmlTransform> parse(const std::string& text, const std::string& sourceName);

    ~XmlTransform();
    XmlTransform(const XmlTransform&) = delete;
    XmlTransform& operator=(const XmlTransform&) = delete;

    /// The field list of the rows (nested sets included).
    std::shared_ptr<const RecordSchema> schema() const;
    /// The rows the transformation finds in the document (none when the row path matches nothing).
    std::shared_ptr<RecordTable> apply(const XmlDocument& document) const;
    const std::string& sourceName() const { return m_source; }

    struct SetRule;

private:
    XmlTransform() = default;
    static std::shared_ptr<const XmlTransform> compile(const XmlDocument& xtr, const std::string& source);

    std::unique_ptr<SetRule> m_rows;
    int m_setCount = 0;
    std::string m_source;
};
