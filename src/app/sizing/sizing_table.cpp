#include "app/sizing/sizing_table.h"

#include "results/result_row.h"
#include "results/table_layout.h"

#include <QHeaderView>
#include <QStringList>
#include <QTableWidget>

namespace kolmaris::sizing_detail {

namespace {

enum Column {
    NameCol,
    DimensionsCol,
    InnerCol,
    VelocityCol,
    ReynoldsCol,
    LambdaCol,
    LossPerMetreCol,
    LossCol,
    VerdictCol,
    ColumnCount
};

// The main table's column of each value, for its number pattern.
constexpr int velocityDecimals = columnDecimals[1];
constexpr int lossPerMetreDecimals = columnDecimals[2];
constexpr int lossDecimals = columnDecimals[3];
constexpr int reynoldsDecimals = columnDecimals[4];
constexpr int lambdaDecimals = columnDecimals[5];

QColor recommendedTint() {
    return {0, 160, 60};
}

} // namespace

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QColor tinted(const QPalette& palette, const QColor& tint, double share) {
    const QColor base = palette.color(QPalette::Base);
    const auto mix = [share](int a, int b) { return static_cast<int>(a + (b - a) * share); };
    return QColor(mix(base.red(), tint.red()), mix(base.green(), tint.green()),
                  mix(base.blue(), tint.blue()));
}

QColor invalidTint() {
    return {220, 0, 0};
}

QTableWidget* makeSizesTable(QWidget* parent) {
    auto* table = new QTableWidget(0, ColumnCount, parent);
    table->setObjectName(QStringLiteral("sizes"));
    table->setAccessibleName(QStringLiteral("Rohrweiten der Normreihe"));
    table->setAccessibleDescription(
        QStringLiteral("Je Rohrweite eine Zeile mit Geschwindigkeit, Reynolds-Zahl, Lambda und "
                       "Druckverlust; die letzte Spalte sagt, ob sie die Grenzwerte einhält."));
    table->setHorizontalHeaderLabels({
        QStringLiteral("Nennweite"),
        QStringLiteral("da × s [mm]"),
        QStringLiteral("di [mm]"),
        QStringLiteral("v [m/s]"),
        QStringLiteral("Re"),
        QStringLiteral("λ"),
        QStringLiteral("Δp/m [Pa/m]"),
        QStringLiteral("Δp [Pa]"),
        QStringLiteral("Grenzwerte"),
    });
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false); // Tab leaves the table for the buttons
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

namespace {

// A cell a column, and the tooltip's lines.
struct RowTexts {
    QStringList cells;
    QStringList tip;
};

RowTexts rowTexts(const SizingRow& row, bool recommended, const SizingRequest& request,
                  const NumberFormat& format) {
    const auto fixed = [&format](double value, int decimals) {
        return text(formatFixed(value, decimals, format));
    };
    QStringList cells(ColumnCount);
    cells[NameCol] = text(row.size.name);
    cells[DimensionsCol] =
        fixed(row.size.outerDiameter, 1) + QStringLiteral(" × ") + fixed(row.size.wall, 1);
    cells[InnerCol] = fixed(row.size.innerDiameter, 1);
    QStringList tip{text(row.size.name) + QStringLiteral(", di ") +
                    text(formatExact(row.size.innerDiameter, format)) + QStringLiteral(" mm")};
    if (row.values) {
        const ResultValues& v = *row.values;
        cells[VelocityCol] = fixed(v.velocity, velocityDecimals);
        cells[ReynoldsCol] = fixed(v.reynolds, reynoldsDecimals);
        cells[LambdaCol] = fixed(v.lambda, lambdaDecimals);
        cells[LossPerMetreCol] = fixed(v.lossPerMetre, lossPerMetreDecimals);
        cells[LossCol] = fixed(v.lossTotal, lossDecimals);
        if (recommended) {
            cells[VerdictCol] = QStringLiteral("Empfehlung");
            tip << QStringLiteral("Empfehlung: die kleinste Rohrweite der Reihe, die beide "
                                  "Grenzwerte einhält");
        } else if (row.velocityOk && row.lossOk) {
            cells[VerdictCol] = QStringLiteral("hält ein");
        } else if (!row.velocityOk && !row.lossOk) {
            cells[VerdictCol] = QStringLiteral("v und Δp/m zu hoch");
        } else {
            cells[VerdictCol] =
                row.velocityOk ? QStringLiteral("Δp/m zu hoch") : QStringLiteral("v zu hoch");
        }
        if (!row.velocityOk) {
            tip << QStringLiteral("v über max. ") + text(formatExact(request.maxVelocity, format)) +
                       QStringLiteral(" m/s");
        }
        if (!row.lossOk) {
            tip << QStringLiteral("Δp/m über max. ") +
                       text(formatExact(request.maxLossPerMetre, format)) + QStringLiteral(" Pa/m");
        }
        for (const ResultNote& note : v.origin.notes) {
            tip << QStringLiteral("Hinweis: ") + text(noteText(note, request.medium, format));
        }
    } else {
        cells[VerdictCol] = QStringLiteral("nicht berechenbar");
        tip << QStringLiteral("Für diese Rohrweite ist die Berechnung nicht möglich.");
    }
    return {cells, tip};
}

} // namespace

void fillSizesTable(QTableWidget& table, const SizingResult& result, const SizingRequest& request,
                    const NumberFormat& format, const QPalette& palette) {
    table.clearContents();
    table.setRowCount(static_cast<int>(result.rows.size()));
    const QColor mark = tinted(palette, recommendedTint(), 0.3);
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
        const bool recommended = result.recommended == i;
        const RowTexts texts = rowTexts(result.rows[i], recommended, request, format);
        const int r = static_cast<int>(i);
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(texts.cells[c]);
            item->setTextAlignment(c == NameCol || c == VerdictCol
                                       ? Qt::AlignLeft | Qt::AlignVCenter
                                       : Qt::AlignRight | Qt::AlignVCenter);
            item->setToolTip(texts.tip.join(QLatin1Char('\n')));
            if (recommended) {
                item->setBackground(mark);
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table.setItem(r, c, item);
        }
    }
    table.resizeColumnsToContents();
    table.resizeRowsToContents();
}

QString verdictOf(const SizingResult& result, const NumberFormat& format) {
    if (!result.recommended) {
        return QStringLiteral("Keine Rohrweite der Reihe hält beide Grenzwerte ein.");
    }
    const SizingRow& row = result.rows[*result.recommended];
    return QStringLiteral("Empfehlung: ") + text(row.size.name) + QStringLiteral(", di ") +
           text(formatExact(row.size.innerDiameter, format)) + QStringLiteral(" mm");
}

} // namespace kolmaris::sizing_detail
