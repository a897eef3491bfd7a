#include "number_formats.h"
#include "recording_sink.h"
#include "results/result_row.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kolmaris {
namespace {

using Kind = ResultNote::Kind;
using Kinds = std::vector<Kind>;
using test_support::german;

Kinds kindsOf(const std::vector<ResultNote>& notes) {
    Kinds kinds;
    for (const ResultNote& note : notes) {
        kinds.push_back(note.kind);
    }
    return kinds;
}

TEST(ResultNotes, StandAtTheirThresholds) {
    const double justBelowLaminar = std::nextafter(laminarLimit, 0.0);
    const struct {
        Medium medium;
        double reynolds, temperature;
        Kinds expected;
    } cases[] = {
        {Medium::Water, laminarLimit, 20, {}},
        {Medium::Water, justBelowLaminar, 20, {Kind::Laminar}},
        {Medium::Water, -justBelowLaminar, 20, {Kind::Laminar}}, // a reversed flow
        {Medium::Water, 5e4, 100, {}},
        {Medium::Water, 5e4, std::nextafter(100.0, 200.0), {Kind::HotterThanTable}},
        {Medium::Water, 5e4, 0, {}},
        {Medium::CompressedAir, 5e4, std::nextafter(0.0, -1.0), {Kind::ColderThanTable}},
        {Medium::FuelOil, 1414, 120, {Kind::Laminar}}, // one viscosity at every temperature
        {Medium::NaturalGas, 5e4, -20, {}},
    };
    for (const auto& c : cases) {
        CalculationRecord record;
        record.reynolds = c.reynolds;
        record.temperature = c.temperature;
        record.balanceAbs = 0.01; // a pass accepted
        EXPECT_EQ(kindsOf(notesOf(record, c.medium)), c.expected)
            << c.reynolds << " " << c.temperature;
    }
    CalculationRecord laminar;
    laminar.reynolds = 1600;
    EXPECT_DOUBLE_EQ(notesOf(laminar, Medium::FuelOil).at(0).value, 0.04);
    // 64/1414 = 0.0452616...: kept to the five decimals λ is shown with.
    laminar.reynolds = 1414;
    EXPECT_EQ(notesOf(laminar, Medium::FuelOil).at(0).value, 0.04526);
}

TEST(ResultNotes, TellANearestCandidateFromAnAcceptedOne) {
    test_support::RecordingSink sink;
    CalculationRecord record;
    record.diameterInput = 1000;
    record.flowRateInput = 1e6;
    record.lengthInput = 1;
    record.temperatureInput = 20;
    calculate(record, Medium::Water, Material::StainlessSteel, sink);
    EXPECT_EQ(kindsOf(notesOf(record, Medium::Water)), Kinds{Kind::NearestCandidate});

    record.diameterInput = 50;
    record.flowRateInput = 100;
    calculate(record, Medium::Water, Material::BlackIron, sink);
    EXPECT_EQ(kindsOf(notesOf(record, Medium::Water)), Kinds{});
}

TEST(ResultNotes, ReadBackFromTheirTextAmongARemark) {
    ResultOrigin origin;
    origin.inputs = ResultInputs{25, 10, 100, 120, Medium::Water, Material::Copper};
    origin.notes = {{Kind::Laminar, 0.04526},
                    {Kind::HotterThanTable, 0},
                    {Kind::ColderThanTable, 0},
                    {Kind::NearestCandidate, 0}};
    const std::string text = notesText(origin, german);
    EXPECT_NE(text.find("64/Re = 0,04526"), std::string::npos) << text;
    EXPECT_NE(text.find("Zähigkeit von 90–100 °C verwendet"), std::string::npos) << text;
    EXPECT_EQ(parseNotesText(text), origin.notes);
    EXPECT_EQ(parseNotesText("geprüft am Montag; " + notesText(origin, NumberFormat{'.'})),
              origin.notes);
    EXPECT_TRUE(parseNotesText("").empty());
}

TEST(ResultNotes, DescribeTheRowForItsTooltip) {
    ResultOrigin origin;
    origin.inputs = ResultInputs{25, 10, 0.1 + 0.2, -5, Medium::FuelOil, Material::Plastic};
    origin.notes = {{Kind::Laminar, 0.04526}};
    EXPECT_EQ(describeOrigin(3, origin, german),
              "Ergebnis 3\nDurchmesser: 25 mm\nVolumenstrom: 10 dm3/min\n"
              "Länge: 0,30000000000000004 m\nTemperatur: -5 °C\nMedium: Heizöl (EL)\n"
              "Rohrmaterial: Kunststoffrohr\n"
              "Hinweis: laminar (Re < 2320): Colebrook gilt hier nicht, 64/Re = 0,04526");
    EXPECT_EQ(describeOrigin(1, ResultOrigin{}, german), "Ergebnis 1\nEingaben nicht gespeichert");
}

TEST(ResultNotes, TooltipsAndNotesWriteOrdinaryNumbersWithoutAnExponent) {
    ResultOrigin origin;
    origin.inputs = ResultInputs{1e-3, 1e-4, 1e6, 1e-9, Medium::Water, Material::Copper};
    origin.notes = {{Kind::Laminar, 64 / 0.0001}, {Kind::HotterThanTable, 0}};
    const std::string tip = describeOrigin(1, origin, german);
    for (const char* shown : {"Durchmesser: 0,001 mm", "Volumenstrom: 0,0001 dm3/min",
                              "Länge: 1000000 m", "Temperatur: 0,000000001 °C", "64/Re = 640000"}) {
        EXPECT_NE(tip.find(shown), std::string::npos) << shown << "\n" << tip;
    }
    for (const std::string& text : {tip, notesText(origin, german)}) {
        EXPECT_EQ(text.find("e+"), std::string::npos) << text;
        EXPECT_EQ(text.find("e-"), std::string::npos) << text;
    }
    // A note's number reads back exactly, from either separator.
    origin.notes = {{Kind::Laminar, 64 / 2319.9}};
    EXPECT_EQ(parseNotesText(notesText(origin, german)), origin.notes);
    EXPECT_EQ(parseNotesText(notesText(origin, NumberFormat{'.'})), origin.notes);
}

// A workbook may hold megabytes where notes belong: they are read only as far as notes of ours
// can stand, a few short parts with each kind once, and shown only a few at a time.
TEST(ResultNotes, AreReadAndShownOnlyAsFarAsNotesOfOursGo) {
    ResultOrigin ours;
    ours.inputs = ResultInputs{25, 10, 100, 120, Medium::Water, Material::Copper};
    ours.notes = {
        {Kind::Laminar, 0.04526}, {Kind::HotterThanTable, 0}, {Kind::NearestCandidate, 0}};
    const std::string text = notesText(ours, german);
    const std::string laminar = noteText(ours.notes[0], Medium::Water, german);
    const auto times = [](const std::string& unit, std::size_t count) {
        std::string out;
        for (std::size_t i = 0; i < count; ++i) {
            out += unit;
        }
        return out;
    };
    const Kinds all = {Kind::Laminar, Kind::HotterThanTable, Kind::NearestCandidate};
    const struct {
        const char* what;
        std::string text;
        Kinds expected;
    } cases[] = {
        {"after short remarks", times("x; ", maxNoteParts - all.size()) + text, all},
        {"partly past the parts looked at",
         times("x; ", maxNoteParts - 2) + text,
         {Kind::Laminar, Kind::HotterThanTable}},
        {"one note repeated", times(laminar + "; ", 1000), {Kind::Laminar}},
        {"after a million separators", times("; ", 1000000) + text, {}},
        {"after a remark as long as a note", std::string(maxNoteChars, 'x') + "; " + text, all},
        {"after a longer remark", std::string(maxNoteChars + 1, 'x') + "; " + text, {}},
        {"a note grown too long", laminar + std::string(maxNoteChars, '0'), {}},
    };
    for (const auto& c : cases) {
        const auto notes = parseNotesText(c.text);
        EXPECT_EQ(kindsOf(notes), c.expected) << c.what;
        // Nothing past the bound is read, so a reader need convert no more than that.
        EXPECT_EQ(parseNotesText(std::string_view(c.text).substr(0, maxNotesTextBytes)), notes)
            << c.what;
    }

    ResultOrigin many;
    many.notes.assign(2 * maxNotesPerRow, {Kind::NearestCandidate, 0});
    const std::vector<std::string> shown = shownNoteTexts(many, german);
    ASSERT_EQ(shown.size(), maxNotesPerRow + 1);
    EXPECT_EQ(shown.back(), "…");
    const std::string tip = describeOrigin(1, many, german);
    EXPECT_EQ(tip.find("\nHinweis: …"), tip.size() - 13) << tip; // and last in the tooltip
}

} // namespace
} // namespace kolmaris
