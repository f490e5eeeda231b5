#include "data/XmlTransformProvider.h"

#include "base/AppError.h"
#include "data/RecordTable.h"
#include "data/XmlDocument.h"
#include "data/XmlDocumentCache.h"
#include "data/XmlTransform.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/SystemError.h"

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
    std::error_code ec;
    const auto status = std::filesystem::status(m_transformRead, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        throw AppError("Arquivo de transformação não encontrado: " + m_transformRead);
    if (status.type() == std::filesystem::file_type::directory)
        throw AppError("O arquivo de transformação " + m_transformRead + " é uma pasta, não um arquivo.");
    const auto size = std::filesystem::file_size(m_transformRead, ec);
    if (ec)
        throw AppError("Arquivo de transformação " + m_transformRead + " ilegível: " + systemErrorText(ec));
    const auto time = std::filesystem::last_write_time(m_transformRead, ec);
    auto it = m_transforms.find(m_transformRead);
    if (!ec && it != m_transforms.end() && it->second.size == size && it->second.time == time)
        return it->second.transform;
    auto compiled = XmlTransform::loadFile(m_transformRead);
    if (!ec)
        m_transforms[m_transformRead] = CachedTransform{size, time, compiled, {}, nullptr, 0};
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
