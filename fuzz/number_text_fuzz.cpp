// Arbitrary bytes as an input box's text, under German and English settings: the conversion
// gives a finite double or its own failure, never anything else.

#include "app/platform/number_text.h"
#include "fuzz_support.h"

#include <QLocale>
#include <QString>

#include <cmath>

using namespace kolmaris;
using namespace kolmaris::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const QLocale locale(data[0] % 2 ? QLocale::English : QLocale::German,
                         data[0] % 2 ? QLocale::UnitedStates : QLocale::Germany);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 1,
                                           static_cast<qsizetype>(size - 1));
    try {
        const double value = convertNumberText(text, locale);
        if (!std::isfinite(value)) {
            broken("a conversion gave a non-finite number");
        }
    } catch (const NumberConversionFailure&) {
    }
    return 0;
}
