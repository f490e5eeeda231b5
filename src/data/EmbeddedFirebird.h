#pragma once

#include <string>

/// The embedded Firebird engine of this process, set up so that the user's Pelomira processes share
/// a database file (the window and pelomira-cli at once).
///
/// The engine reads its configuration from the folder named by FIREBIRD and keeps its lock tables in
/// FIREBIRD_LOCK. In its default mode it takes a database file for one process alone; in SuperClassic
/// mode processes with the same lock folder share the file. prepare() gives the process a private
/// configuration folder (the installed one mirrored by symbolic links, with its own firebird.conf that
/// sets SuperClassic and then includes the installed one) and the user's lock folder, both under
/// /tmp/pelomira-firebird-<uid>. The environment must be set before the client library starts and
/// before threads run, so both programs call prepare() first thing in main; the connection calls it
/// again (a no-op then) for programs that do not.
class EmbeddedFirebird {
public:
    struct Setup {
        std::string root;       // FIREBIRD
        std::string lockFolder; // FIREBIRD_LOCK
        /// Why the embedded engine cannot be used shared (empty when it can): local databases are
        /// refused with this text, server paths still work.
        std::string failure;
    };

    /// Sets FIREBIRD and FIREBIRD_LOCK for this process the first time; later calls return the same.
    /// A FIREBIRD that already names a private root (a child of a Pelomira process) is used as it is;
    /// another FIREBIRD names the installation to mirror. A FIREBIRD_LOCK already set is kept.
    static const Setup& prepare();

    /// The file inside a private root that marks it as complete and names the installation it mirrors.
    static constexpr const char* MarkerFile = "pelomira-root";

    /// parent/pelomira-firebird-<uid>, made with mode 0700 when missing. Throws AppError when it is
    /// not a folder of this user that only this user can write (a folder in /tmp may have been made by
    /// someone else first).
    static std::string userFolder(const std::string& parent, unsigned uid);
    /// The installation a client library belongs to: the folder R whose lib/ holds the same library
    /// file (R/lib/libfbclient.so.2 → …/libfbclient.so.3.0.11), looked for beside the library's folder
    /// (R/lib/libfbclient.so) and under its firebird/ folder (Debian: /usr/lib/<arch>/firebird/3.0).
    /// Empty when there is none.
    static std::string installedRootOf(const std::string& libraryPath);
    /// The private root in folder that mirrors installedRoot, made when missing. Its name follows from
    /// what it holds (the installation's path, its entries, the configuration text), so a package
    /// upgrade that moves or changes the installation gets a new root while running processes keep
    /// theirs. Made under a temporary name and renamed into place, so a root found under its name is
    /// always whole and two processes making it at once both end up with the same one.
    static std::string privateRoot(const std::string& folder, const std::string& installedRoot);
    /// True when folder is a complete private root.
    static bool isPrivateRoot(const std::string& folder);
    /// The loaded client library's file (empty when it is not loaded).
    static std::string clientLibraryPath();
};
