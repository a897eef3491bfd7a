#pragma once

#include "app/build_info.h"

// Who made the program, as the credit line and the information box show it. The program is
// credited to its project, not to a person.
namespace kolmaris::identity {

inline constexpr const char* applicationName = build_info::programName;
inline constexpr const char* applicationVersion = build_info::version;
inline constexpr const char* windowCaption = "Kolmaris";

inline constexpr const char* developer = "Kolmaris-Entwicklung";
// A project holds no academic degree; the line names its field instead.
inline constexpr const char* qualification = "Rohrhydraulik";
inline constexpr const char* postalCodeAndTown = "12345 Musterstadt";
inline constexpr const char* town = "Musterstadt";
inline constexpr const char* email = "kolmaris@example.org";

} // namespace kolmaris::identity
