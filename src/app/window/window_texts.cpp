#include "app/window/window_texts.h"

#include "app/identity.h"
#include "calc/media.h"
#include "calc/message_sink.h"
#include "results/table_layout.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace kolmaris::texts {

namespace {

// The lines of a message box prompt joined by CR LF, with no break after the last.
template <typename Iterator> std::string promptOf(Iterator first, Iterator last) {
    std::string prompt;
    for (Iterator line = first; line != last; ++line) {
        if (line != first) {
            prompt += crlf;
        }
        prompt += *line;
    }
    return prompt;
}

std::string joined(const std::vector<std::string>& parts, const char* separator,
                   const char* lastSeparator) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == parts.size() ? lastSeparator : separator) + parts[i];
    }
    return text;
}

// "A", "A und B", "A, B und C".
std::string listed(const std::vector<std::string>& names) {
    return joined(names, ", ", " und ");
}

// The media as the help names them: those whose viscosity follows the temperature, with the
// range their tables cover, then those of a fixed viscosity.
std::string mediaLine() {
    std::vector<std::pair<std::string, std::vector<std::string>>> byRange; // in table order
    std::vector<std::string> fixed;
    for (const MediumFacts& m : mediumTable) {
        if (!viscosityDependsOnTemperature(m.medium)) {
            fixed.push_back(m.name);
            continue;
        }
        const std::string range = viscosityRangeText(m.medium, ',');
        auto group = std::find_if(byRange.begin(), byRange.end(),
                                  [&range](const auto& g) { return g.first == range; });
        if (group == byRange.end()) {
            group = byRange.insert(byRange.end(), {range, {}});
        }
        group->second.push_back(m.name);
    }
    std::vector<std::string> parts;
    for (const auto& [range, names] : byRange) {
        parts.push_back(listed(names) + " (Zähigkeit nach der Temperatur, " + range + ")");
    }
    if (!fixed.empty()) {
        parts.push_back(listed(fixed) + " (feste Zähigkeit)");
    }
    return "Medien: " + joined(parts, ", ", ", ") + ".";
}

std::string materialsLine() {
    std::vector<std::string> names;
    for (const MaterialFacts& m : materialTable) {
        names.push_back(m.name);
    }
    return "Rohrmaterialien: " + joined(names, ", ", ", ") + " (je mit ihrer Wandrauheit).";
}

} // namespace

QString creditText() {
    return QStringLiteral("Programmentwicklung: ") + QString::fromUtf8(identity::developer) +
           QStringLiteral(", ") + QString::fromUtf8(identity::qualification) +
           QStringLiteral(", ") + QString::fromUtf8(identity::town);
}

std::string informationPrompt() {
    const std::string lines[] = {
        "Programmentwicklung:",
        identity::developer,
        identity::qualification,
        "",
        identity::postalCodeAndTown,
        "",
        std::string("E-Mail: ") + identity::email,
    };
    return promptOf(std::begin(lines), std::end(lines));
}

std::string helpPrompt() {
    const std::string tableSize =
        "Die Tabelle fasst " + std::to_string(maxResults) + " Ergebnisse. ";
    const std::string lines[] = {
        "Eingaben",
        "Rohr-Innendurchmesser: lichte Weite des Rohres in mm.",
        "Volumenstrom: durchfließende Menge in dm3/min (Liter je Minute).",
        "Leitungslänge: gerade Rohrlänge in m.",
        "Temperatur: Temperatur des Mediums in °C.",
        "Zahlen mit dem Dezimalzeichen der Ländereinstellungen, ohne Tausenderpunkte.",
        "",
        mediaLine(),
        materialsLine(),
        "",
        "Berechnung",
        "Aus Volumenstrom und Querschnitt folgen die mittlere Geschwindigkeit und die "
        "Reynolds-Zahl. Die Rohrreibungszahl Lambda wird aus der Colebrook-Gleichung durch "
        "schrittweises Suchen bestimmt. Der Druckverlust je Meter (DV/m) und für die ganze "
        "Leitung (DV Total) folgt aus der Gleichung von Darcy-Weisbach.",
        "",
        "Ergebnisse",
        tableSize +
            "\"Datei\" > \"Ausgeben nach MS Excel\" speichert sie "
            "als Arbeitsmappe, \"Einlesen von MS Excel\" holt gespeicherte Ergebnisse in die "
            "Tabelle zurück. Zeigt man auf eine Zeile, nennt sie ihre Eingaben, ihre "
            "Einzelwiderstände und, wo das Ergebnis Vorsicht verlangt, einen Hinweis.",
        "",
        "Weitere Befehle",
        "Sie stehen im Kontextmenü (rechte Maustaste, Kontextmenütaste oder Umschalt+F10).",
        "Ergebnistabelle: \"Kopieren\" (Strg+C), \"Moody-Diagramm…\" (alle Ergebnisse neben "
        "den exakten Colebrook-Kurven; Pfeiltasten wählen einen Punkt, Esc schließt), "
        "\"Einzelwiderstände…\" (Bögen, Armaturen, T-Stücke, eigene ζ- und Kv-Werte der Zeile "
        "unter dem Mauszeiger, mit der Tastatur der aktuellen Zeile: Σζ, Z = Σζ · ρ · v² / 2 "
        "und R·l + Z; \"Übernehmen\" speichert sie beim Ergebnis), \"Strang auswerten…\" "
        "(die markierten Zeilen, bei höchstens einer markierten alle, als Teilstrecken in Reihe: "
        "Summe in Pa, mbar und kPa und als Förderhöhe), \"Eingaben und Hinweise\" (Alt+Return: "
        "die der gewählten Zeile, auch für Bildschirmleser), \"Als PDF speichern…\" und "
        "\"Drucken…\" (der Bericht mit Eingaben, Einzelwiderständen, Verfahren, Stoffwerten "
        "und Diagramm).",
        "Rohr-Innendurchmesser: \"Rohrweite auslegen…\" empfiehlt aus der Normreihe des "
        "Rohrmaterials die kleinste Größe, die Geschwindigkeit und Druckverlust je Meter "
        "einhält; \"Übernehmen\" trägt sie ein.",
        std::string("Ohne Fenster: ") + identity::applicationName +
            " --report BERICHT.pdf ARBEITSMAPPE.xlsx",
    };
    return promptOf(std::begin(lines), std::end(lines));
}

} // namespace kolmaris::texts
