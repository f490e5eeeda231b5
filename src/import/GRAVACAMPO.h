#pragma once

#include <string>

struct AppContext;
struct FieldSources;
struct TransferProgress;

/// The first lines of every transfer failure message, of a field and of a whole transfer.
inline constexpr const char* TransferFailureHeadline =
    "OCORREU UM ERRO NA TRANSFERÊNCIA\rPor favor entre em contato com o suporte técnico";

/// Writes one value into the current row of the Orientador table open on TDM::ADOTbl_IMPORT.
///
/// With fromRecordSet, source names a field of the record set sources.at(sourceIndex), read at its
/// current row: an empty value writes nothing; otherwise every "." becomes "," and the result is set
/// as the field's text, which converts it for a floating, currency or integer field. Without it,
/// source is the value itself: blanks write nothing, a "0" leaves a floating, currency or integer
/// field as it was, anything else is set trimmed.
///
/// Every call that ends without an error raises progress.counter by one. A failure (a missing source
/// or target field, a value the field cannot hold, a value the file refuses) is not raised: the
/// operator is told which table and field failed, ERRO.CSV gets a line, progress.fieldErrors counts it,
/// and the transfer goes on.
void GRAVACAMPO(AppContext& ctx, TransferProgress& progress, const FieldSources& sources, const std::string& source,
                const std::string& targetField, bool fromRecordSet, int sourceIndex = 0);

/// The report of a field that could not be written into the current row of TDM::ADOTbl_IMPORT, the
/// same for GRAVACAMPO and for the values a transfer sets directly: the operator is told the table and
/// field, ERRO.CSV gets a line and progress.fieldErrors counts it. Nothing is raised.
void reportFieldFailure(AppContext& ctx, TransferProgress& progress, const std::string& targetField,
                        const std::string& failure);
