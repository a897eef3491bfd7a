#pragma once

#include "fittings/fittings.h"
#include "results/number_format.h"
#include "results/result_row.h"

#include <optional>
#include <string>
#include <vector>

// A result row as a section (Teilstrecke) of a run: the straight pipe's R·l, the row's DV
// Total, and the loss Z its fittings add. The tooltip, the fittings dialog, the run window, the
// workbook and the report all take Z from here.
namespace kolmaris {

// Decimals of the texts of ζ and of pressures in Pa (as DV Total) and mbar, kPa and metres.
inline constexpr int zetaDecimals = 3;
inline constexpr int pascalDecimals = 2;
inline constexpr int millibarDecimals = 2;
inline constexpr int kilopascalDecimals = 3;
inline constexpr int headDecimals = 3;
// Standard gravity, m/s², for the head of a loss.
inline constexpr double standardGravity = 9.80665;

struct SectionLoss {
    double pipeLoss = 0;                  // R·l in Pa
    std::optional<FittingsLoss> fittings; // none when the row gives its items no Z
    std::string problem;                  // then why, in German

    // R·l + Z, or none without Z.
    std::optional<double> total() const;
};

// What the row gives its fittings: the density of its medium, its velocity and λ, its inner
// diameter and flow. A row read from a workbook holds the table's rounded values; where its
// inputs give those values again, their exact velocity and λ are used, so that Z stays the
// same across a workbook. None, with the German reason in `problem`, when the row's medium is
// not known.
std::optional<FittingFlow> fittingFlowOf(const ResultValues& values, std::string& problem);

// The section of the row with its own items, or with `items` as the dialog tries them. No items
// give Z = 0 on any row.
SectionLoss sectionLossOf(const ResultValues& values);
SectionLoss sectionLossOf(const ResultValues& values, const std::vector<FittingItem>& items);

// Sections in series, in the order given: R·l + Z of each added up, R·l alone where a section
// has no Z, which `withoutZ` then lists.
struct RunLoss {
    std::vector<SectionLoss> sections;
    std::vector<double> runningSums; // Pa, after each section
    double pipeLoss = 0;             // Σ R·l
    double total = 0;                // Σ (R·l + Z), the last running sum
    std::vector<std::size_t> withoutZ;
    std::vector<Medium> media;  // the media the sections name, in the order first named
    bool unknownMedium = false; // a section's medium is not known
};
RunLoss runLossOf(const std::vector<ResultValues>& sections);

// The head of a loss in a medium, Δp / (ρ · g), in m.
double headOf(double pascal, Medium medium);

// "4,830" and "1234,56": ζ and pressures with the decimals above.
std::string zetaText(double zeta, const NumberFormat& format);
std::string pascalText(double pascal, const NumberFormat& format);
// "123,45 Pa (1,23 mbar)".
std::string pressureText(double pascal, const NumberFormat& format);

// The row's fittings for its tooltip, below describeOrigin: how many, Σζ, Z and R·l + Z, or
// why there is no Z; empty for a row without fittings.
std::string describeFittings(const ResultValues& values, const NumberFormat& format);

} // namespace kolmaris
