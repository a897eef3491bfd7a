#include "results/result_row.h"

#include "calc/media.h"
#include "results/table_layout.h"

#include <cmath>
#include <utility>

namespace kolmaris {

namespace {

const char* const hotterText = "über 100 °C: Zähigkeit von ";
const char* const colderText = "unter 0 °C: Zähigkeit von ";
const char* const nearestText = "kein Durchlauf angenommen: nächstliegender Kandidat";
const char* const noteSeparator = "; ";

// The laminar note up to its number.
std::string laminarText() {
    return "laminar (Re < " + formatExact(laminarLimit, NumberFormat{}) +
           "): Colebrook gilt hier nicht, 64/Re = ";
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The band a run outside the table used, for the media whose viscosity has bands.
std::string bandOf(ResultNote::Kind kind, std::optional<Medium> medium,
                   const NumberFormat& format) {
    const bool hotter = kind == ResultNote::Kind::HotterThanTable;
    if (medium && viscosityDependsOnTemperature(*medium)) {
        return bandText(hotter ? hottestBandOf(*medium) : coldestBandOf(*medium),
                        format.decimalSeparator);
    }
    return hotter ? "der heißesten Stufe" : "der kältesten Stufe";
}

// A number as a note writes it, with either separator: the workbook may come from anywhere.
std::optional<double> noteNumber(const std::string& text) {
    const auto value = parseNumber(text, NumberFormat{','});
    return value ? value : parseNumber(text, NumberFormat{'.'});
}

} // namespace

bool ResultInputs::operator==(const ResultInputs& other) const {
    return diameter == other.diameter && flowRate == other.flowRate && length == other.length &&
           temperature == other.temperature && medium == other.medium && material == other.material;
}

std::vector<ResultNote> notesOf(const CalculationRecord& record, Medium medium) {
    std::vector<ResultNote> notes;
    // A negative flow runs the other way; what counts for the flow regime is its size.
    const double reynolds = std::fabs(record.reynolds);
    if (reynolds < laminarLimit) {
        // 64/Re is there to be compared with the table's λ, so it keeps λ's decimals:
        // "64/Re = 0,04526" rather than seventeen digits.
        notes.push_back(
            {ResultNote::Kind::Laminar,
             reynolds > 0 ? shownValue(64 / reynolds, columnDecimals[tableCols - 1]) : 0});
    }
    if (viscosityDependsOnTemperature(medium)) {
        if (record.temperature > hottestBandOf(medium).to) {
            notes.push_back({ResultNote::Kind::HotterThanTable, 0});
        } else if (record.temperature < coldestBandOf(medium).from) {
            notes.push_back({ResultNote::Kind::ColderThanTable, 0});
        }
    }
    if (tookNearestCandidate(record)) {
        notes.push_back({ResultNote::Kind::NearestCandidate, 0});
    }
    return notes;
}

ResultValues resultOf(const CalculationRecord& record, Medium medium, Material material) {
    ResultValues values{record.velocity, record.lossPerMetre, record.lossTotal, record.reynolds,
                        record.lambda};
    values.origin.inputs = ResultInputs{record.diameterInput,
                                        record.flowRateInput,
                                        record.lengthInput,
                                        record.temperatureInput,
                                        medium,
                                        material};
    values.origin.notes = notesOf(record, medium);
    return values;
}

std::string noteText(const ResultNote& note, std::optional<Medium> medium,
                     const NumberFormat& format) {
    switch (note.kind) {
    case ResultNote::Kind::Laminar:
        return laminarText() + formatExact(note.value, format);
    case ResultNote::Kind::HotterThanTable:
        return hotterText + bandOf(note.kind, medium, format) + " verwendet";
    case ResultNote::Kind::ColderThanTable:
        return colderText + bandOf(note.kind, medium, format) + " verwendet";
    case ResultNote::Kind::NearestCandidate:
        return nearestText;
    }
    return {}; // unreachable
}

std::string notesText(const ResultOrigin& origin, const NumberFormat& format) {
    const std::optional<Medium> medium =
        origin.inputs ? std::optional<Medium>(origin.inputs->medium) : std::nullopt;
    std::string text;
    for (const ResultNote& note : origin.notes) {
        if (!text.empty()) {
            text += noteSeparator;
        }
        text += noteText(note, medium, format);
    }
    return text;
}

std::vector<ResultNote> parseNotesText(const std::string& text) {
    std::vector<ResultNote> notes;
    const std::string laminar = laminarText();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(noteSeparator, start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string part = text.substr(start, end - start);
        if (startsWith(part, laminar)) {
            const auto value = noteNumber(part.substr(laminar.size()));
            if (value) {
                notes.push_back({ResultNote::Kind::Laminar, *value});
            }
        } else if (startsWith(part, hotterText)) {
            notes.push_back({ResultNote::Kind::HotterThanTable, 0});
        } else if (startsWith(part, colderText)) {
            notes.push_back({ResultNote::Kind::ColderThanTable, 0});
        } else if (part == nearestText) {
            notes.push_back({ResultNote::Kind::NearestCandidate, 0});
        }
        start = end + std::char_traits<char>::length(noteSeparator);
    }
    return notes;
}

std::string describeOrigin(int resultNumber, const ResultOrigin& origin,
                           const NumberFormat& format) {
    std::string text = "Ergebnis " + std::to_string(resultNumber);
    std::optional<Medium> medium;
    if (const auto& in = origin.inputs) {
        medium = in->medium;
        text += "\nDurchmesser: " + formatExact(in->diameter, format) + " mm";
        text += "\nVolumenstrom: " + formatExact(in->flowRate, format) + " dm3/min";
        text += "\nLänge: " + formatExact(in->length, format) + " m";
        text += "\nTemperatur: " + formatExact(in->temperature, format) + " °C";
        text += std::string("\nMedium: ") + nameOf(in->medium);
        text += std::string("\nRohrmaterial: ") + nameOf(in->material);
    } else {
        text += "\nEingaben nicht gespeichert";
    }
    for (const ResultNote& note : origin.notes) {
        text += "\nHinweis: " + noteText(note, medium, format);
    }
    return text;
}

} // namespace kolmaris
