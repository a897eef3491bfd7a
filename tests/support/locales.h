#pragma once

#include <QLocale>

#include <ostream>

// The two regional settings the window's tests run under. (The result-text tests take the
// matching NumberFormats from number_formats.h; no test needs both.)
namespace kolmaris::test_support {

inline const QLocale german(QLocale::German, QLocale::Germany);
inline const QLocale english(QLocale::English, QLocale::UnitedStates);

} // namespace kolmaris::test_support

// Names the locale in the parameterised tests' output. Beside QLocale's namespace, so that
// every test file finds it and the printer is the same in each; inline, for the same reason.
inline void PrintTo(const QLocale& locale, std::ostream* out) {
    *out << locale.name().toStdString();
}
