#pragma once

#include <string>
#include <vector>

/// How a transfer of a process document ended.
enum class TransferStatus {
    Transferred,                // every unit the operator was told about is written whole
    TransferredWithFieldErrors, // the same, but some fields were reported and left unwritten
    NotConfirmed,               // the operator answered No (or chose no file): nothing was written
    Failed,                     // refused or ended by a failure: see failure; units listed are whole
};

/// What a transfer tells its caller: the window ignores it, the command line takes its exit code from it.
struct TransferOutcome {
    TransferStatus status = TransferStatus::Failed;
    /// The units written whole, in order: process identifiers, licence identifiers.
    std::vector<std::string> transferred;
    /// The units not received because Merlin marked them impeded.
    std::vector<std::string> impeded;
    /// Fields the field writers reported and left unwritten.
    int fieldErrors = 0;
    /// Why the run was refused or ended early; empty when it was not.
    std::string failure;
    /// The operator asked for the destination's program at the end and it could not be started.
    bool programStartFailed = false;

    static TransferOutcome notConfirmed() {
        TransferOutcome o;
        o.status = TransferStatus::NotConfirmed;
        return o;
    }
    static TransferOutcome failed(std::string why) {
        TransferOutcome o;
        o.failure = std::move(why);
        return o;
    }

    /// True when at least the units listed went through and nothing ended the run.
    bool succeeded() const {
        return status == TransferStatus::Transferred || status == TransferStatus::TransferredWithFieldErrors;
    }
};
