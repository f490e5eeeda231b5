#pragma once

#include <string>

struct AppContext;
struct FieldSources;
struct TransferProgress;
class DbfTable;

/// Writes one value into the current record of an open NORVIK table.
///
/// With fromRecordSet, source names a field of the record set sources.at(sourceIndex) (0 to 4; the
/// licence set 5 is not available here), read at its current row: an empty value writes nothing,
/// anything else is set as the field's text (a number field takes "." or "," as decimal separator).
/// Without it, source is the value: blanks write nothing, anything else is set as it is, "0" included.
///
/// Every call that ends without an error raises progress.counter by one. A failure is not raised: the
/// operator is told the table's file and the field, ERRO.CSV gets a line, and the transfer goes on.
void GRAVACAMPONORVIK(AppContext& ctx, TransferProgress& progress, const FieldSources& sources, DbfTable& table,
                      const std::string& source, const std::string& targetField, int sourceIndex, bool fromRecordSet);

/// The report of a field of a NORVIK table that could not be written (the field writer's, and the one
/// of the values the transfer sets directly); counted in progress.fieldErrors.
void reportNorvikFieldFailure(AppContext& ctx, TransferProgress& progress, const DbfTable& table,
                              const std::string& targetField, const std::string& failure);
