#pragma once

#include "data/DataProvider.h"
#include "platform/Paths.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class Platform;
class XmlDocument;
class XmlDocumentCache;
class XmlTransform;

/// A provider that fills record sets from an XML data file through a transformation file (.xtr).
/// The read and write transformations are kept as two settings, as the providers always had them,
/// and are always set to the same file; only the read one is used (nothing is written back).
class XmlTransformProvider : public DataProvider {
public:
    XmlTransformProvider(std::string name, XmlDocumentCache& documents);

    const std::string& name() const override { return m_name; }

    void setXMLDataFile(const std::string& path) { m_dataFile = path; }
    const std::string& xmlDataFile() const { return m_dataFile; }
    void setTransformRead(const std::string& path) { m_transformRead = path; }
    void setTransformWrite(const std::string& path) { m_transformWrite = path; }
    const std::string& transformRead() const { return m_transformRead; }
    const std::string& transformWrite() const { return m_transformWrite; }

    /// Sets both transformations to the file fileName of folder, found there without regard to case
    /// (DI.xtr and DI.XTR are the same file).
    void setTransformation(const Platform& platform, const std::string& folder, const std::string& fileName);
    /// folder + fileName as it exists on disk (any case), or joined as given when no such file exists
    /// (reading it then reports the missing file).
    static std::string findTransformFile(const Platform& platform, const std::string& folder,
                                         const std::string& fileName);

    /// The rows of the data file through the read transformation. Throws AppError when either file is
    /// not set, missing or faulty.
    std::shared_ptr<RecordTable> provide() override;
    /// The read transformation, compiled (cached while its file is unchanged).
    std::shared_ptr<const XmlTransform> transform();

private:
    struct CachedTransform {
        FileStamp stamp;
        std::shared_ptr<const XmlTransform> transform;
        // The rows it made of a document, given again while neither changed and nobody edited them: a
        // transfer opens the same view of one document once per licence or addition.
        std::weak_ptr<const XmlDocument> document;
        std::shared_ptr<RecordTable> rows;
        std::uint64_t rowsVersion = 0;
    };

    std::string m_name;
    XmlDocumentCache& m_documents;
    std::string m_dataFile;
    std::string m_transformRead;
    std::string m_transformWrite;
    std::map<std::string, CachedTransform> m_transforms;
};
