#include "results/check_text.h"

#include "calc/water_properties.h"

#include <algorithm>
#include <cmath>

namespace kolmaris {

namespace {

// Four significant digits, at least one decimal: "178,4", "0,5123".
std::string lossText(double value, const NumberFormat& format) {
    const double size = std::fabs(value);
    const int magnitude = size > 0 ? static_cast<int>(std::floor(std::log10(size))) : 0;
    return formatFixed(value, std::clamp(3 - magnitude, 1, 12), format);
}

std::string gapText(CheckGap gap, const NumberFormat& format) {
    switch (gap) {
    case CheckGap::None:
        return {};
    case CheckGap::OutsideIapwsRange:
        return "IAPWS-Stoffwerte gibt es nur von " + formatExact(iapwsWaterFrom, format) + " bis " +
               formatExact(iapwsWaterTo, format) + " °C";
    case CheckGap::NoFlow:
        return "Re ist null oder keine endliche Zahl";
    case CheckGap::NoColebrookRoot:
        return "die Colebrook-Gleichung hat für diese Rauheit keine Lösung";
    case CheckGap::OutOfRange:
        return "ein Wert liegt außerhalb des Zahlenbereichs";
    }
    return {}; // unreachable
}

} // namespace

std::string deviationText(double percent, const NumberFormat& format) {
    const double shown = shownValue(percent, 1);
    const std::string digits = formatFixed(std::fabs(shown), 1, format) + " %";
    if (shown == 0) {
        return digits;
    }
    return (shown > 0 ? "+" : "-") + digits;
}

std::string checkText(const ResultCheck& check, const NumberFormat& format) {
    const PropertyCheck* shown = check.iapws               ? &*check.iapws
                                 : check.programProperties ? &*check.programProperties
                                                           : nullptr;
    if (!shown) {
        return "Prüfrechnung nicht möglich: " + gapText(check.gap, format);
    }
    std::string text = "Prüfrechnung: Δp/m " + lossText(shown->lossPerMetre.value, format) +
                       " Pa/m (" + deviationText(shown->lossPerMetre.deviation, format) + ")";
    text += check.iapws ? " mit IAPWS-Stoffwerten" : " mit den Stoffwerten des Programms";
    text += shown->law == FrictionLaw::Laminar ? " und 64/Re (laminar)" : " und Colebrook";
    // With the program's properties shown, a gap is why there is no IAPWS check.
    if (!check.iapws && check.gap == CheckGap::OutsideIapwsRange) {
        text += "; " + gapText(check.gap, format);
    } else if (!check.iapws && check.gap != CheckGap::None) {
        text += "; mit IAPWS-Stoffwerten nicht möglich: " + gapText(check.gap, format);
    }
    return text;
}

} // namespace kolmaris
