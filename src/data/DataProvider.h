#pragma once

#include <memory>
#include <string>

class RecordTable;

/// What fills a record set when it opens without being bound to a nested field: for the process
/// record sets, a transform of an XML document. Each call gives a fresh table the record set owns.
class DataProvider {
public:
    virtual ~DataProvider() = default;
    /// The name record sets refer to ("XMLTransformProvider", "XMLTPAux").
    virtual const std::string& name() const = 0;
    /// The rows, read now. Throws AppError with a message naming what is wrong.
    virtual std::shared_ptr<RecordTable> provide() = 0;
};
