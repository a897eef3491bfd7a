// What the report says: its texts and tables, built from the table and its results.
#include "app/report/report_content.h"

#include "app/chart/moody_points.h"
#include "app/identity.h"
#include "calc/media.h"
#include "calc/method_constants.h"
#include "calc/water_properties.h"
#include "results/check_text.h"
#include "results/recalculation.h"
#include "results/section_loss.h"
#include "results/table_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <string_view>

namespace kolmaris::report_detail {

namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A number the report writes itself, in the shortest text that is exactly the number.
QString exact(double value, const NumberFormat& format) {
    return text(formatExact(value, format));
}

// `value` · 10^`shift` written out in fixed notation, exactly: the decimal point of the
// shortest text of `value` moves, no arithmetic touches the digits. 1.31e-06 shifted by 6 is
// "1,31", 0.00015 shifted by 3 is "0,15".
QString shifted(double value, int shift, const NumberFormat& format) {
    if (!std::isfinite(value)) {
        return exact(value, format);
    }
    const std::string plain = formatExact(value, NumberFormat{'.'});
    std::string mantissa = plain;
    int point = 0;
    if (const auto e = plain.find('e'); e != std::string::npos) {
        mantissa = plain.substr(0, e);
        point = std::stoi(plain.substr(e + 1));
    }
    const bool negative = !mantissa.empty() && mantissa[0] == '-';
    if (negative) {
        mantissa.erase(0, 1);
    }
    const auto dot = mantissa.find('.');
    std::string digits = mantissa;
    if (dot != std::string::npos) {
        digits.erase(dot, 1);
    }
    point += static_cast<int>(dot == std::string::npos ? mantissa.size() : dot) + shift;
    if (point <= 0) {
        digits.insert(0, static_cast<std::size_t>(1 - point), '0');
        point = 1;
    } else if (point > static_cast<int>(digits.size())) {
        digits.append(static_cast<std::size_t>(point) - digits.size(), '0');
    }
    std::string whole = digits.substr(0, static_cast<std::size_t>(point));
    std::string fraction = digits.substr(static_cast<std::size_t>(point));
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    std::string result = (negative ? "-" : "") + whole;
    if (!fraction.empty()) {
        result += format.decimalSeparator + fraction;
    }
    return text(result);
}

// --- Property values, from the media table.

struct Band {
    int index = 0; // the band's place in its medium's table
    QString range;
    double viscosity = 0;
};

// The viscosity band a run at `temperature` uses, as the calculation picks it.
Band viscosityBand(Medium medium, double temperature, const NumberFormat& format) {
    const ViscosityBand& band = viscosityBandOf(medium, temperature);
    const int index = static_cast<int>(&band - factsOf(medium).bands);
    if (!viscosityDependsOnTemperature(medium)) {
        return {index, QStringLiteral("jede Temperatur"), band.viscosity};
    }
    return {index, text(bandText(band, format.decimalSeparator)), band.viscosity};
}

// --- Texts

Block block(Block::Kind kind, QString text = {}, Table table = {}) {
    Block made;
    made.kind = kind;
    made.text = std::move(text);
    made.table = std::move(table);
    return made;
}

QString numbersText(const std::set<int>& numbers) {
    QStringList parts;
    for (int n : numbers) {
        parts << QString::number(n);
    }
    return parts.join(QStringLiteral(", "));
}

// One column of a table the report writes itself: its title and unit, as the header rows show
// them, and whether its values stand right, as numbers do.
struct Column {
    const char* title;
    const char* unit;
    bool right;
};

// An empty table with these columns' two header rows; the units' row only where a column has
// a unit.
template <std::size_t N> Table tableOf(const Column (&columns)[N]) {
    Table table;
    table.columns = static_cast<int>(N);
    Row titles, units;
    bool anyUnit = false;
    for (const Column& column : columns) {
        titles.push_back({QString::fromUtf8(column.title), 1, column.right});
        units.push_back({QString::fromUtf8(column.unit), 1, column.right});
        anyUnit = anyUnit || *column.unit != '\0';
    }
    table.header = {std::move(titles)};
    if (anyUnit) {
        table.header.push_back(std::move(units));
    }
    return table;
}

// The results as the grid shows them, header rows included: the same texts from the same
// numbers. The header texts lose the blanks that placed them over the values in the grid; here
// they stand right like the values.
Table resultsTable(const std::vector<ResultValues>& results, const NumberFormat& format) {
    Table table;
    table.columns = tableCols;
    for (int r = 0; r < headerRows; ++r) {
        Row row;
        for (int c = 0; c < tableCols; ++c) {
            row.push_back({QString::fromUtf8(headerText(r, c)).trimmed(), 1, true});
        }
        table.header.push_back(std::move(row));
    }
    for (std::size_t i = 0; i < results.size(); ++i) {
        Row row;
        for (int c = 0; c < tableCols; ++c) {
            row.push_back(
                {text(resultCellText(results[i], static_cast<int>(i) + 1, c, format)), 1, true});
        }
        table.body.push_back(std::move(row));
    }
    return table;
}

Table inputsTable(const std::vector<ResultValues>& results, const NumberFormat& format) {
    static constexpr Column columns[] = {
        {"Nr.", "", true},
        {"Durchmesser", "[mm]", true},
        {"Volumenstrom", "[dm3/min]", true},
        {"Länge", "[m]", true},
        {"Temperatur", "[°C]", true},
        {"Medium", "", false},
        {"Rohrmaterial", "", false},
        {"Hinweise", "", false},
    };
    Table table = tableOf(columns);
    for (std::size_t i = 0; i < results.size(); ++i) {
        const ResultOrigin& origin = results[i].origin;
        Row row{{QString::number(i + 1), 1, true}};
        if (const auto& in = origin.inputs) {
            for (double value : {in->diameter, in->flowRate, in->length, in->temperature}) {
                row.push_back({exact(value, format), 1, true});
            }
            row.push_back({QString::fromUtf8(nameOf(in->medium))});
            row.push_back({QString::fromUtf8(nameOf(in->material))});
        } else {
            row.push_back({QStringLiteral("Eingaben nicht gespeichert"), 6});
        }
        QStringList notes;
        for (const std::string& note : shownNoteTexts(origin, format)) {
            notes << text(note);
        }
        row.push_back({notes.join(QChar::LineSeparator)});
        table.body.push_back(std::move(row));
    }
    return table;
}

// The property values the results were calculated with, each with the results that used it.
void appendProperties(std::vector<Block>& blocks, const std::vector<ResultValues>& results,
                      const NumberFormat& format) {
    struct Use {
        Band band;
        std::set<int> numbers;
    };
    std::map<std::pair<Medium, int>, Use> media;
    std::map<Material, std::set<int>> materials;
    bool unknown = false;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const auto& in = results[i].origin.inputs;
        if (!in) {
            unknown = true;
            continue;
        }
        const Band band = viscosityBand(in->medium, in->temperature, format);
        Use& use = media[{in->medium, band.index}];
        use.band = band;
        use.numbers.insert(number);
        materials[in->material].insert(number);
    }

    blocks.push_back(block(Block::Kind::Heading, QStringLiteral("Verwendete Stoffwerte")));
    if (!media.empty()) {
        static constexpr Column mediaColumns[] = {
            {"Medium", "", false},         {"Temperaturstufe", "", false},
            {"Dichte ρ", "[kg/m³]", true}, {"Zähigkeit ν", "[mm²/s]", true},
            {"Ergebnisse Nr.", "", false},
        };
        Block mediaBlock = block(Block::Kind::Table, {}, tableOf(mediaColumns));
        Table& table = mediaBlock.table;
        for (const auto& [key, use] : media) {
            table.body.push_back({{QString::fromUtf8(nameOf(key.first))},
                                  {use.band.range},
                                  {exact(densityOf(key.first), format), 1, true},
                                  {shifted(use.band.viscosity, 6, format), 1, true},
                                  {numbersText(use.numbers)}});
        }
        blocks.push_back(std::move(mediaBlock));

        static constexpr Column materialColumns[] = {
            {"Rohrmaterial", "", false},
            {"Rauheit k", "[mm]", true},
            {"Ergebnisse Nr.", "", false},
        };
        Block materialBlock = block(Block::Kind::Table, {}, tableOf(materialColumns));
        Table& materialTable = materialBlock.table;
        for (const auto& [material, numbers] : materials) {
            materialTable.body.push_back({{QString::fromUtf8(nameOf(material))},
                                          {shifted(roughnessOf(material), 3, format), 1, true},
                                          {numbersText(numbers)}});
        }
        blocks.push_back(std::move(materialBlock));
    }
    if (unknown || media.empty()) {
        blocks.push_back(
            block(Block::Kind::Paragraph,
                  QStringLiteral("Für Ergebnisse, deren Eingaben nicht gespeichert sind, "
                                 "lassen sich die verwendeten Stoffwerte nicht angeben.")));
    }
}

// The check calculation of every result, beside the method's numbers, and how it is made.
void appendCheck(std::vector<Block>& blocks, const std::vector<ResultValues>& results,
                 const NumberFormat& format) {
    blocks.push_back(block(Block::Kind::Heading, QStringLiteral("Prüfrechnung")));
    blocks.push_back(block(
        Block::Kind::Paragraph,
        QStringLiteral(
            "Jedes Ergebnis mit gespeicherten Eingaben wird nachgerechnet, mit dem wahren π "
            "und ln 10: λ als Lösung der Colebrook-Gleichung mit ihren Konstanten 3,7 und 2,51 "
            "(ab Re = %1, darunter 64/Re für laminare Strömung). Für Wasser von %2 bis %3 °C "
            "gelten dabei Dichte und Zähigkeit nach IAPWS (IAPWS-IF97, Gebiet 1, bei "
            "0,101325 MPa; IAPWS 2008 für die Viskosität, ohne kritische Verstärkung); die "
            "anderen Medien behalten die Stoffwerte des Programms. Die Abweichung ist Prüfwert "
            "/ Ergebnis − 1. Die Ergebnisse der Tabelle bleiben die des Verfahrens.")
            .arg(exact(laminarLimit, format), exact(iapwsWaterFrom, format),
                 exact(iapwsWaterTo, format))));
    static constexpr Column columns[] = {
        {"Nr.", "", true},     {"λ", "[-]", true},       {"λ exakt", "[-]", true},
        {"Abw.", "[%]", true}, {"DV/m", "[Pa/m]", true}, {"Δp/m Prüfung", "[Pa/m]", true},
        {"Abw.", "[%]", true}, {"Grundlage", "", false},
    };
    Block table = block(Block::Kind::Table, {}, tableOf(columns));
    for (std::size_t i = 0; i < results.size(); ++i) {
        Row row{{QString::number(i + 1), 1, true}};
        const auto check = checkOf(results[i]);
        const PropertyCheck* shown = !check                     ? nullptr
                                     : check->iapws             ? &*check->iapws
                                     : check->programProperties ? &*check->programProperties
                                                                : nullptr;
        if (shown == nullptr) {
            row.push_back(
                {QStringLiteral("nicht möglich: ") +
                     (results[i].origin.inputs ? text(checkText(*check, format)).section(": ", 1)
                                               : QStringLiteral("ohne gespeicherte Eingaben")),
                 7});
        } else {
            // λ exakt with the program's properties, so that only the friction factor differs.
            const PropertyCheck& lambda =
                check->programProperties ? *check->programProperties : *shown;
            row.push_back(
                {text(formatFixed(results[i].lambda, columnDecimals[5], format)), 1, true});
            row.push_back(
                {text(formatFixed(lambda.lambda.value, columnDecimals[5], format)), 1, true});
            row.push_back({text(deviationText(lambda.lambda.deviation, format)), 1, true});
            row.push_back(
                {text(formatFixed(results[i].lossPerMetre, columnDecimals[2], format)), 1, true});
            row.push_back(
                {text(formatFixed(shown->lossPerMetre.value, columnDecimals[2], format)), 1, true});
            row.push_back({text(deviationText(shown->lossPerMetre.deviation, format)), 1, true});
            row.push_back({QString(check->iapws ? QStringLiteral("IAPWS")
                                                : QStringLiteral("Stoffwerte des Programms")) +
                           (shown->law == FrictionLaw::Laminar ? QStringLiteral(", 64/Re")
                                                               : QStringLiteral(", Colebrook"))});
        }
        table.table.body.push_back(std::move(row));
    }
    blocks.push_back(std::move(table));
}

QString methodText(const NumberFormat& f) {
    return QStringLiteral(
               "Für jedes Ergebnis ergibt sich aus dem Innendurchmesser D [mm] und dem "
               "Volumenstrom Q [dm3/min] die mittlere Geschwindigkeit v = q / A mit d = D / 1000 "
               "m, "
               "q = Q / 60000 m³/s und dem Querschnitt A = d² · π / 4, wobei das Programm "
               "π = 22/7 setzt. Daraus folgt die Reynolds-Zahl Re = v · d / ν mit der "
               "kinematischen Zähigkeit ν des Mediums in der Temperaturstufe seiner Temperatur."
               "\x2028"
               "Die Rohrreibungszahl λ wird schrittweise auf der Colebrook-Gleichung mit den "
               "Konstanten des Programms gesucht: 1/√λ = ln(k / (d · %1) + %2 / (√λ · Re)) · (−2) "
               "/ %3. Die Kandidaten steigen von %4 an; der Schritt beginnt bei %4 und wächst je "
               "Kandidat um %5, bis er %6 überschreiten würde. Angenommen wird der erste "
               "Kandidat, bei dem |1/√λ − rechte Seite| unter %7 liegt; findet ein Durchlauf "
               "keinen, folgen Durchläufe mit %8 und %9. Nimmt keiner einen an, gilt von den "
               "beiden Kandidaten, zwischen denen die Abweichung das Vorzeichen wechselt, der mit "
               "der kleineren Abweichung. Laminare Strömung wird nicht gesondert behandelt "
               "(64/Re nur als Hinweis); λ ist stets ein Kandidat der Suche."
               "\x2028"
               "Der Druckverlust folgt nach Darcy–Weisbach: Δp/m = v² · λ · ρ / (2 · d) in Pa/m "
               "(DV/m) und Δp = Δp/m · L in Pa (DV Total) mit der Dichte ρ des Mediums und der "
               "Länge L.")
        .arg(exact(method::roughnessDivisor, f), exact(method::reynoldsNumerator, f),
             exact(method::logDivisor, f), exact(method::startStep, f),
             exact(method::stepGrowth, f), exact(method::stepLimit, f),
             exact(method::acceptanceThresholds[0], f), exact(method::acceptanceThresholds[1], f),
             exact(method::acceptanceThresholds[2], f));
}

QString pascalSumText(double sum, const NumberFormat& format) {
    return std::isfinite(sum)
               ? text(formatFixed(sum, columnDecimals[3], format)) + QStringLiteral(" Pascal")
               : QStringLiteral("nicht darstellbar");
}

// Sections in series carry one medium: where the results' media differ, or are not all known,
// their losses are summed per medium, and the report says why.
QString sumText(const std::vector<ResultValues>& results, const NumberFormat& format) {
    constexpr int unknownMedium = std::numeric_limits<int>::max(); // listed last
    std::map<int, std::pair<double, std::set<int>>> byMedium;
    double sum = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const auto& in = results[i].origin.inputs;
        auto& group = byMedium[in ? static_cast<int>(in->medium) : unknownMedium];
        group.first += results[i].lossTotal;
        group.second.insert(static_cast<int>(i) + 1);
        sum += results[i].lossTotal;
    }
    const std::size_t count = results.size();
    if (byMedium.size() <= 1) {
        const QString numbers =
            count == 1 ? QStringLiteral("Nr. 1") : QStringLiteral("Nr. 1 bis %1").arg(count);
        return QStringLiteral(
                   "Summe der Druckverluste (DV Total) der Teilstrecken in Reihe, %1: %2")
            .arg(numbers, pascalSumText(sum, format));
    }
    QStringList sums;
    for (const auto& [medium, group] : byMedium) {
        const QString name = medium == unknownMedium
                                 ? QStringLiteral("Medium nicht gespeichert")
                                 : QString::fromUtf8(nameOf(static_cast<Medium>(medium)));
        sums << QStringLiteral("%1, Nr. %2: %3")
                    .arg(name, numbersText(group.second), pascalSumText(group.first, format));
    }
    return QStringLiteral("Teilstrecken in Reihe führen ein Medium; die Summe der Druckverluste "
                          "(DV Total) steht daher je Medium: %1.")
        .arg(sums.join(QStringLiteral("; ")));
}

// --- Fittings: the sections' Z, their items and the method.

bool anyFittings(const std::vector<ResultValues>& results) {
    return std::any_of(results.begin(), results.end(),
                       [](const ResultValues& r) { return !r.origin.fittings.empty(); });
}

// "Bogen 90° (r/d = 1,5)".
QString itemName(const FittingItem& item, const NumberFormat& format) {
    const FittingKindFacts& facts = factsOf(item.kind);
    QStringList parameters;
    for (std::size_t i = 0; i < facts.parameterCount; ++i) {
        const FittingParameter& p = facts.parameters[i];
        QString unit = QString::fromUtf8(p.unit);
        unit = unit == QStringLiteral("–") ? QString() : QLatin1Char(' ') + unit;
        parameters << QString::fromUtf8(std::string_view(p.key) == "zeta" ? "ζ" : p.key) +
                          QStringLiteral(" = ") + exact(item.values[i], format) + unit;
    }
    return QString::fromUtf8(facts.name) +
           (parameters.isEmpty()
                ? QString()
                : QStringLiteral(" (") + parameters.join(QStringLiteral("; ")) + QLatin1Char(')'));
}

// Each row's R·l, Σζ, Z and R·l + Z; then each item with its ζ and source.
void appendFittings(std::vector<Block>& blocks, const std::vector<ResultValues>& results,
                    const NumberFormat& format) {
    static constexpr Column sectionColumns[] = {
        {"Nr.", "", true},   {"R·l", "[Pa]", true},     {"Σζ", "[-]", true},
        {"Z", "[Pa]", true}, {"R·l + Z", "[Pa]", true}, {"R·l + Z", "[mbar]", true},
    };
    static constexpr Column itemColumns[] = {
        {"Nr.", "", true},           {"Einzelwiderstand", "", false}, {"Anzahl", "", true},
        {"ζ je Stück", "[-]", true}, {"ζ gesamt", "[-]", true},       {"Quelle", "", false},
    };
    Block sections = block(Block::Kind::Table, {}, tableOf(sectionColumns));
    Block items = block(Block::Kind::Table, {}, tableOf(itemColumns));
    QStringList problems;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const QString number = QString::number(i + 1);
        const SectionLoss section = sectionLossOf(results[i]);
        Row row{{number, 1, true}, {text(pascalText(section.pipeLoss, format)), 1, true}};
        if (const auto total = section.total()) {
            row.push_back({text(zetaText(section.fittings->zetaSum, format)), 1, true});
            row.push_back({text(pascalText(section.fittings->loss, format)), 1, true});
            row.push_back({text(pascalText(*total, format)), 1, true});
            row.push_back({text(formatFixed(*total / 100, millibarDecimals, format)), 1, true});
        } else {
            row.push_back({QStringLiteral("Z nicht bestimmbar"), 4});
            problems << QStringLiteral("Nr. %1: Z nicht bestimmbar, %2")
                            .arg(number, text(section.problem));
        }
        sections.table.body.push_back(std::move(row));
        const auto& kept = results[i].origin.fittings;
        for (std::size_t k = 0; k < kept.size(); ++k) {
            const FittingKindFacts& facts = factsOf(kept[k].kind);
            Row line{{number, 1, true},
                     {itemName(kept[k], format)},
                     {QString::number(kept[k].count), 1, true}};
            if (section.fittings) {
                const FittingItemLoss& loss = section.fittings->items[k];
                line.push_back({text(zetaText(loss.zeta, format)), 1, true});
                line.push_back({text(zetaText(loss.zetaTotal, format)), 1, true});
            } else {
                line.push_back({QStringLiteral("–"), 1, true});
                line.push_back({QStringLiteral("–"), 1, true});
            }
            line.push_back({QString::fromUtf8(facts.source)});
            items.table.body.push_back(std::move(line));
        }
    }
    blocks.push_back(
        block(Block::Kind::Heading, QStringLiteral("Teilstrecken mit Einzelwiderständen")));
    blocks.push_back(std::move(sections));
    for (const QString& problem : problems) {
        blocks.push_back(block(Block::Kind::Paragraph, problem));
    }
    blocks.push_back(block(Block::Kind::Heading, QStringLiteral("Einzelwiderstände")));
    blocks.push_back(std::move(items));
}

// The sum of the sections with their Z, below the sum of the straight pipes; per medium where
// the sections carry different ones, as the straight pipes' sum does.
QString fittingsSumText(const std::vector<ResultValues>& results, const NumberFormat& format) {
    std::map<int, std::vector<ResultValues>> byMedium;
    for (const ResultValues& r : results) {
        byMedium[r.origin.inputs ? static_cast<int>(r.origin.inputs->medium)
                                 : std::numeric_limits<int>::max()]
            .push_back(r);
    }
    const auto runText = [&format](const std::vector<ResultValues>& sections) {
        const RunLoss run = runLossOf(sections);
        return QStringLiteral("%1, darin Z = %2")
            .arg(text(pressureText(run.total, format)),
                 text(pressureText(run.total - run.pipeLoss, format)));
    };
    QString sum = QStringLiteral("Mit den Einzelwiderständen: Summe R·l + Z der Teilstrecken in "
                                 "Reihe ");
    if (byMedium.size() <= 1) {
        sum += runText(results);
    } else {
        QStringList sums;
        for (const auto& [medium, sections] : byMedium) {
            sums << (medium == std::numeric_limits<int>::max()
                         ? QStringLiteral("Medium nicht gespeichert")
                         : QString::fromUtf8(nameOf(static_cast<Medium>(medium)))) +
                        QStringLiteral(": ") + runText(sections);
        }
        sum += QStringLiteral("je Medium, ") + sums.join(QStringLiteral("; "));
    }
    const RunLoss run = runLossOf(results);
    if (!run.withoutZ.empty()) {
        QStringList numbers;
        for (const std::size_t i : run.withoutZ) {
            numbers << QString::number(i + 1);
        }
        sum += QStringLiteral("; ohne das Z von Nr. %1, das sich nicht bestimmen lässt")
                   .arg(numbers.join(QStringLiteral(", ")));
    }
    return sum + QLatin1Char('.');
}

// The formula of Z, and how each kind the results use gets its ζ, from which source.
void appendFittingsMethod(std::vector<Block>& blocks, const std::vector<ResultValues>& results) {
    blocks.push_back(block(
        Block::Kind::Paragraph,
        QStringLiteral("Einzelwiderstände: Der Druckverlust einer Teilstrecke ist R·l + Z mit "
                       "Z = Σ Anzahl · ζ · ρ · v² / 2 + Σ Anzahl · Δp(Kv) und "
                       "Δp(Kv) = 10⁵ Pa · (ρ / 1000 kg/m³) · (Q / Kv)², Q in m³/h. ρ ist die "
                       "Dichte des Mediums, v die Geschwindigkeit und λ die Rohrreibungszahl der "
                       "Zeile, wie oben berechnet; jedes ζ bezieht sich auf die Geschwindigkeit im "
                       "Rohr der Zeile. fT ist die Reibungszahl nach Crane für vollturbulente "
                       "Strömung in sauberem Stahlrohr, fT = 0,25 / [log₁₀(ε / (3,7 · di))]² "
                       "mit ε = 0,04572 mm und dem Innendurchmesser di der Zeile. Für einen "
                       "Kv-Wert ist das gezeigte ζ = Δp(Kv) / (ρ · v² / 2).")));
    std::set<FittingKind> used;
    for (const ResultValues& r : results) {
        for (const FittingItem& item : r.origin.fittings) {
            used.insert(item.kind);
        }
    }
    static constexpr Column columns[] = {
        {"Einzelwiderstand", "", false},
        {"Ermittlung von ζ", "", false},
        {"Quelle", "", false},
    };
    Block kinds = block(Block::Kind::Table, {}, tableOf(columns));
    for (const FittingKind kind : used) {
        const FittingKindFacts& facts = factsOf(kind);
        kinds.table.body.push_back({{QString::fromUtf8(facts.name)},
                                    {QString::fromUtf8(facts.method)},
                                    {QString::fromUtf8(facts.source)}});
    }
    blocks.push_back(std::move(kinds));
}

} // namespace

Content contentOf(const std::vector<ResultValues>& results, const ReportContext& context) {
    const NumberFormat& format = context.numbers.format;
    const QLocale german(QLocale::German, QLocale::Germany);
    const QString date = german.toString(context.createdAt, QStringLiteral("dd.MM.yyyy"));
    const QString time = german.toString(context.createdAt, QStringLiteral("HH:mm"));

    // The fittings' parts only where a result has some: a plain table's report stays as it was.
    const bool fittings = anyFittings(results);
    Content content;
    content.footer = QStringLiteral("Druckverlustberechnung, %1 %2").arg(date, time);
    auto& blocks = content.blocks;
    blocks.push_back(block(Block::Kind::Title, QStringLiteral("Druckverlustberechnung")));
    blocks.push_back(block(Block::Kind::Byline,
                           QStringLiteral("Erstellt am %1 um %2 Uhr mit %3 %4 "
                                          "(Kolmaris)")
                               .arg(date, time, QString::fromUtf8(identity::applicationName),
                                    QString::fromUtf8(identity::applicationVersion))));

    blocks.push_back(block(Block::Kind::Heading, QStringLiteral("Ergebnisse")));
    blocks.push_back(block(Block::Kind::Table, {}, resultsTable(results, format)));
    if (results.empty()) {
        blocks.push_back(block(Block::Kind::Paragraph, QStringLiteral("Die Tabelle enthält keine "
                                                                      "Ergebnisse.")));
    } else {
        blocks.push_back(block(Block::Kind::Paragraph, sumText(results, format)));
        if (fittings) {
            blocks.push_back(block(Block::Kind::Paragraph, fittingsSumText(results, format)));
        }
        blocks.push_back(block(Block::Kind::Heading, QStringLiteral("Eingaben und Hinweise")));
        blocks.push_back(block(Block::Kind::Table, {}, inputsTable(results, format)));
        if (fittings) {
            appendFittings(blocks, results, format);
        }
    }

    blocks.push_back(block(Block::Kind::Heading, QStringLiteral("Verfahren")));
    for (const QString& paragraph : methodText(format).split(QChar::LineSeparator)) {
        blocks.push_back(block(Block::Kind::Paragraph, paragraph));
    }
    if (fittings) {
        appendFittingsMethod(blocks, results);
    }
    if (!results.empty()) {
        appendProperties(blocks, results, format);
        appendCheck(blocks, results, format);
    }

    // The chart shows the table's results, as the chart window does.
    content.points = moodyPointsOf(results);
    content.diameter = curveDiameterOf(results);
    blocks.push_back(block(Block::Kind::Chart));
    blocks.push_back(block(Block::Kind::Signature));
    return content;
}

} // namespace kolmaris::report_detail
