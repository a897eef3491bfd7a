#pragma once

#include "calc/errors.h"
#include "results/number_format.h"

#include <QLocale>
#include <QString>

namespace kolmaris {

// An input text that is not a usable number.
class NumberConversionFailure : public KolmarisError {
public:
    enum class Kind {
        TypeMismatch, // empty, not a number, or not a finite number
        Overflow,     // a number beyond the range of a double
    };

    NumberConversionFailure(Kind kind, const std::string& what)
        : KolmarisError(what), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// The user's number settings as the program uses them: the locale reads the input texts, the
// format writes the program's own number texts. Derived together, so they never disagree.
struct NumberSettings {
    QLocale locale;
    NumberFormat format;
};

// The settings of `locale`: its decimal separator where that is one ASCII character (the
// result texts are single-byte), else the point.
NumberSettings numberSettingsOf(const QLocale& locale);

// Reads an input text with the user's number format: blanks around the number, a leading sign
// and an exponent are fine. Group separators are refused, because under German settings they
// would turn a mistyped "12.5" into 125 without a word. "inf" and "nan" are refused as well.
double convertNumberText(const QString& text, const QLocale& locale);

} // namespace kolmaris
