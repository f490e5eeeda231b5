#include "data/XmlDocumentCache.h"

#include "data/XmlDocument.h"

bool XmlDocumentCache::stampOf(const std::string& path, FileStamp& stamp) {
    stamp = fileStamp(path);
    return stamp.kind == FileStamp::Kind::Regular;
}

std::shared_ptr<const XmlDocument> XmlDocumentCache::load(const std::string& path) {
    FileStamp stamp;
    if (m_document && path == m_path && stampOf(path, stamp) && stamp == m_stamp)
        return m_document;
    // Let go of the old document before reading a new one: only one is ever held.
    m_document.reset();
    m_path.clear();
    FileStamp before;
    const bool stamped = stampOf(path, before);
    auto document = XmlDocument::loadFile(path);
    if (stamped) {
        m_path = path;
        m_stamp = before;
        m_document = document;
    }
    return document;
}

void XmlDocumentCache::put(const std::string& path, std::shared_ptr<const XmlDocument> document) {
    FileStamp stamp;
    if (!stampOf(path, stamp)) {
        clear();
        return;
    }
    m_path = path;
    m_stamp = stamp;
    m_document = std::move(document);
}

void XmlDocumentCache::clear() {
    m_document.reset();
    m_path.clear();
}
