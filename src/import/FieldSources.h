#pragma once

#include "base/AppError.h"
#include "data/RecordSet.h"

#include <array>
#include <string>

class TDM;

/// The record sets a field writer reads its values from, by the index the transfers pass:
/// 0 cdsXMLPrincipal, 1 cdsXMLAux, 2 cdsXMLTPAux2, 3 cdsXMLTPAux3, 4 cdsXMLTPAux, 5 cdsXMLAux2.
struct FieldSources {
    static constexpr int Count = 6;
    std::array<RecordSet*, Count> sets{};

    /// The six record sets of the data module, at the indexes above.
    static FieldSources fromDataModule(TDM& dm);

    /// The record set of an index. Throws AppError for an index without one.
    RecordSet& at(int index) const {
        if (index < 0 || index >= Count || !sets[static_cast<size_t>(index)])
            throw AppError("Não há conjunto de registros de origem com o índice " + std::to_string(index));
        return *sets[static_cast<size_t>(index)];
    }
};
