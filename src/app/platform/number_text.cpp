#include "app/platform/number_text.h"

#include <cmath>

namespace kolmaris {

NumberSettings numberSettingsOf(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    const bool ascii = point.size() == 1 && point.at(0).unicode() < 0x80;
    return {locale, NumberFormat{ascii ? static_cast<char>(point.at(0).unicode()) : '.'}};
}

double convertNumberText(const QString& text, const QLocale& locale) {
    QLocale strict = locale;
    strict.setNumberOptions(strict.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = strict.toDouble(text, &ok);
    if (!ok) {
        // Qt reports a number too large for a double as a failure with an infinite value.
        if (std::isinf(value)) {
            throw NumberConversionFailure(NumberConversionFailure::Kind::Overflow,
                                          "number beyond the range of a double");
        }
        throw NumberConversionFailure(NumberConversionFailure::Kind::TypeMismatch, "not a number");
    }
    if (!std::isfinite(value)) {
        throw NumberConversionFailure(NumberConversionFailure::Kind::TypeMismatch,
                                      "not a finite number");
    }
    return value;
}

} // namespace kolmaris
