#pragma once

/// The shared data module: the one holder of the connections, tables, record sets, transform
/// providers and web clients that the operations share. Created first, alive until exit.
class TDM {
public:
    TDM() = default;
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;
};
