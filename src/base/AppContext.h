#pragma once

class Platform;
class Operator;
class Settings;
class Logs;
class TDM;

/// What an operation works with: the system, the person, the settings, the logs and the shared
/// data module. Operations receive it explicitly; nothing reaches for a global.
struct AppContext {
    Platform& platform;
    Operator& op;
    Settings& settings;
    Logs& logs;
    TDM& dm;
};
