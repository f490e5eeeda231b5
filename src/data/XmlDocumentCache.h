#pragma once

#include "platform/Paths.h"

#include <memory>
#include <string>

class XmlDocument;

/// Keeps the last XML document read, so the transfers that point the providers at the same document
/// again and again (one transform per addition) parse it once. A document is read again when its
/// file changed on disk (size or modification time) or after clear().
class XmlDocumentCache {
public:
    /// The document of that file. Throws AppError as XmlDocument::loadFile does.
    std::shared_ptr<const XmlDocument> load(const std::string& path);
    /// Records a document just written to path (its file must exist).
    void put(const std::string& path, std::shared_ptr<const XmlDocument> document);
    void clear();

private:
    static bool stampOf(const std::string& path, FileStamp& stamp);

    std::string m_path;
    FileStamp m_stamp;
    std::shared_ptr<const XmlDocument> m_document;
};
