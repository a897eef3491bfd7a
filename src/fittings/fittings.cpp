#include "fittings/fittings.h"
#include "fittings/reasons.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kolmaris {

namespace {

constexpr double pi = 3.141592653589793; // the true one: the sources' formulas use it
constexpr double unbounded = std::numeric_limits<double>::infinity();

// Crane's fT is that of clean commercial steel, ε = 0.0018 in; the K multiples of its fittings
// were fitted with it, so it is used whatever the row's pipe is made of.
constexpr double craneRoughness = 0.04572;  // mm
constexpr double smallestCraneDiameter = 1; // mm; Crane's data start at 1/2"
// Crane's butterfly-valve classes 2"–8", 10"–14" and 16"–24", divided midway between them.
constexpr double butterflyClassLimits[] = {228.6, 381}; // mm: 9", 15"

constexpr const char* rennels = "Rennels & Hudson, Pipe Flow (Wiley 2012)";
constexpr const char* crane = "Crane TP-410M, Flow of Fluids (2009)";
constexpr const char* craneTees = "Crane TP-410M, Flow of Fluids (2009, mit Errata)";

constexpr FittingParameter none{"", "", "", 0, 0, 0, false};
constexpr FittingParameter bendRatio{
    "r/d", "Krümmungsradius / Innendurchmesser r/d", "–", 1.5, 0.5, 20, false};
constexpr FittingParameter mitreAngle{"Winkel", "Umlenkwinkel", "°", 90, 0, 150, false};
// The branch's share of the combined flow. The branch pipe needs some flow to refer ζ to, the
// run pipe some of its own.
constexpr FittingParameter branchShare{"VA/V", "Volumenstrom Abzweig / gesamt", "–", 0.5, 0.01, 1,
                                       false};
constexpr FittingParameter runShare{"VA/V", "Volumenstrom Abzweig / gesamt", "–", 0.5, 0, 0.99,
                                    false};
constexpr FittingParameter branchRatio{"dA/d", "Durchmesser Abzweig / Hauptrohr", "–", 1, 0.2, 1,
                                       false};
// Rennels' fit reaches its least loss at r/d = 1 and is not meant beyond.
constexpr FittingParameter roundingRatio{
    "r/d", "Rundungsradius / Innendurchmesser r/d", "–", 0.1, 0, 1, false};
constexpr FittingParameter narrowRatio{"d/D", "Durchmesser eng / weit d/D", "–", 0.5, 0, 1, false};
constexpr FittingParameter givenZeta{"zeta", "Widerstandsbeiwert ζ", "–", 1, 0, unbounded, false};
constexpr FittingParameter givenKv{"Kv", "Kv-Wert", "m³/h", 1, 0, unbounded, true};

// How each ζ is obtained, as the dialog and the report show it.
namespace method {
constexpr const char* bend90 =
    "ζ = λ·α·r/d + (0,10 + 2,4·λ)·sin(α/2) + 6,6·λ·(√sin(α/2) + sin(α/2)) / (r/d)^(4α/π), "
    "α = 90°, λ der Zeile; enthält die Reibung der Bogenlänge";
constexpr const char* bend45 =
    "ζ = λ·α·r/d + (0,10 + 2,4·λ)·sin(α/2) + 6,6·λ·(√sin(α/2) + sin(α/2)) / (r/d)^(4α/π), "
    "α = 45°, λ der Zeile; enthält die Reibung der Bogenlänge";
constexpr const char* mitre = "ζ = 0,42·sin(α/2) + 2,56·sin³(α/2)";
constexpr const char* elbow90 = "ζ = 30·fT, fT nach Crane für den Innendurchmesser der Zeile";
constexpr const char* elbow45 = "ζ = 16·fT, fT nach Crane für den Innendurchmesser der Zeile";
constexpr const char* gate = "ζ = 8·fT (voller Durchgang)";
constexpr const char* ball = "ζ = 3·fT (voller Durchgang)";
constexpr const char* globe = "ζ = 340·fT (voller Sitz)";
constexpr const char* swingCheck = "ζ = 100·fT (herkömmliche Schwenkklappe)";
constexpr const char* butterfly =
    "ζ = 45·fT bis di 228,6 mm (9″), 35·fT bis 381 mm (15″), darüber 25·fT";
constexpr const char* branchSplit =
    "K = G·[1 + H·(q/β²)²], q = V̇Abzweig/V̇gesamt, β = dA/d; G = 1 für β² ≤ 2/3, sonst "
    "1 + 0,3·q²; H = 0,3 für β = 1, sonst 1; K gilt für den Gesamtstrom, auf das Abzweigrohr "
    "der Zeile umgerechnet: ζ = K·(β²/q)²";
constexpr const char* runSplit =
    "K = M·q², q = V̇Abzweig/V̇gesamt, β = dA/d; M = 0,4 für β² ≤ 0,4, sonst 2·(2q − 1) für "
    "q ≤ 0,5 und 0,3·(2q − 1) darüber; K gilt für den Gesamtstrom, auf das Durchgangsrohr der "
    "Zeile umgerechnet: ζ = K / (1 − q)²; kann negativ sein";
constexpr const char* branchMerge =
    "K = C·[1 + (q/β²)² − 2·(1 − q)²], q = V̇Abzweig/V̇gesamt, β = dA/d; C = 1 für β² ≤ 0,35, "
    "sonst 0,55 für q > 0,4 und 0,9·(1 − q) darunter; K gilt für den Gesamtstrom, auf das "
    "Abzweigrohr der Zeile umgerechnet: ζ = K·(β²/q)²; kann negativ sein";
constexpr const char* runMerge =
    "K = 1,55·q − q², q = V̇Abzweig/V̇gesamt; K gilt für den Gesamtstrom, auf das "
    "Durchgangsrohr der Zeile umgerechnet: ζ = K / (1 − q)²";
constexpr const char* sharpEntrance = "ζ = 0,57";
constexpr const char* roundedEntrance =
    "ζ = 0,0696·(1 − 0,569·r/d)·k² + (k − 1)², k = 1 + 0,622·(1 − 0,30·√(r/d) − 0,70·r/d)⁴";
constexpr const char* exit = "ζ = 1: die ganze Geschwindigkeitshöhe geht verloren";
constexpr const char* contraction =
    "ζ = 0,0696·(1 − β⁵)·k² + (k − 1)², k = 1 + 0,622·(1 − 0,215·β² − 0,785·β⁵), β = d/D; "
    "auf das enge Rohr nach der Verengung bezogen, das der Zeile";
constexpr const char* expansion =
    "ζ = (1 − β²)², β = d/D; auf das enge Rohr vor der Erweiterung bezogen, das der Zeile";
constexpr const char* zeta = "ζ wie angegeben, auf das Rohr der Zeile bezogen";
constexpr const char* kv =
    "Δp = 10⁵ Pa·(ρ / 1000 kg/m³)·(Q/Kv)², Q in m³/h; gezeigtes ζ = Δp / (ρ·v²/2)";
} // namespace method

constexpr const char* ownZeta = "eigene Angabe (Herstellerdaten)";
constexpr const char* ownKv = "eigene Angabe; Kv nach DIN EN 60534: m³/h Wasser bei 1 bar";

using K = FittingKind;
using B = ZetaBasis;

// One kind; its parameters are those given, in order.
constexpr FittingKindFacts row(FittingKind kind, const char* key, const char* name, ZetaBasis basis,
                               const char* how, const char* source, FittingParameter a = none,
                               FittingParameter b = none) {
    const std::size_t count = (a.key[0] != '\0') + (b.key[0] != '\0');
    return {kind, key, name, count, {a, b}, basis, how, source};
}

// Where sources disagree the one chosen is named: Rennels for bends, entrances and changes of
// diameter (his sharp entrance, 0.57, is the limit of his rounded one, where Crane and Idelchik
// give 0.5); Crane for whatever is a multiple of fT and for the tees.
constexpr FittingCatalogue catalogue = {
    row(K::Bend90, "bogen90", "Bogen 90°", B::RowFriction, method::bend90, rennels, bendRatio),
    row(K::Bend45, "bogen45", "Bogen 45°", B::RowFriction, method::bend45, rennels, bendRatio),
    row(K::MitreBend, "gehrungsbogen", "Gehrungsbogen (eine Naht)", B::Geometry, method::mitre,
        rennels, mitreAngle),
    row(K::ThreadedElbow90, "winkel90_gewinde", "Winkel 90°, Gewinde", B::CraneFriction,
        method::elbow90, crane),
    row(K::ThreadedElbow45, "winkel45_gewinde", "Winkel 45°, Gewinde", B::CraneFriction,
        method::elbow45, crane),
    row(K::GateValve, "schieber", "Absperrschieber", B::CraneFriction, method::gate, crane),
    row(K::BallValve, "kugelhahn", "Kugelhahn", B::CraneFriction, method::ball, crane),
    row(K::GlobeValve, "ventil", "Durchgangsventil (Geradsitz)", B::CraneFriction, method::globe,
        crane),
    row(K::SwingCheckValve, "rueckschlagklappe", "Rückschlagklappe", B::CraneFriction,
        method::swingCheck, crane),
    row(K::ButterflyValve, "absperrklappe", "Absperrklappe (zentrisch)", B::CraneFriction,
        method::butterfly, crane),
    row(K::TeeBranchSplit, "t_trennung_abzweig", "T-Stück Abzweig, Trennung", B::Geometry,
        method::branchSplit, craneTees, branchShare, branchRatio),
    row(K::TeeRunSplit, "t_trennung_durchgang", "T-Stück Durchgang, Trennung", B::Geometry,
        method::runSplit, craneTees, runShare, branchRatio),
    row(K::TeeBranchMerge, "t_vereinigung_abzweig", "T-Stück Abzweig, Vereinigung", B::Geometry,
        method::branchMerge, craneTees, branchShare, branchRatio),
    row(K::TeeRunMerge, "t_vereinigung_durchgang", "T-Stück Durchgang, Vereinigung", B::Geometry,
        method::runMerge, craneTees, runShare, branchRatio),
    row(K::SharpEntrance, "einlauf_scharf", "Einlauf, scharfkantig", B::Constant,
        method::sharpEntrance, rennels),
    row(K::RoundedEntrance, "einlauf_gerundet", "Einlauf, gerundet", B::Geometry,
        method::roundedEntrance, rennels, roundingRatio),
    row(K::ExitToVessel, "auslauf", "Auslauf in einen Behälter", B::Constant, method::exit,
        rennels),
    row(K::SuddenContraction, "verengung", "Verengung, plötzlich", B::Geometry, method::contraction,
        rennels, narrowRatio),
    row(K::SuddenExpansion, "erweiterung", "Erweiterung, plötzlich (Borda–Carnot)", B::Geometry,
        method::expansion, rennels, narrowRatio),
    row(K::UserZeta, "zeta", "ζ-Wert (eigene Angabe)", B::UserZeta, method::zeta, ownZeta,
        givenZeta),
    row(K::UserKv, "kv", "Kv-Wert (eigene Angabe)", B::UserKv, method::kv, ownKv, givenKv),
};

constexpr bool catalogueFollowsTheEnumeration() {
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (static_cast<std::size_t>(catalogue[i].kind) != i) {
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (std::string_view(catalogue[i].key) == catalogue[j].key) {
                return false;
            }
        }
    }
    return static_cast<std::size_t>(FittingKind::UserKv) + 1 == fittingKindCount;
}
static_assert(catalogueFollowsTheEnumeration(), "one row per kind, in order, keys unique");

double square(double x) {
    return x * x;
}

double craneFriction(double innerDiameter) {
    return 0.25 / square(std::log10(craneRoughness / (3.7 * innerDiameter)));
}

// Rennels' bend: friction along the bend, secondary flow, separation.
double rennelsBend(double degrees, double radiusRatio, double friction) {
    const double alpha = degrees * pi / 180;
    const double s = std::sin(alpha / 2);
    return friction * alpha * radiusRatio + (0.10 + 2.4 * friction) * s +
           6.6 * friction * (std::sqrt(s) + s) / std::pow(radiusRatio, 4 * alpha / pi);
}

// Rennels' contraction of the jet, for the entrance and the sudden contraction alike.
double rennelsJet(double contraction, double lossShare) {
    return 0.0696 * lossShare * square(contraction) + square(contraction - 1);
}

// Crane's tee coefficients are referred to the combined flow; ζ to the row's pipe: the branch
// (diameter β·d, share q of the flow) or the run (diameter d, share 1 − q).
double toBranch(double k, double q, double beta) {
    return k * square(beta * beta / q);
}
double toRun(double k, double q) {
    return k / square(1 - q);
}

double teeZeta(FittingKind kind, double q, double beta) {
    const double b2 = beta * beta;
    switch (kind) {
    case FittingKind::TeeBranchSplit: {
        const double g = b2 <= 2.0 / 3 ? 1 : 1 + 0.3 * q * q;
        // Crane's equal tee (β = 1) has its own H; the jump at β = 1 is the source's.
        const double h = beta == 1 ? 0.3 : 1;
        return toBranch(g * (1 + h * square(q / b2)), q, beta);
    }
    case FittingKind::TeeRunSplit: {
        const double m = b2 <= 0.4 ? 0.4 : q <= 0.5 ? 2 * (2 * q - 1) : 0.3 * (2 * q - 1);
        return toRun(m * q * q, q);
    }
    case FittingKind::TeeBranchMerge: {
        const double c = b2 <= 0.35 ? 1 : q > 0.4 ? 0.55 : 0.9 * (1 - q);
        return toBranch(c * (1 + square(q / b2) - 2 * square(1 - q)), q, beta);
    }
    default: // TeeRunMerge: Crane's own formula for 90°
        return toRun(1.55 * q - q * q, q);
    }
}

double butterflyMultiple(double innerDiameter) {
    return innerDiameter <= butterflyClassLimits[0]   ? 45
           : innerDiameter <= butterflyClassLimits[1] ? 35
                                                      : 25;
}

// ζ of one fitting whose kind is not UserKv, given λ and fT where the kind needs them.
double zetaOf(const FittingItem& item, double friction, double ft, double innerDiameter) {
    const double a = item.values[0];
    const double b = item.values[1];
    switch (item.kind) {
    case FittingKind::Bend90:
        return rennelsBend(90, a, friction);
    case FittingKind::Bend45:
        return rennelsBend(45, a, friction);
    case FittingKind::MitreBend: {
        const double s = std::sin(a * pi / 180 / 2);
        return 0.42 * s + 2.56 * s * s * s;
    }
    case FittingKind::ThreadedElbow90:
        return 30 * ft;
    case FittingKind::ThreadedElbow45:
        return 16 * ft;
    case FittingKind::GateValve:
        return 8 * ft;
    case FittingKind::BallValve:
        return 3 * ft;
    case FittingKind::GlobeValve:
        return 340 * ft;
    case FittingKind::SwingCheckValve:
        return 100 * ft;
    case FittingKind::ButterflyValve:
        return butterflyMultiple(innerDiameter) * ft;
    case FittingKind::TeeBranchSplit:
    case FittingKind::TeeRunSplit:
    case FittingKind::TeeBranchMerge:
    case FittingKind::TeeRunMerge:
        return teeZeta(item.kind, a, b);
    case FittingKind::SharpEntrance:
        return 0.57;
    case FittingKind::RoundedEntrance:
        return rennelsJet(1 + 0.622 * std::pow(1 - 0.30 * std::sqrt(a) - 0.70 * a, 4),
                          1 - 0.569 * a);
    case FittingKind::ExitToVessel:
        return 1;
    case FittingKind::SuddenContraction: {
        const double b5 = std::pow(a, 5);
        return rennelsJet(1 + 0.622 * (1 - 0.215 * a * a - 0.785 * b5), 1 - b5);
    }
    case FittingKind::SuddenExpansion:
        return square(1 - a * a);
    case FittingKind::UserZeta:
    case FittingKind::UserKv:
        break;
    }
    return a; // UserZeta; UserKv never comes here
}

double valveLossOf(double kv, double flowRate, double density) {
    const double q = flowRate * 60 / 1000; // m³/h
    const double ratio = q / kv;
    return 1e5 * (density / 1000) * (ratio * ratio);
}

bool positive(double x) {
    return std::isfinite(x) && x > 0;
}

std::string rangeText(const FittingParameter& p) {
    using fittings_detail::decimalText;
    const std::string from = (p.minExcluded ? "über " : "") + decimalText(p.min);
    if (std::isinf(p.max)) {
        return p.minExcluded ? from : "ab " + from;
    }
    return from + " bis " + decimalText(p.max);
}

std::string withUnit(double value, const FittingParameter& p) {
    std::string text = fittings_detail::decimalText(value);
    if (std::string_view(p.unit) != "–") {
        text += std::string(" ") + p.unit;
    }
    return text;
}

} // namespace

namespace fittings_detail {

std::string decimalText(double value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text = ec == std::errc() ? std::string(buffer, end) : std::string("?");
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    return text;
}

std::string itemPrefix(std::size_t number, const FittingKindFacts& facts) {
    return "Einzelwiderstand " + std::to_string(number) + " (" + facts.name + "): ";
}

void checkItem(const FittingItem& item, std::size_t number) {
    if (static_cast<std::size_t>(item.kind) >= fittingKindCount) {
        throw FittingError("Einzelwiderstand " + std::to_string(number) + ": unbekannte Art.");
    }
    const FittingKindFacts& facts = factsOf(item.kind);
    if (item.count < 0 || item.count > maxFittingCount) {
        throw FittingError(itemPrefix(number, facts) + "die Anzahl " + std::to_string(item.count) +
                           " ist nicht erlaubt (0 bis " + std::to_string(maxFittingCount) + ").");
    }
    for (std::size_t i = 0; i < facts.parameterCount; ++i) {
        const FittingParameter& p = facts.parameters[i];
        const double v = item.values[i];
        if (!std::isfinite(v)) {
            throw FittingError(itemPrefix(number, facts) + p.label + " ist keine Zahl.");
        }
        if (v < p.min || (p.minExcluded && v == p.min) || v > p.max) {
            throw FittingError(itemPrefix(number, facts) + p.label + " = " + withUnit(v, p) +
                               " liegt nicht im erlaubten Bereich " + rangeText(p) + ".");
        }
    }
}

} // namespace fittings_detail

const FittingCatalogue& fittingCatalogue() {
    return catalogue;
}

const FittingKindFacts& factsOf(FittingKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    if (index >= catalogue.size()) {
        throw FittingError("Unbekannte Art eines Einzelwiderstands.");
    }
    return catalogue[index];
}

const FittingKindFacts* findFittingKind(std::string_view key) {
    for (const FittingKindFacts& facts : catalogue) {
        if (key == facts.key) {
            return &facts;
        }
    }
    return nullptr;
}

FittingItem defaultFittingItem(FittingKind kind) {
    const FittingKindFacts& facts = factsOf(kind);
    FittingItem item;
    item.kind = kind;
    for (std::size_t i = 0; i < facts.parameterCount; ++i) {
        item.values[i] = facts.parameters[i].defaultValue;
    }
    return item;
}

double valveLoss(double kv, double flowRate, double density) {
    using fittings_detail::decimalText;
    if (!positive(kv)) {
        throw FittingError("Der Kv-Wert " + decimalText(kv) + " m³/h ist keine Zahl über 0.");
    }
    if (!positive(density)) {
        throw FittingError("Die Dichte " + decimalText(density) + " kg/m³ ist keine Zahl über 0.");
    }
    const double loss = valveLossOf(kv, flowRate, density);
    if (!std::isfinite(loss)) {
        throw FittingError("Der Druckverlust des Ventils bei " + decimalText(flowRate) +
                           " dm³/min ist nicht darstellbar.");
    }
    return loss;
}

double craneFrictionFactor(double innerDiameter) {
    if (!(innerDiameter >= smallestCraneDiameter) || !std::isfinite(innerDiameter)) {
        throw FittingError("fT nach Crane braucht einen Innendurchmesser ab 1 mm, nicht " +
                           fittings_detail::decimalText(innerDiameter) + " mm.");
    }
    return craneFriction(innerDiameter);
}

void checkFittingItems(const std::vector<FittingItem>& items) {
    if (items.size() > maxFittingItems) {
        throw FittingError("Eine Zeile kann höchstens " + std::to_string(maxFittingItems) +
                           " Einzelwiderstände haben, nicht " + std::to_string(items.size()) + ".");
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        fittings_detail::checkItem(items[i], i + 1);
    }
}

FittingsLoss fittingsLoss(const std::vector<FittingItem>& items, const FittingFlow& flow) {
    using fittings_detail::decimalText;
    using fittings_detail::itemPrefix;
    checkFittingItems(items);
    FittingsLoss result;
    if (items.empty()) {
        return result;
    }
    if (!positive(flow.density)) {
        throw FittingError("Einzelwiderstände: die Dichte der Zeile (" + decimalText(flow.density) +
                           " kg/m³) ist keine Zahl über 0.");
    }
    // A velocity of 0 or against the flow gives no Z to add: refused, not answered with 0.
    if (!positive(flow.velocity)) {
        throw FittingError("Einzelwiderstände: die Geschwindigkeit der Zeile (" +
                           decimalText(flow.velocity) + " m/s) ist keine Zahl über 0.");
    }
    const double dynamic = flow.density * flow.velocity * flow.velocity / 2;
    if (!positive(dynamic)) {
        throw FittingError("Einzelwiderstände: der Staudruck ρ·v²/2 der Zeile ist nicht "
                           "darstellbar (v = " +
                           decimalText(flow.velocity) + " m/s).");
    }
    result.items.reserve(items.size());
    double ft = std::numeric_limits<double>::quiet_NaN(); // the row's, once needed
    for (std::size_t i = 0; i < items.size(); ++i) {
        const FittingItem& item = items[i];
        const FittingKindFacts& facts = factsOf(item.kind);
        const double count = item.count;
        FittingItemLoss out;
        if (facts.basis == ZetaBasis::UserKv) {
            if (!flow.flowRate || !positive(*flow.flowRate)) {
                throw FittingError(itemPrefix(i + 1, facts) +
                                   (flow.flowRate ? "der Volumenstrom der Zeile (" +
                                                        decimalText(*flow.flowRate) +
                                                        " dm³/min) ist keine Zahl über 0."
                                                  : std::string("der Volumenstrom der Zeile ist "
                                                                "nicht bekannt.")));
            }
            const double one = valveLossOf(item.values[0], *flow.flowRate, flow.density);
            out.zeta = one / dynamic;
            out.zetaTotal = count * out.zeta;
            out.loss = count * one;
        } else {
            if (facts.basis == ZetaBasis::RowFriction &&
                !(positive(flow.frictionFactor) && flow.frictionFactor <= 1)) {
                throw FittingError(itemPrefix(i + 1, facts) +
                                   "die Rohrreibungszahl λ = " + decimalText(flow.frictionFactor) +
                                   " der Zeile ist nicht verwendbar (über 0 bis 1).");
            }
            if (facts.basis == ZetaBasis::CraneFriction && std::isnan(ft)) {
                if (!flow.innerDiameter) {
                    throw FittingError(itemPrefix(i + 1, facts) +
                                       "der Innendurchmesser der Zeile ist nicht bekannt.");
                }
                try {
                    ft = craneFrictionFactor(*flow.innerDiameter);
                } catch (const FittingError& e) {
                    throw FittingError(itemPrefix(i + 1, facts) + e.what());
                }
            }
            out.zeta =
                zetaOf(item, flow.frictionFactor, ft, flow.innerDiameter ? *flow.innerDiameter : 0);
            out.zetaTotal = count * out.zeta;
            out.loss = out.zetaTotal * dynamic;
        }
        if (!std::isfinite(out.zeta) || !std::isfinite(out.zetaTotal) || !std::isfinite(out.loss)) {
            throw FittingError(itemPrefix(i + 1, facts) +
                               "ζ oder Druckverlust ist nicht darstellbar (Überlauf).");
        }
        result.zetaSum += out.zetaTotal;
        result.loss += out.loss;
        result.items.push_back(out);
    }
    if (!std::isfinite(result.zetaSum) || !std::isfinite(result.loss)) {
        throw FittingError("Einzelwiderstände: die Summe ist nicht darstellbar (Überlauf).");
    }
    return result;
}

} // namespace kolmaris
