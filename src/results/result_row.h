#pragma once

#include "calc/calculation.h"
#include "calc/media.h"
#include "fittings/fittings.h"
#include "results/number_format.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolmaris {

// What a result was calculated from: the four inputs as converted, in the units the window
// asks for, and the two selections.
struct ResultInputs {
    double diameter = 0;    // mm
    double flowRate = 0;    // dm³/min
    double length = 0;      // m
    double temperature = 0; // °C
    Medium medium = Medium::Water;
    Material material = Material::GalvanisedIron;

    bool operator==(const ResultInputs& other) const;
};

// Where a result's number needs care. The values stay the method's; the note only tells.
struct ResultNote {
    enum class Kind {
        Laminar,          // Re below 2320: value holds 64/Re for comparison
        HotterThanTable,  // water or compressed air above 100 °C: the hottest band was used
        ColderThanTable,  // below 0 °C: the coldest band was used
        NearestCandidate, // no pass accepted: lambda is the candidate nearest the sign change
    };
    Kind kind = Kind::Laminar;
    double value = 0;

    bool operator==(const ResultNote& other) const {
        return kind == other.kind && value == other.value;
    }
};

// Everything a row of the table says about where it came from. Rows read from workbooks of
// older versions have no inputs. The fittings are the section's besides its straight pipe; the
// store keeps them valid (checkFittingItems).
struct ResultOrigin {
    std::optional<ResultInputs> inputs;
    std::vector<ResultNote> notes;
    std::vector<FittingItem> fittings;

    bool operator==(const ResultOrigin& other) const {
        return inputs == other.inputs && notes == other.notes && fittings == other.fittings;
    }
};

// One result row as numbers, with its origin. The result number is not kept: rows are numbered
// by their place in the table they land in.
struct ResultValues {
    double velocity = 0;
    double lossPerMetre = 0;
    double lossTotal = 0;
    double reynolds = 0;
    double lambda = 0;
    ResultOrigin origin{};
};

// Bounds on the texts of a row's origin as a workbook brings them. A file is hostile input: one
// shared string of megabytes may stand in every cell, and reading a row, its tooltip and its
// line in the report must cost microseconds whatever the cells hold.
//
// A cell naming a medium or a material holds one of a few short names, with whatever blanks a
// spreadsheet user left around it; a longer text names none, and is not even copied.
inline constexpr std::size_t maxNameCellChars = 256;
// A row has at most one note of each kind; what a tooltip or the report shows of a row's notes
// is never more.
inline constexpr std::size_t maxNotesPerRow = 4;
// Each note of ours is under a hundred bytes; a longer part of a notes text is a user's remark,
// and with it the rest of the text. Only the first few parts are looked at, enough for ours
// among a user's short additions.
inline constexpr std::size_t maxNoteChars = 200;
inline constexpr std::size_t maxNoteParts = 8;
// So a notes text is read no further than this many bytes from its start.
inline constexpr std::size_t maxNotesTextBytes = maxNoteParts * (maxNoteChars + 2);

// The notes a completed calculation earns.
std::vector<ResultNote> notesOf(const CalculationRecord& record, Medium medium);

// The row a completed calculation writes, with the inputs it was run from.
ResultValues resultOf(const CalculationRecord& record, Medium medium, Material material);

// A note in German, its number in full with the user's decimal separator.
std::string noteText(const ResultNote& note, std::optional<Medium> medium,
                     const NumberFormat& format);

// The notes of a row joined into one text, as a workbook keeps them, and read back from there.
// Parts that are no note of ours (a user's remark) are left out when reading, as is a second
// note of a kind; at most the first maxNotesTextBytes of `text` are read.
std::string notesText(const ResultOrigin& origin, const NumberFormat& format);
std::vector<ResultNote> parseNotesText(std::string_view text);

// The texts of a row's notes as a tooltip or the report shows them: at most maxNotesPerRow, and
// "…" last when there are more.
std::vector<std::string> shownNoteTexts(const ResultOrigin& origin, const NumberFormat& format);

// The row's origin for its tooltip: its number, the inputs with units, the notes as
// shownNoteTexts gives them; or that the inputs were not kept.
std::string describeOrigin(int resultNumber, const ResultOrigin& origin,
                           const NumberFormat& format);

} // namespace kolmaris
