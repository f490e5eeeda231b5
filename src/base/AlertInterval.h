#pragma once

#include <optional>
#include <string>

/// The alert interval rules shared by the main window's show step and the settings save.
class AlertInterval {
public:
    static constexpr int MinuteMs = 60000;
    static constexpr int HourMs = 3600000;

    /// The interval from the settings keys Alerta/Intervalo and Alerta/TipoIntervalo: "0" counts in
    /// minutes, "1" in hours, and any other unit (the settings window writes "-1" when no unit was
    /// chosen; a hand-edited file may hold anything) counts in minutes. Throws AppError when the
    /// interval is not a whole number from 1 up to what the timer can hold.
    static int fromSettings(const std::string& intervalo, const std::string& tipoIntervalo);
    /// The interval for a unit text of the settings window, upper-cased: "MINUTOS" or "HORAS". Any other
    /// unit text gives no interval (the timer keeps the one it has). Throws AppError like fromSettings.
    static std::optional<int> fromUnitText(const std::string& intervalo, const std::string& unitText);
    /// intervalo × unitMs; throws AppError when intervalo is not a whole number, not positive, or too large.
    static int milliseconds(const std::string& intervalo, int unitMs);
};
