#include "results/result_row.h"

#include "calc/media.h"
#include "results/table_layout.h"

#include <algorithm>
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

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
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

// The note a part of a notes text is, if it is one of ours.
std::optional<ResultNote> noteOf(std::string_view part, const std::string& laminar) {
    if (startsWith(part, laminar)) {
        const auto value = noteNumber(std::string(part.substr(laminar.size())));
        return value ? std::optional<ResultNote>({ResultNote::Kind::Laminar, *value})
                     : std::nullopt;
    }
    if (startsWith(part, hotterText)) {
        return ResultNote{ResultNote::Kind::HotterThanTable, 0};
    }
    if (startsWith(part, colderText)) {
        return ResultNote{ResultNote::Kind::ColderThanTable, 0};
    }
    if (part == nearestText) {
        return ResultNote{ResultNote::Kind::NearestCandidate, 0};
    }
    return std::nullopt;
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

std::vector<ResultNote> parseNotesText(std::string_view text) {
    std::vector<ResultNote> notes;
    const std::string laminar = laminarText();
    const std::string_view separator = noteSeparator;
    std::size_t start = 0;
    for (std::size_t parts = 0; parts < maxNoteParts && start <= text.size(); ++parts) {
        // A separator is looked for only where a note of ours could still end.
        const std::string_view rest = text.substr(start, maxNoteChars + separator.size());
        std::size_t end = rest.find(separator);
        if (end == std::string_view::npos) {
            if (rest.size() > maxNoteChars) {
                break; // a remark: what follows is the user's too
            }
            end = rest.size();
        }
        const auto note = noteOf(rest.substr(0, end), laminar);
        const auto sameKind = [&note](const ResultNote& n) { return n.kind == note->kind; };
        if (note && std::none_of(notes.begin(), notes.end(), sameKind)) {
            notes.push_back(*note);
        }
        start += end + separator.size();
    }
    return notes;
}

std::vector<std::string> shownNoteTexts(const ResultOrigin& origin, const NumberFormat& format) {
    const std::optional<Medium> medium =
        origin.inputs ? std::optional<Medium>(origin.inputs->medium) : std::nullopt;
    std::vector<std::string> texts;
    for (const ResultNote& note : origin.notes) {
        if (texts.size() == maxNotesPerRow) {
            texts.emplace_back("…");
            break;
        }
        texts.push_back(noteText(note, medium, format));
    }
    return texts;
}

std::string describeOrigin(int resultNumber, const ResultOrigin& origin,
                           const NumberFormat& format) {
    std::string text = "Ergebnis " + std::to_string(resultNumber);
    if (const auto& in = origin.inputs) {
        text += "\nDurchmesser: " + formatExact(in->diameter, format) + " mm";
        text += "\nVolumenstrom: " + formatExact(in->flowRate, format) + " dm3/min";
        text += "\nLänge: " + formatExact(in->length, format) + " m";
        text += "\nTemperatur: " + formatExact(in->temperature, format) + " °C";
        text += std::string("\nMedium: ") + nameOf(in->medium);
        text += std::string("\nRohrmaterial: ") + nameOf(in->material);
    } else {
        text += "\nEingaben nicht gespeichert";
    }
    for (const std::string& note : shownNoteTexts(origin, format)) {
        text += "\nHinweis: " + note;
    }
    return text;
}

} // namespace kolmaris
