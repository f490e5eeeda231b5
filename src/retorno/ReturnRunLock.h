#pragma once

#include <string>

class Platform;

/// Keeps two programs of one installation (the window's alert timer and a scheduled
/// `pelomira-cli return send --all`, say) from returning at the same time: both would find the same
/// registered processes and send each of them twice. The lock is the file RETORNO.LCK in the program
/// folder, held with flock for as long as the object lives; the system lets it go when the program
/// ends, however it ends. Inside one program the lock nests (a scan inside a run shares the run's lock).
class ReturnRunLock {
public:
    static constexpr const char* FileName = "RETORNO.LCK";

    /// Tries to take the lock without waiting.
    explicit ReturnRunLock(const Platform& platform);
    ~ReturnRunLock();
    ReturnRunLock(const ReturnRunLock&) = delete;
    ReturnRunLock& operator=(const ReturnRunLock&) = delete;

    /// False when another program holds the lock. When the lock file cannot be made at all (a folder
    /// without write permission), nothing can be coordinated and the run goes ahead: true.
    bool held() const { return m_held; }

private:
    bool m_held = false;
};
