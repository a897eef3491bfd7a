#pragma once

#include "calc/errors.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Fittings (Einzelwiderstände) of one result row: the catalogue of their kinds, the loss Z they
// add to the straight pipe's R·l, and their text for a workbook cell. Every ζ is referred to the
// velocity of the row's own pipe; where a source refers it elsewhere the catalogue converts it
// and says so in the kind's method.
namespace kolmaris {

// A fitting, a row's flow or an items' text that gives no meaningful Z. what() is a German
// reason that names the item.
class FittingError : public KolmarisError {
public:
    using KolmarisError::KolmarisError;
};

// The kinds in the catalogue's order.
enum class FittingKind {
    Bend90,
    Bend45,
    MitreBend,
    ThreadedElbow90,
    ThreadedElbow45,
    GateValve,
    BallValve,
    GlobeValve,
    SwingCheckValve,
    ButterflyValve,
    TeeBranchSplit,
    TeeRunSplit,
    TeeBranchMerge,
    TeeRunMerge,
    SharpEntrance,
    RoundedEntrance,
    ExitToVessel,
    SuddenContraction,
    SuddenExpansion,
    UserZeta,
    UserKv,
};

inline constexpr std::size_t fittingKindCount = 21;
inline constexpr std::size_t maxFittingParameters = 2;
// Bounds that keep a row's items, and so their text, small whatever a file holds.
inline constexpr std::size_t maxFittingItems = 50;
inline constexpr int maxFittingCount = 999;
inline constexpr std::size_t maxFittingsTextLength = 8192; // bytes

// What a kind's ζ depends on besides its own parameters.
enum class ZetaBasis {
    Constant,      // one value
    Geometry,      // the parameters alone
    RowFriction,   // also the row's friction factor λ
    CraneFriction, // also Crane's fT for the row's inner diameter
    UserZeta,      // the ζ the user entered
    UserKv,        // the loss of a Kv value at the row's flow; ζ only as shown
};

struct FittingParameter {
    const char* key;   // ASCII, as the items' text names it: "r/d"
    const char* label; // German, for the dialog and the reasons of a refusal
    const char* unit;  // "–", "°", "m³/h"
    double defaultValue;
    double min;
    double max;       // may be infinite; a value is always finite
    bool minExcluded; // the value must lie above min, not at it
};

struct FittingKindFacts {
    FittingKind kind;
    const char* key;  // stable ASCII key for files: "bogen90"
    const char* name; // German, as engineers write it: "Bogen 90°"
    std::size_t parameterCount;
    std::array<FittingParameter, maxFittingParameters> parameters;
    ZetaBasis basis;
    const char* method; // how ζ is obtained, German, with the velocity it is referred to
    const char* source; // the one source of the values
};

using FittingCatalogue = std::array<FittingKindFacts, fittingKindCount>;

// Every kind once, in the order of FittingKind.
const FittingCatalogue& fittingCatalogue();
// Throws FittingError for a value outside the enumeration.
const FittingKindFacts& factsOf(FittingKind kind);
// The kind of a text key, or none.
const FittingKindFacts* findFittingKind(std::string_view key);

struct FittingItem {
    FittingKind kind = FittingKind::UserZeta;
    // The kind's parameters in its order; the slots it has no parameter for are 0.
    std::array<double, maxFittingParameters> values{};
    int count = 1;

    bool operator==(const FittingItem& other) const {
        return kind == other.kind && values == other.values && count == other.count;
    }
};

// One of the kind with its default parameters.
FittingItem defaultFittingItem(FittingKind kind);

// What a row gives its fittings: the program's property values and the row's results.
struct FittingFlow {
    double density = 0;                  // kg/m³
    double velocity = 0;                 // m/s, as the row computed it
    double frictionFactor = 0;           // the row's λ
    std::optional<double> innerDiameter; // mm; unknown for rows kept without inputs
    std::optional<double> flowRate;      // dm³/min; unknown likewise
};

struct FittingItemLoss {
    double zeta = 0;      // of one fitting; for a Kv item its loss / (ρ v²/2)
    double zetaTotal = 0; // count × zeta
    double loss = 0;      // Pa, of all `count` fittings
};

struct FittingsLoss {
    std::vector<FittingItemLoss> items; // in the items' order
    double zetaSum = 0;                 // Σζ, Kv items with their shown ζ
    double loss = 0;                    // Z in Pa
};

// The loss in Pa of a valve of `kv` (m³/h) at `flowRate` (dm³/min) and `density` (kg/m³):
// Δp = 10⁵ · (ρ / 1000) · (Q / Kv)², Q in m³/h. Throws FittingError for a Kv that is no finite
// number above 0, or a density that is no finite number above 0, or a result that overflows.
double valveLoss(double kv, double flowRate, double density);

// Crane's fully turbulent friction factor fT for clean commercial steel at an inner diameter
// in mm (at least 1 mm).
double craneFrictionFactor(double innerDiameter);

// Refuses more than maxFittingItems items, a count outside 0 to maxFittingCount, an unknown
// kind and a parameter that is not finite or outside its kind's range.
void checkFittingItems(const std::vector<FittingItem>& items);

// Each item's ζ and loss, Σζ and Z for a row: count × ζ × ρ v²/2, and for a Kv item count ×
// valveLoss at the row's flow rate. No items give Z = 0 whatever the flow. Throws FittingError
// for a bad item, for a density, velocity or flow rate that is no finite number above 0, for a
// quantity an item needs and the row lacks, and for a result that is not finite.
FittingsLoss fittingsLoss(const std::vector<FittingItem>& items, const FittingFlow& flow);

// The items as one line for a workbook cell, "2 × bogen90 (r/d=1,5); 1 × auslauf", numbers
// with a decimal comma whatever the user's settings, in the shortest text that reads back
// exactly. No items give an empty text. Throws FittingError for items checkFittingItems
// refuses.
std::string fittingsText(const std::vector<FittingItem>& items);

// Reads what fittingsText writes: the same kinds, counts and numbers to the bit. The text is
// treated as hostile: at most maxFittingsTextLength bytes and maxFittingItems items, read in
// one pass; anything else is refused with a German reason naming the item and the place.
std::vector<FittingItem> parseFittingsText(std::string_view text);

} // namespace kolmaris
