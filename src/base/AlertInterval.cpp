#include "base/AlertInterval.h"

#include "base/AppError.h"
#include "base/TextUtils.h"

#include <climits>

int AlertInterval::milliseconds(const std::string& intervalo, int unitMs) {
    const long long value = toInteger(intervalo);
    // A zero or negative interval would make the timer fire without pause.
    if (value < 1)
        throw AppError("O intervalo da checagem automática deve ser maior que zero (" + trim(intervalo) + ")");
    const long long most = INT_MAX / unitMs;
    if (value > most)
        throw AppError("O intervalo da checagem automática é grande demais (" + trim(intervalo) + "); o máximo é " +
                       std::to_string(most));
    return static_cast<int>(value * unitMs);
}

int AlertInterval::fromSettings(const std::string& intervalo, const std::string& tipoIntervalo) {
    return milliseconds(intervalo, trim(tipoIntervalo) == "1" ? HourMs : MinuteMs);
}

std::optional<int> AlertInterval::fromUnitText(const std::string& intervalo, const std::string& unitText) {
    if (unitText == "MINUTOS")
        return milliseconds(intervalo, MinuteMs);
    if (unitText == "HORAS")
        return milliseconds(intervalo, HourMs);
    return std::nullopt;
}
