#include "fittings/fittings.h"

#include "calc/calculation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <locale>
#include <map>
#include <sstream>

namespace kolmaris {
namespace {

struct ReferencePoint {
    std::string key;
    double diameter, friction, flowRate, a, b, value;
};

// The lines of tests/fittings/fluids_reference.py, run with the system interpreter.
std::vector<ReferencePoint> fluidsReference(std::string& failure) {
    const std::string command =
        std::string(KOLMARIS_PYTHON) + " '" + KOLMARIS_FLUIDS_REFERENCE + "' 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, n);
        }
        if (pclose(pipe) != 0) {
            failure = command + " failed (python3-fluids: scripts/install-deps.sh):\n" + output;
        }
    } else {
        failure = "cannot start " + command;
    }
    std::istringstream in(output);
    in.imbue(std::locale::classic());
    std::vector<ReferencePoint> points;
    for (ReferencePoint p;
         in >> p.key >> p.diameter >> p.friction >> p.flowRate >> p.a >> p.b >> p.value;) {
        points.push_back(p);
    }
    if (failure.empty() && (!in.eof() || points.empty())) {
        failure = "unreadable output of " + command + ":\n" + output;
    }
    return points;
}

// The same formula as the source gives rounding only. Crane's multiples differ by fT alone:
// Crane's formula for ε = 0.0018 in, where fluids fits Crane's rounded table (1.9 % at 8 mm).
// A Kv value: fluids' 1.6e9 against 22/7 and ρ = 1000 in the row's velocity.
double toleranceFor(const std::string& key) {
    const FittingKindFacts* facts = findFittingKind(key);
    const ZetaBasis basis = facts ? facts->basis : ZetaBasis::CraneFriction; // "ft"
    return basis == ZetaBasis::CraneFriction ? 0.02 : basis == ZetaBasis::UserKv ? 3e-4 : 1e-12;
}

double oursFor(const ReferencePoint& p) {
    const FittingKindFacts* facts = findFittingKind(p.key);
    if (!facts) {
        return craneFrictionFactor(p.diameter); // "ft"
    }
    FittingFlow flow{1000, 1, p.friction, p.diameter, p.flowRate};
    if (facts->basis == ZetaBasis::UserKv) {
        // The row as "Berechnen" leaves it, π = 22/7 in its velocity.
        CalculationRecord record;
        record.diameterInput = p.diameter;
        record.flowRateInput = p.flowRate;
        record.lengthInput = 1;
        record.temperatureInput = 20;
        SilentSink silent;
        calculate(record, Medium::Water, Material::Copper, silent);
        flow = {record.density, record.velocity, record.lambda, p.diameter, p.flowRate};
    }
    return fittingsLoss({{facts->kind, {p.a, p.b}, 1}}, flow).items.at(0).zeta;
}

TEST(FittingsAgainstFluids, EveryKindOverItsParameters) {
    std::string failure;
    const std::vector<ReferencePoint> points = fluidsReference(failure);
    ASSERT_TRUE(failure.empty()) << failure;
    std::map<std::string, std::pair<double, int>> worst; // largest deviation, points
    for (const ReferencePoint& p : points) {
        const double ours = oursFor(p);
        // Relative, and absolute below |ζ| = 0.01, where the tee formulas cancel.
        const double dev = std::abs(ours - p.value) / std::max(std::abs(p.value), 0.01);
        EXPECT_LE(dev, toleranceFor(p.key))
            << p.key << " d=" << p.diameter << " λ=" << p.friction << " a=" << p.a << " b=" << p.b
            << ": ours " << ours << ", fluids " << p.value;
        auto& [largest, count] = worst[p.key];
        largest = std::max(largest, std::isnan(dev) ? INFINITY : dev);
        ++count;
    }
    for (const FittingKindFacts& facts : fittingCatalogue()) {
        EXPECT_TRUE(facts.kind == FittingKind::UserZeta || worst.count(facts.key)) << facts.key;
    }
    for (const auto& [key, w] : worst) {
        std::printf("%-24s %4d points, largest deviation %.2e (tolerance %.0e)\n", key.c_str(),
                    w.second, w.first, toleranceFor(key));
    }
}

FittingItem item(FittingKind kind, double a = 0, double b = 0, int count = 1) {
    return {kind, {a, b}, count};
}

// A row of 16 mm copper at 0.5 m/s, water.
const FittingFlow row{1000, 0.5, 0.03, 16.0, 10.0};

TEST(FittingsInput, ZOrARefusalNamingTheItem) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<FittingItem> tooMany(maxFittingItems + 1, item(FittingKind::ExitToVessel));
    FittingFlow noInputs = row;
    noInputs.innerDiameter.reset();
    noInputs.flowRate.reset();
    struct Case {
        std::vector<FittingItem> items;
        FittingFlow flow;
        const char* reason; // nullptr: accepted
    };
    using K = FittingKind;
    const Case cases[] = {
        {{item(K::ExitToVessel, 0, 0, -1)}, row, "Anzahl -1 ist nicht erlaubt (0 bis 999)"},
        {{item(K::UserZeta, nan)}, row, "ζ ist keine Zahl"},
        {{item(K::UserZeta, -0.5)}, row, "ζ = -0,5 liegt nicht im erlaubten Bereich ab 0"},
        {{item(K::UserKv, 0)}, row, "Kv-Wert = 0 m³/h liegt nicht im erlaubten Bereich über 0"},
        {{item(K::ExitToVessel), item(K::Bend90, 0.3)},
         row,
         "Einzelwiderstand 2 (Bogen 90°): Krümmungsradius / Innendurchmesser r/d = 0,3 liegt"},
        {{item(K::TeeBranchSplit, 0, 1)}, row, "Abzweig / gesamt = 0 liegt nicht"},
        {{item(static_cast<K>(fittingKindCount))}, row, "unbekannte Art"},
        {tooMany, row, "höchstens 50"},
        {{item(K::ExitToVessel)}, {0, 0.5, 0.03, 16.0, 10.0}, "Dichte"},
        {{item(K::ExitToVessel)}, {1000, 0, 0.03, 16.0, 10.0}, "Geschwindigkeit"},
        {{item(K::ExitToVessel)}, {1000, -0.5, 0.03, 16.0, 10.0}, "Geschwindigkeit"},
        {{item(K::ExitToVessel)}, {1000, 1e200, 0.03, 16.0, 10.0}, "Staudruck"},
        {{item(K::UserKv, 1)}, {1000, 1e-170, 0.03, 16.0, 10.0}, "Staudruck"},
        {{item(K::UserZeta, 1e308, 0, 999)}, row, "Überlauf"},
        {{item(K::UserKv, 1e-300)}, row, "Überlauf"},
        {{item(K::UserZeta, 1), item(K::UserKv, 1)},
         noInputs,
         "Einzelwiderstand 2 (Kv-Wert (eigene Angabe)): der Volumenstrom der Zeile ist nicht"},
        {{item(K::BallValve)}, noInputs, "Innendurchmesser der Zeile ist nicht"},
        {{item(K::BallValve)}, {1000, 0.5, 0.03, 0.5, 10.0}, "ab 1 mm, nicht 0,5 mm"},
        {{item(K::Bend45, 1)}, {1000, 0.5, 0, 16.0, 10.0}, "Rohrreibungszahl λ = 0"},
        // What needs nothing the row lacks is answered; no items give 0 whatever the flow.
        {{item(K::Bend90, 1), item(K::UserZeta, 2)}, noInputs, nullptr},
        {{}, {0, nan, nan, std::nullopt, std::nullopt}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason ? c.reason : "accepted");
        try {
            fittingsLoss(c.items, c.flow);
            EXPECT_EQ(c.reason, nullptr);
        } catch (const FittingError& e) {
            ASSERT_NE(c.reason, nullptr) << e.what();
            EXPECT_NE(std::strstr(e.what(), c.reason), nullptr) << e.what();
        }
    }

    // The units: 10 dm³/min = 0.6 m³/h through Kv 2.5 loses 10⁵·0.24² Pa, whatever π gave v.
    const FittingsLoss z =
        fittingsLoss({item(FittingKind::UserZeta, 2, 0, 3), item(FittingKind::UserKv, 2.5),
                      item(FittingKind::SharpEntrance, 0, 0, 0)},
                     row);
    EXPECT_NEAR(valveLoss(2.5, 10, 1000), 5760, 1e-9);
    EXPECT_NEAR(z.items[0].loss, 750, 1e-9); // 3 × 2 × 1000 · 0.5² / 2
    EXPECT_NEAR(z.items[1].zeta, 5760 / 125.0, 1e-12);
    EXPECT_EQ(z.items[2].loss, 0);
    EXPECT_NEAR(z.loss, 750 + 5760, 1e-9);
    EXPECT_NEAR(z.zetaSum, 6 + 5760 / 125.0, 1e-12);
    EXPECT_THROW(valveLoss(0, 10, 1000), FittingError);
}

bool sameItems(const std::vector<FittingItem>& a, const std::vector<FittingItem>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.kind == y.kind && x.count == y.count &&
               std::memcmp(x.values.data(), y.values.data(), sizeof x.values) == 0;
    });
}

TEST(FittingsText, ReadsBackToTheBitAndRefusesHostileText) {
    // Every kind, with numbers whose shortest text is long or odd, under German settings.
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before ? before : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    std::vector<FittingItem> every;
    for (const FittingKindFacts& facts : fittingCatalogue()) {
        FittingItem odd = defaultFittingItem(facts.kind);
        for (std::size_t i = 0; i < facts.parameterCount; ++i) {
            const FittingParameter& p = facts.parameters[i];
            odd.values[i] = std::isinf(p.max) ? 1.0 / 3 : std::nextafter(p.max, p.min);
        }
        odd.count = static_cast<int>(every.size() % 3) * 499;
        every.push_back(odd);
    }
    every.push_back(item(FittingKind::UserZeta, 4.9406564584124654e-324, 0, 2)); // subnormal
    every.push_back(item(FittingKind::UserZeta, 1.7976931348623157e308));
    every.push_back(item(FittingKind::UserKv, 2.2250738585072014e-308));
    every.push_back(item(FittingKind::MitreBend, -0.0));
    const std::vector<FittingItem> longest(
        maxFittingItems,
        item(FittingKind::TeeRunMerge, 0.98999999999999988, 0.20000000000000004, maxFittingCount));
    for (const auto& items : {every, longest, std::vector<FittingItem>{}}) {
        const std::string text = fittingsText(items);
        EXPECT_LE(text.size(), maxFittingsTextLength);
        EXPECT_TRUE(sameItems(parseFittingsText(text), items)) << text;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(fittingsText({item(FittingKind::Bend90, 1.5, 0, 2), item(FittingKind::ExitToVessel),
                            item(FittingKind::TeeRunSplit, 0.25, 0.8)}),
              "2 × bogen90 (r/d=1,5); 1 × auslauf; 1 × t_trennung_durchgang (VA/V=0,25; dA/d=0,8)");
    EXPECT_EQ(parseFittingsText("  3x zeta(zeta = 2,5) ;1 × auslauf ").size(), 2u);

    std::string manyItems;
    for (std::size_t i = 0; i <= maxFittingItems; ++i) {
        manyItems += "1 × auslauf; ";
    }
    manyItems.resize(manyItems.size() - 2);
    const struct {
        std::string text;
        std::string reason;
    } hostile[] = {
        {"2 × bogen90", "Zeichen 12: erwartet wird „(“"},
        {"2 × foo (r/d=1)", "Einzelwiderstand 1: Zeichen 5: unbekannte Art „foo“"},
        {"1 × zeta (zeta=1.5)", "„1.5“: Dezimaltrennzeichen ist das Komma"},
        {"1 × zeta (zeta=inf)", "erwartet wird eine Zahl"},
        {"1 × zeta (zeta=1e999)", "„1e999“ ist keine Zahl im Bereich"},
        {"1 × zeta (zeta=1,5,5)", "keine Zahl"},
        {"1 × kv (Kv=-0)", "über 0"},
        {"1000 × auslauf", "Anzahl 1000 ist zu groß"},
        {"99999999999999999999999 × auslauf", "zu groß"},
        {"-1 × auslauf", "erwartet wird eine Anzahl"},
        {"1 auslauf", "„×“"},
        {"1 × auslauf;", "nach „;“ fehlt"},
        {"1 × auslauf (x=1)", "„;“ vor dem nächsten"},
        {"1 × bogen90 (r/d=1,5; x=1)", "„)“ nach den Parametern"},
        {"1 × t_trennung_abzweig (dA/d=1; VA/V=0,5)", "erwartet wird der Parameter „VA/V“"},
        {std::string("1 × auslauf\0; 1 × auslauf", sizeof "1 × auslauf\0; 1 × auslauf" - 1),
         "„;“ vor dem nächsten"},
        {"1 × auslauf; 2 × bogen90 (r/d=0,4)", "Einzelwiderstand 2 (Bogen 90°): Krümmungs"},
        {"1 × " + std::string(5000, 'a'), "unbekannte Art „" + std::string(32, 'a') + "“"},
        {"1 × zeta (zeta=" + std::string(5000, '1') + ")", "ist zu lang"},
        {manyItems, "mehr als 50"},
        {std::string(maxFittingsTextLength + 1, ' '), "länger als die erlaubten 8192"},
        {"\xC3", "erwartet wird eine Anzahl"},
    };
    for (const auto& h : hostile) {
        SCOPED_TRACE(h.text.substr(0, 60));
        try {
            parseFittingsText(h.text);
            ADD_FAILURE() << "accepted";
        } catch (const FittingError& e) {
            EXPECT_NE(std::string(e.what()).find(h.reason), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace kolmaris
