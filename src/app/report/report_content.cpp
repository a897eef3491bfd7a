// What the report says: its texts and tables, built from the table and its results.
#include "app/report/report_content.h"

#include "app/chart/moody_points.h"
#include "app/identity.h"
#include "calc/media.h"
#include "calc/method_constants.h"
#include "results/table_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

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

// An empty table with these columns' two header rows.
template <std::size_t N> Table tableOf(const Column (&columns)[N]) {
    Table table;
    table.columns = static_cast<int>(N);
    Row titles, units;
    for (const Column& column : columns) {
        titles.push_back({QString::fromUtf8(column.title), 1, column.right});
        units.push_back({QString::fromUtf8(column.unit), 1, column.right});
    }
    table.header = {std::move(titles), std::move(units)};
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
        std::optional<Medium> medium;
        if (const auto& in = origin.inputs) {
            medium = in->medium;
            for (double value : {in->diameter, in->flowRate, in->length, in->temperature}) {
                row.push_back({exact(value, format), 1, true});
            }
            row.push_back({QString::fromUtf8(nameOf(in->medium))});
            row.push_back({QString::fromUtf8(nameOf(in->material))});
        } else {
            row.push_back({QStringLiteral("Eingaben nicht gespeichert"), 6});
        }
        QStringList notes;
        for (const ResultNote& note : origin.notes) {
            notes << text(noteText(note, medium, format));
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

QString pascalText(double sum, const NumberFormat& format) {
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
            .arg(numbers, pascalText(sum, format));
    }
    QStringList sums;
    for (const auto& [medium, group] : byMedium) {
        const QString name = medium == unknownMedium
                                 ? QStringLiteral("Medium nicht gespeichert")
                                 : QString::fromUtf8(nameOf(static_cast<Medium>(medium)));
        sums << QStringLiteral("%1, Nr. %2: %3")
                    .arg(name, numbersText(group.second), pascalText(group.first, format));
    }
    return QStringLiteral("Teilstrecken in Reihe führen ein Medium; die Summe der Druckverluste "
                          "(DV Total) steht daher je Medium: %1.")
        .arg(sums.join(QStringLiteral("; ")));
}

} // namespace

Content contentOf(const std::vector<ResultValues>& results, const ReportContext& context) {
    const NumberFormat& format = context.numbers.format;
    const QLocale german(QLocale::German, QLocale::Germany);
    const QString date = german.toString(context.createdAt, QStringLiteral("dd.MM.yyyy"));
    const QString time = german.toString(context.createdAt, QStringLiteral("HH:mm"));

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
        blocks.push_back(block(Block::Kind::Heading, QStringLiteral("Eingaben und Hinweise")));
        blocks.push_back(block(Block::Kind::Table, {}, inputsTable(results, format)));
    }

    blocks.push_back(block(Block::Kind::Heading, QStringLiteral("Verfahren")));
    for (const QString& paragraph : methodText(format).split(QChar::LineSeparator)) {
        blocks.push_back(block(Block::Kind::Paragraph, paragraph));
    }
    if (!results.empty()) {
        appendProperties(blocks, results, format);
    }

    // The chart shows the table's results, as the chart window does.
    content.points = moodyPointsOf(results);
    content.diameter = curveDiameterOf(results);
    blocks.push_back(block(Block::Kind::Chart));
    blocks.push_back(block(Block::Kind::Signature));
    return content;
}

} // namespace kolmaris::report_detail
