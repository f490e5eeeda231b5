#include "data/XmlTransformProvider.h"

#include "base/AppError.h"
#include "data/RecordTable.h"
#include "data/XmlDocument.h"
#include "data/XmlDocumentCache.h"
#include "data/XmlTransform.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/SystemError.h"

#include <cerrno>

XmlTransformProvider::XmlTransformProvider(std::string name, XmlDocumentCache& documents)
    : m_name(std::move(name)), m_documents(documents) {}

std::string XmlTransformProvider::findTransformFile(const Platform& platform, const std::string& folder,
                                                    const std::string& fileName) {
    const std::string joined = joinPath(folder, fileName);
    if (fileExists(joined))
        return joined;
    if (const auto found = platform.findFileNoCase(folder, fileName))
        return *found;
    return joined;
}

void XmlTransformProvider::setTransformation(const Platform& platform, const std::string& folder,
                                             const std::string& fileName) {
    const std::string path = findTransformFile(platform, folder, fileName);
    m_transformRead = path;
    m_transformWrite = path;
}

std::shared_ptr<const XmlTransform> XmlTransformProvider::transform() {
    if (m_transformRead.empty())
        throw AppError("O provedor " + m_name + " não tem arquivo de transformação.");
    // One look at the file per use: a transfer reads the same transformation once per unit.
    const FileStamp stamp = fileStamp(m_transformRead);
    if (stamp.kind == FileStamp::Kind::Missing && stamp.error == 0)
        throw AppError("Arquivo de transformação não encontrado: " + m_transformRead);
    if (stamp.kind == FileStamp::Kind::Folder)
        throw AppError("O arquivo de transformação " + m_transformRead + " é uma pasta, não um arquivo.");
    if (stamp.kind != FileStamp::Kind::Regular)
        throw AppError("Arquivo de transformação " + m_transformRead +
                       " ilegível: " + systemErrorText(stamp.error ? stamp.error : ENOTSUP));
    auto it = m_transforms.find(m_transformRead);
    if (it != m_transforms.end() && it->second.stamp == stamp)
        return it->second.transform;
    auto compiled = XmlTransform::loadFile(m_transformRead);
    m_transforms[m_transformRead] = CachedTransform{stamp, compiled, {}, nullptr, 0};
    return compiled;
}

std::shared_ptr<RecordTable> XmlTransformProvider::provide() {
    if (m_dataFile.empty())
        throw AppError("O provedor " + m_name + " não tem arquivo XML de dados.");
    const auto compiled = transform();
    const auto document = m_documents.load(m_dataFile);
    const auto it = m_transforms.find(m_transformRead);
    if (it != m_transforms.end() && it->second.transform == compiled && it->second.rows &&
        it->second.document.lock() == document && it->second.rows->version() == it->second.rowsVersion)
        return it->second.rows;
    auto rows = compiled->apply(*document);
    if (it != m_transforms.end() && it->second.transform == compiled) {
        it->second.document = document;
        it->second.rows = rows;
        it->second.rowsVersion = rows->version();
    }
    return rows;
}
