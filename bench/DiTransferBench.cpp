// The DI transfer into the Orientador against the plain cost of its writes.
//
// A process of 500 additions with 4 items each (built from share/samples/DI_VARIAS_ADICOES.xml) is
// transferred into a fresh IMPORT.MDB through the Orientador entry, as the operator would run it (document
// text to rows, TEMP.XML included). The baseline inserts the very rows that transfer left into another fresh
// IMPORT.MDB of the same folder, one prepared statement per table, all in one transaction: the plain way to
// write the same rows. The program prints the ratio of the two times; the target is at most 5.
#include "BigDiDocument.h"
#include "TransferBenchSupport.h"

namespace {

constexpr int AdditionCount = 500;
constexpr int ItemsPerAddition = 4;

} // namespace

int main(int argc, char** argv) {
    return bench::runTransferBenchmarks(
        argc, argv,
        {{"DI",
          std::to_string(AdditionCount) + " additions x " + std::to_string(ItemsPerAddition) + " items",
          [] { return bigDiDocument(AdditionCount, ItemsPerAddition); },
          "IMPORT.MDB",
          {}}});
}
