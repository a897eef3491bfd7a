#include "app/sizing/pipe_sizing_dialog.h"

#include "app/platform/number_text.h"
#include "calc/media.h"
#include "results/result_row.h"
#include "results/table_layout.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace kolmaris {

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

// As the main window reads it: a separator outside ASCII falls back to the point.
NumberFormat numberFormatOf(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 0x80) {
        return {static_cast<char>(point.at(0).unicode())};
    }
    return {'.'};
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// A colour between the palette's base and `tint`, so that the mark keeps the palette's text
// legible on a light and on a dark desktop.
QColor tinted(const QPalette& palette, const QColor& tint, double share) {
    const QColor base = palette.color(QPalette::Base);
    const auto mix = [share](int a, int b) { return static_cast<int>(a + (b - a) * share); };
    return QColor(mix(base.red(), tint.red()), mix(base.green(), tint.green()),
                  mix(base.blue(), tint.blue()));
}

QColor recommendedTint() {
    return {0, 160, 60};
}
QColor invalidTint() {
    return {220, 0, 0};
}

} // namespace

PipeSizingDialog::PipeSizingDialog(const SizingInputs& inputs, const QLocale& locale,
                                   std::function<void(const QString&)> apply, QWidget* parent)
    : QDialog(parent), locale_(locale), format_(numberFormatOf(locale)), apply_(std::move(apply)) {
    setObjectName(QStringLiteral("rohrweiteAuslegen"));
    setWindowTitle(QStringLiteral("Rohrweite auslegen"));
    readInputs(inputs);
    buildLayout();
    if (request_) {
        const SizingLimits limits = defaultLimits(request_->medium);
        velocityLimit_->setText(text(formatExact(limits.maxVelocity, format_)));
        lossLimit_->setText(text(formatExact(limits.maxLossPerMetre, format_)));
    }
    // Typing updates the table at once; the fields are connected only now, with both filled.
    connect(velocityLimit_, &QLineEdit::textChanged, this, &PipeSizingDialog::refresh);
    connect(lossLimit_, &QLineEdit::textChanged, this, &PipeSizingDialog::refresh);
    refresh();
    fitTable();
}

void PipeSizingDialog::fitTable() {
    // Room for the longest series without scrolling, and every column whole.
    const int rows = std::max(table_->rowCount(), 12);
    const int rowHeight = table_->rowCount() > 0 ? table_->rowHeight(0)
                                                 : table_->verticalHeader()->defaultSectionSize();
    const int frame = 2 * table_->frameWidth();
    table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() + rows * rowHeight +
                             frame);
    int width = frame;
    for (int c = 0; c < table_->columnCount(); ++c) {
        width += table_->columnWidth(c);
    }
    table_->setMinimumWidth(width + table_->verticalScrollBar()->sizeHint().width());
    adjustSize();
}

void PipeSizingDialog::readInputs(const SizingInputs& inputs) {
    QStringList parts;
    QStringList missing;
    QStringList invalid;
    const auto number = [&](const QString& input, const char* name, const char* unit,
                            double& value) {
        const QString label = QString::fromUtf8(name);
        if (input.trimmed().isEmpty()) {
            missing << label;
            parts << label + QStringLiteral(" fehlt");
            return false;
        }
        try {
            value = convertNumberText(input, locale_);
        } catch (const NumberConversionFailure&) {
            invalid << label;
            // Enough of the text to recognise it, however long it is.
            const QString shown = input.size() > 24 ? input.left(24) + QStringLiteral("…") : input;
            parts << label + QStringLiteral(" „") + shown + QStringLiteral("“ ungültig");
            return false;
        }
        parts << label + QLatin1Char(' ') + text(formatExact(value, format_)) + QLatin1Char(' ') +
                     QString::fromUtf8(unit);
        return true;
    };
    SizingRequest request{};
    bool usable = number(inputs.flowRate, "Volumenstrom", "dm3/min", request.flowRate);
    usable = number(inputs.length, "Leitungslänge", "m", request.length) && usable;
    usable = number(inputs.temperature, "Temperatur", "°C", request.temperature) && usable;
    if (inputs.medium) {
        parts << QString::fromUtf8(nameOf(*inputs.medium));
        request.medium = *inputs.medium;
    } else {
        missing << QStringLiteral("Medium");
        parts << QStringLiteral("Medium fehlt");
        usable = false;
    }
    if (inputs.material) {
        parts << QString::fromUtf8(nameOf(*inputs.material));
        request.material = *inputs.material;
    } else {
        missing << QStringLiteral("Rohrmaterial");
        parts << QStringLiteral("Rohrmaterial fehlt");
        usable = false;
    }
    summary_ = QStringLiteral("Aus dem Hauptfenster: ") + parts.join(QStringLiteral(", "));

    QStringList problems;
    if (!missing.isEmpty()) {
        problems << QStringLiteral("Im Hauptfenster fehlt: ") + missing.join(QStringLiteral(", ")) +
                        QLatin1Char('.');
    }
    if (!invalid.isEmpty()) {
        problems << QStringLiteral("Keine gültige Zahl: ") + invalid.join(QStringLiteral(", ")) +
                        QLatin1Char('.');
    }
    if (!problems.isEmpty()) {
        problems << QStringLiteral("Bitte dort ergänzen und die Auslegung neu öffnen.");
    }
    inputProblem_ = problems.join(QLatin1Char(' '));
    if (usable) {
        request_ = request;
    }
}

void PipeSizingDialog::buildLayout() {
    auto* layout = new QVBoxLayout(this);

    summaryLabel_ = new QLabel(summary_, this);
    summaryLabel_->setObjectName(QStringLiteral("summary"));
    summaryLabel_->setTextFormat(Qt::PlainText);
    summaryLabel_->setWordWrap(true);
    layout->addWidget(summaryLabel_);

    problemLabel_ = new QLabel(this);
    problemLabel_->setObjectName(QStringLiteral("problem"));
    problemLabel_->setTextFormat(Qt::PlainText);
    problemLabel_->setWordWrap(true);
    problemLabel_->setAccessibleName(QStringLiteral("Hinweis zu den Eingaben"));
    layout->addWidget(problemLabel_);

    auto* limits = new QGridLayout;
    velocityLabel_ = new QLabel(QStringLiteral("max. Geschwindigkeit  [m/s]"), this);
    lossLabel_ = new QLabel(QStringLiteral("max. Druckverlust  [Pa/m]"), this);
    velocityLimit_ = new QLineEdit(this);
    velocityLimit_->setObjectName(QStringLiteral("maxVelocity"));
    velocityLimit_->setAccessibleName(QStringLiteral("max. Geschwindigkeit in m/s"));
    lossLimit_ = new QLineEdit(this);
    lossLimit_->setObjectName(QStringLiteral("maxLossPerMetre"));
    lossLimit_->setAccessibleName(QStringLiteral("max. Druckverlust in Pa/m"));
    velocityLabel_->setBuddy(velocityLimit_);
    lossLabel_->setBuddy(lossLimit_);
    for (QLineEdit* field : {velocityLimit_, lossLimit_}) {
        field->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);
        field->setEnabled(request_.has_value());
    }
    limits->addWidget(velocityLabel_, 0, 0);
    limits->addWidget(velocityLimit_, 0, 1);
    limits->addWidget(lossLabel_, 1, 0);
    limits->addWidget(lossLimit_, 1, 1);
    limits->setColumnStretch(2, 1);
    layout->addLayout(limits);

    limitProblemLabel_ = new QLabel(this);
    limitProblemLabel_->setObjectName(QStringLiteral("limitProblem"));
    limitProblemLabel_->setTextFormat(Qt::PlainText);
    limitProblemLabel_->setWordWrap(true);
    limitProblemLabel_->hide();
    layout->addWidget(limitProblemLabel_);

    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setObjectName(QStringLiteral("sizes"));
    table_->setAccessibleName(QStringLiteral("Rohrweiten der Normreihe"));
    table_->setAccessibleDescription(
        QStringLiteral("Je Rohrweite eine Zeile mit Geschwindigkeit, Reynolds-Zahl, Lambda und "
                       "Druckverlust; die letzte Spalte sagt, ob sie die Grenzwerte einhält."));
    table_->setHorizontalHeaderLabels({
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
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false); // Tab leaves the table for the buttons
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_, 1);

    verdictLabel_ = new QLabel(this);
    verdictLabel_->setObjectName(QStringLiteral("verdict"));
    verdictLabel_->setTextFormat(Qt::PlainText);
    verdictLabel_->setWordWrap(true);
    layout->addWidget(verdictLabel_);

    auto* buttons = new QDialogButtonBox(this);
    applyButton_ = buttons->addButton(QStringLiteral("Übernehmen"), QDialogButtonBox::AcceptRole);
    applyButton_->setObjectName(QStringLiteral("apply"));
    applyButton_->setAccessibleDescription(
        QStringLiteral("Schreibt den Innendurchmesser der gewählten Rohrweite in das Feld "
                       "Rohr-Innendurchmesser und schließt"));
    closeButton_ = buttons->addButton(QStringLiteral("Schließen"), QDialogButtonBox::RejectRole);
    closeButton_->setObjectName(QStringLiteral("close"));
    applyButton_->setDefault(true);
    layout->addWidget(buttons);
    connect(applyButton_, &QPushButton::clicked, this, &PipeSizingDialog::applySelected);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &PipeSizingDialog::selectionChanged);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &PipeSizingDialog::applySelected);

    setTabOrder(velocityLimit_, lossLimit_);
    setTabOrder(lossLimit_, table_);
    setTabOrder(table_, applyButton_);
    setTabOrder(applyButton_, closeButton_);
    table_->setFocus();

    if (!inputProblem_.isEmpty()) {
        showProblem(inputProblem_);
    } else {
        problemLabel_->hide();
    }
}

void PipeSizingDialog::showProblem(const QString& problem) {
    problemLabel_->setText(problem);
    problemLabel_->show();
}

std::optional<double> PipeSizingDialog::readLimit(QLineEdit* field, QLabel* label,
                                                  QString& problems) {
    std::optional<double> value;
    QString reason;
    try {
        const double limit = convertNumberText(field->text(), locale_);
        if (limit > 0) {
            value = limit;
        } else {
            reason = QStringLiteral("muss größer als 0 sein");
        }
    } catch (const NumberConversionFailure&) {
        reason = field->text().trimmed().isEmpty() ? QStringLiteral("fehlt")
                                                   : QStringLiteral("ist keine gültige Zahl");
    }
    // An empty palette gives the field back the dialog's colours.
    QPalette mark;
    if (!value) {
        mark.setColor(QPalette::Base, tinted(palette(), invalidTint(), 0.35));
    }
    field->setPalette(mark);
    const QString name = label->text().section(QStringLiteral("  ["), 0, 0);
    field->setAccessibleDescription(value ? QString() : name + QLatin1Char(' ') + reason);
    if (!value) {
        problems += (problems.isEmpty() ? QString() : QStringLiteral(" ")) + name +
                    QLatin1Char(' ') + reason + QLatin1Char('.');
    }
    return value;
}

void PipeSizingDialog::refresh() {
    if (!request_) {
        shown_.reset();
        table_->setRowCount(0);
        applyButton_->setEnabled(false);
        return;
    }
    QString problems;
    const auto velocity = readLimit(velocityLimit_, velocityLabel_, problems);
    const auto loss = readLimit(lossLimit_, lossLabel_, problems);
    if (!velocity || !loss) {
        // The last valid table stays, so that one wrong keystroke does not blank it.
        limitProblemLabel_->setText(problems + QStringLiteral(" Die Tabelle zeigt die letzten "
                                                              "gültigen Grenzwerte."));
        limitProblemLabel_->show();
        return;
    }
    limitProblemLabel_->hide();
    SizingRequest request = *request_;
    request.maxVelocity = *velocity;
    request.maxLossPerMetre = *loss;
    try {
        fillTable(sizePipe(request, standardSeries(request.material)), request);
    } catch (const SizingRequestError& error) {
        showProblem(QString::fromUtf8(error.what()));
        shown_.reset();
        table_->setRowCount(0);
        verdictLabel_->clear();
        applyButton_->setEnabled(false);
        for (QLineEdit* field : {velocityLimit_, lossLimit_}) {
            field->setEnabled(false);
        }
    }
}

void PipeSizingDialog::fillTable(const SizingResult& result, const SizingRequest& request) {
    shown_ = result;
    const QSignalBlocker quiet(table_);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(result.rows.size()));
    const QColor mark = tinted(palette(), recommendedTint(), 0.3);
    const auto fixed = [this](double value, int decimals) {
        return text(formatFixed(value, decimals, format_));
    };
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
        const SizingRow& row = result.rows[i];
        const bool recommended = result.recommended == i;
        QStringList cells(ColumnCount);
        cells[NameCol] = text(row.size.name);
        cells[DimensionsCol] =
            fixed(row.size.outerDiameter, 1) + QStringLiteral(" × ") + fixed(row.size.wall, 1);
        cells[InnerCol] = fixed(row.size.innerDiameter, 1);
        QStringList tip{text(row.size.name) + QStringLiteral(", di ") +
                        text(formatExact(row.size.innerDiameter, format_)) + QStringLiteral(" mm")};
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
                tip << QStringLiteral("v über max. ") +
                           text(formatExact(request.maxVelocity, format_)) + QStringLiteral(" m/s");
            }
            if (!row.lossOk) {
                tip << QStringLiteral("Δp/m über max. ") +
                           text(formatExact(request.maxLossPerMetre, format_)) +
                           QStringLiteral(" Pa/m");
            }
            for (const ResultNote& note : v.origin.notes) {
                tip << QStringLiteral("Hinweis: ") + text(noteText(note, request.medium, format_));
            }
        } else {
            cells[VerdictCol] = QStringLiteral("nicht berechenbar");
            tip << QStringLiteral("Für diese Rohrweite ist die Berechnung nicht möglich.");
        }
        const int r = static_cast<int>(i);
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == NameCol || c == VerdictCol
                                       ? Qt::AlignLeft | Qt::AlignVCenter
                                       : Qt::AlignRight | Qt::AlignVCenter);
            item->setToolTip(tip.join(QLatin1Char('\n')));
            if (recommended) {
                item->setBackground(mark);
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();

    if (result.recommended) {
        const SizingRow& row = result.rows[*result.recommended];
        verdictLabel_->setText(
            QStringLiteral("Empfehlung: ") + text(row.size.name) + QStringLiteral(", di ") +
            text(formatExact(row.size.innerDiameter, format_)) + QStringLiteral(" mm"));
        table_->selectRow(static_cast<int>(*result.recommended));
        table_->scrollToItem(table_->item(static_cast<int>(*result.recommended), 0));
    } else {
        verdictLabel_->setText(
            QStringLiteral("Keine Rohrweite der Reihe hält beide Grenzwerte ein."));
        table_->clearSelection();
    }
    selectionChanged();
}

void PipeSizingDialog::selectionChanged() {
    const QList<QTableWidgetItem*> selected = table_->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.front()->row();
    applyButton_->setEnabled(shown_ && row >= 0 &&
                             shown_->rows[static_cast<std::size_t>(row)].values.has_value());
}

void PipeSizingDialog::applySelected() {
    const QList<QTableWidgetItem*> selected = table_->selectedItems();
    if (!shown_ || selected.isEmpty()) {
        return;
    }
    const SizingRow& row = shown_->rows[static_cast<std::size_t>(selected.front()->row())];
    if (!row.values) {
        return;
    }
    apply_(text(formatExact(row.size.innerDiameter, format_)));
    accept();
}

} // namespace kolmaris
