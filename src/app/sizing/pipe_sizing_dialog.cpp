#include "app/sizing/pipe_sizing_dialog.h"

#include "app/platform/controls.h"
#include "app/platform/number_text.h"
#include "app/sizing/sizing_table.h"
#include "calc/media.h"

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

using controls::messageLabel;
using sizing_detail::text;

PipeSizingDialog::PipeSizingDialog(const SizingInputs& inputs, const NumberSettings& numbers,
                                   std::function<void(const QString&)> apply, QWidget* parent)
    : QDialog(parent), numbers_(numbers), apply_(std::move(apply)) {
    setObjectName(QStringLiteral("rohrweiteAuslegen"));
    setWindowTitle(QStringLiteral("Rohrweite auslegen"));
    readInputs(inputs);
    buildLayout();
    if (request_) {
        const SizingLimits limits = defaultLimits(request_->medium);
        velocityLimit_->setText(text(formatExact(limits.maxVelocity, numbers_.format)));
        lossLimit_->setText(text(formatExact(limits.maxLossPerMetre, numbers_.format)));
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
    const auto lacks = [&](const QString& label) {
        missing << label;
        parts << label + QStringLiteral(" fehlt");
        return false;
    };
    const auto number = [&](const QString& input, const char* name, const char* unit,
                            double& value) {
        const QString label = QString::fromUtf8(name);
        if (input.trimmed().isEmpty()) {
            return lacks(label);
        }
        try {
            value = convertNumberText(input, numbers_.locale);
        } catch (const NumberConversionFailure&) {
            invalid << label;
            // Enough of the text to recognise it, however long it is.
            const QString shown = input.size() > 24 ? input.left(24) + QStringLiteral("…") : input;
            parts << label + QStringLiteral(" „") + shown + QStringLiteral("“ ungültig");
            return false;
        }
        parts << label + QLatin1Char(' ') + text(formatExact(value, numbers_.format)) +
                     QLatin1Char(' ') + QString::fromUtf8(unit);
        return true;
    };
    const auto choice = [&](const auto& chosen, const char* name, auto& value) {
        if (!chosen) {
            return lacks(QString::fromUtf8(name));
        }
        parts << QString::fromUtf8(nameOf(*chosen));
        value = *chosen;
        return true;
    };
    SizingRequest request{};
    bool usable = number(inputs.flowRate, "Volumenstrom", "dm3/min", request.flowRate);
    usable = number(inputs.length, "Leitungslänge", "m", request.length) && usable;
    usable = number(inputs.temperature, "Temperatur", "°C", request.temperature) && usable;
    usable = choice(inputs.medium, "Medium", request.medium) && usable;
    usable = choice(inputs.material, "Rohrmaterial", request.material) && usable;
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

    summaryLabel_ = messageLabel(this, "summary");
    summaryLabel_->setText(summary_);
    layout->addWidget(summaryLabel_);

    problemLabel_ = messageLabel(this, "problem");
    problemLabel_->setAccessibleName(QStringLiteral("Hinweis zu den Eingaben"));
    layout->addWidget(problemLabel_);

    layout->addLayout(buildLimits());

    limitProblemLabel_ = messageLabel(this, "limitProblem");
    limitProblemLabel_->hide();
    layout->addWidget(limitProblemLabel_);

    table_ = sizing_detail::makeSizesTable(this);
    layout->addWidget(table_, 1);

    verdictLabel_ = messageLabel(this, "verdict");
    layout->addWidget(verdictLabel_);

    const auto buttons = controls::applyAndCloseButtons(
        *this, QStringLiteral("Schreibt den Innendurchmesser der gewählten Rohrweite in das Feld "
                              "Rohr-Innendurchmesser und schließt"));
    applyButton_ = buttons.apply;
    closeButton_ = buttons.close;
    layout->addWidget(buttons.box);
    connect(applyButton_, &QPushButton::clicked, this, &PipeSizingDialog::applySelected);
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

QGridLayout* PipeSizingDialog::buildLimits() {
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
        controls::takeWholeText(*field);
        field->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);
        field->setEnabled(request_.has_value());
    }
    limits->addWidget(velocityLabel_, 0, 0);
    limits->addWidget(velocityLimit_, 0, 1);
    limits->addWidget(lossLabel_, 1, 0);
    limits->addWidget(lossLimit_, 1, 1);
    limits->setColumnStretch(2, 1);
    return limits;
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
        const double limit = convertNumberText(field->text(), numbers_.locale);
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
        mark.setColor(QPalette::Base,
                      sizing_detail::tinted(palette(), sizing_detail::invalidTint(), 0.35));
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
    sizing_detail::fillSizesTable(*table_, result, request, numbers_.format, palette());
    verdictLabel_->setText(sizing_detail::verdictOf(result, numbers_.format));
    if (result.recommended) {
        table_->selectRow(static_cast<int>(*result.recommended));
        table_->scrollToItem(table_->item(static_cast<int>(*result.recommended), 0));
    } else {
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
    apply_(text(formatExact(row.size.innerDiameter, numbers_.format)));
    accept();
}

} // namespace kolmaris
