#include "app/fittings/fittings_dialog.h"

#include "app/platform/controls.h"
#include "app/sizing/sizing_table.h"
#include "calc/media.h"
#include "results/table_layout.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

namespace kolmaris {

using controls::messageLabel;

namespace {

enum Column { NameCol, ParameterCol, CountCol, ZetaCol, ZetaTotalCol, SourceCol, columnCount };

const char* const dash = "–";

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// "r/d =", "Winkel [°] =", "ζ =": what stands before a parameter's field.
QString shortLabel(const FittingParameter& p) {
    QString name =
        std::string_view(p.key) == "zeta" ? QStringLiteral("ζ") : QString::fromUtf8(p.key);
    if (std::string_view(p.unit) != dash) {
        name += QStringLiteral(" [") + QString::fromUtf8(p.unit) + QLatin1Char(']');
    }
    return name + QStringLiteral(" =");
}

bool outside(const FittingParameter& p, double value) {
    return value < p.min || (p.minExcluded && value == p.min) || value > p.max;
}

// "0,5 bis 20", "ab 0", "über 0", with the user's separator.
QString rangeText(const FittingParameter& p, const NumberFormat& format) {
    const QString from = text(formatExact(p.min, format));
    if (std::isinf(p.max)) {
        return (p.minExcluded ? QStringLiteral("über ") : QStringLiteral("ab ")) + from;
    }
    return from + QStringLiteral(" bis ") + text(formatExact(p.max, format));
}

// A reason of the fittings' core about the one item of a line, named by the line's kind:
// the item's number there means nothing here.
QString lineReason(const FittingKindFacts& facts, const QString& reason) {
    const QString prefix =
        QStringLiteral("Einzelwiderstand 1 (%1): ").arg(QString::fromUtf8(facts.name));
    return reason.startsWith(prefix)
               ? QString::fromUtf8(facts.name) + QStringLiteral(": ") + reason.mid(prefix.size())
               : reason;
}

QTableWidgetItem* readOnlyItem(const QString& content, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(content);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

} // namespace

FittingsDialog::FittingsDialog(int resultNumber, const ResultValues& values,
                               const NumberSettings& numbers,
                               std::function<void(const std::vector<FittingItem>&)> apply,
                               QWidget* parent)
    : QDialog(parent), number_(resultNumber), values_(values), numbers_(numbers),
      apply_(std::move(apply)) {
    setObjectName(QStringLiteral("einzelwiderstaende"));
    setWindowTitle(QStringLiteral("Einzelwiderstände – Ergebnis %1").arg(number_));
    std::string problem;
    flow_ = fittingFlowOf(values_, problem);
    flowProblem_ = text(problem);
    buildLayout();
    refresh();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { scrollToFocus(now); });
}

QString FittingsDialog::summaryText() const {
    const NumberFormat& f = numbers_.format;
    QString summary = QStringLiteral("Ergebnis %1: ").arg(number_);
    if (const auto& in = values_.origin.inputs) {
        summary += QStringLiteral("di = %1 mm, Volumenstrom %2 dm3/min, %3 (ρ = %4 kg/m³), ")
                       .arg(text(formatExact(in->diameter, f)), text(formatExact(in->flowRate, f)),
                            QString::fromUtf8(nameOf(in->medium)),
                            text(formatExact(densityOf(in->medium), f)));
    } else {
        summary += QStringLiteral("Eingaben nicht gespeichert, ");
    }
    // The values as the table shows them.
    const auto cell = [&](int col) { return text(resultCellText(values_, number_, col, f)); };
    return summary + QStringLiteral("v = %1 m/s, λ = %2, R·l = %3 Pa")
                         .arg(cell(1), cell(tableCols - 1), cell(3));
}

void FittingsDialog::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    QLabel* summary = messageLabel(this, "summary");
    summary->setText(summaryText());
    layout->addWidget(summary);

    rowProblem_ = messageLabel(this, "rowProblem");
    rowProblem_->setAccessibleName(QStringLiteral("Hinweis zur Zeile"));
    layout->addWidget(rowProblem_);

    buildTable();
    layout->addWidget(table_, 1);

    lineProblems_ = messageLabel(this, "lineProblems");
    lineProblems_->setAccessibleName(QStringLiteral("Nicht verwendbare Angaben"));
    layout->addWidget(lineProblems_);

    zetaSum_ = messageLabel(this, "zetaSum");
    loss_ = messageLabel(this, "fittingsLoss");
    total_ = messageLabel(this, "sectionLoss");
    for (QLabel* sum : {zetaSum_, loss_, total_}) {
        sum->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(sum);
    }

    // "Weitere Zeile" works on the table and stands apart from the buttons that close.
    auto* buttonRow = new QHBoxLayout;
    addButton_ = new QPushButton(QStringLiteral("Weitere Zeile"), this);
    addButton_->setObjectName(QStringLiteral("addLine"));
    addButton_->setAutoDefault(false);
    addButton_->setAccessibleDescription(
        QStringLiteral("Fügt eine weitere Zeile der Art an, in deren Zeile der Fokus steht, etwa "
                       "für einen zweiten eigenen ζ- oder Kv-Wert"));
    buttonRow->addWidget(addButton_);
    const auto buttons = controls::applyAndCloseButtons(
        *this, QStringLiteral("Speichert die Einzelwiderstände mit einer Anzahl über 0 beim "
                              "Ergebnis und schließt"));
    buttonRow->addWidget(buttons.box, 1);
    applyButton_ = buttons.apply;
    closeButton_ = buttons.close;
    layout->addLayout(buttonRow);
    connect(addButton_, &QPushButton::clicked, this, &FittingsDialog::addLineOfFocusedKind);
    connect(applyButton_, &QPushButton::clicked, this, &FittingsDialog::applyItems);
    orderTabs();
    const Line& first = lines_.front();
    (first.fields[0] != nullptr ? static_cast<QWidget*>(first.fields[0]) : first.count)->setFocus();
}

void FittingsDialog::buildTable() {
    table_ = new QTableWidget(0, columnCount, this);
    table_->setObjectName(QStringLiteral("fittings"));
    table_->setAccessibleName(QStringLiteral("Einzelwiderstände"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Einzelwiderstand"), QStringLiteral("Parameter"), QStringLiteral("Anzahl"),
         QStringLiteral("ζ je Stück"), QStringLiteral("ζ gesamt"), QStringLiteral("Quelle")});
    table_->verticalHeader()->hide();
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab runs through the fields; the fields tell a screen reader the line's ζ and source.
    table_->setTabKeyNavigation(false);
    table_->setFocusPolicy(Qt::NoFocus);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setDefaultSectionSize(QLineEdit().sizeHint().height() + 4);

    // The items kept so far: the first of a kind on its catalogue line, more of it below.
    std::vector<std::vector<FittingItem>> byKind(fittingKindCount);
    for (const FittingItem& item : values_.origin.fittings) {
        byKind[static_cast<std::size_t>(item.kind)].push_back(item);
    }
    for (const FittingKindFacts& facts : fittingCatalogue()) {
        auto& kept = byKind[static_cast<std::size_t>(facts.kind)];
        if (kept.empty()) {
            FittingItem unused = defaultFittingItem(facts.kind);
            unused.count = 0;
            kept.push_back(unused);
        }
        for (const FittingItem& item : kept) {
            insertLine(table_->rowCount(), item);
        }
    }
    table_->resizeColumnsToContents();

    // Every line in view where the screen has room, every column whole.
    int width = 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < columnCount; ++c) {
        width += table_->columnWidth(c);
    }
    const int height = 2 * table_->frameWidth() + table_->horizontalHeader()->sizeHint().height() +
                       table_->rowCount() * table_->verticalHeader()->defaultSectionSize();
    const QRect screen = (parentWidget() != nullptr ? parentWidget()->screen() : this->screen())
                             ->availableGeometry();
    table_->setMinimumSize(std::min(width, screen.width() * 9 / 10),
                           std::min(height, screen.height() * 6 / 10));
}

void FittingsDialog::insertLine(int row, const FittingItem& item) {
    const FittingKindFacts& facts = factsOf(item.kind);
    Line line;
    line.kind = item.kind;
    table_->insertRow(row);
    auto* name = readOnlyItem(QString::fromUtf8(facts.name));
    name->setToolTip(QString::fromUtf8(facts.method));
    table_->setItem(row, NameCol, name);
    if (facts.parameterCount == 0) {
        table_->setItem(row, ParameterCol, readOnlyItem(QString::fromUtf8(dash)));
    } else {
        table_->setCellWidget(row, ParameterCol, parameterCell(line, facts, item));
    }

    line.count = new QSpinBox;
    line.count->setRange(0, maxFittingCount);
    line.count->setValue(item.count);
    line.count->setAccessibleName(QStringLiteral("Anzahl ") + QString::fromUtf8(facts.name));
    table_->setCellWidget(row, CountCol, line.count);
    connect(line.count, qOverload<int>(&QSpinBox::valueChanged), this, &FittingsDialog::refresh);

    table_->setItem(row, ZetaCol, readOnlyItem(QString(), Qt::AlignRight));
    table_->setItem(row, ZetaTotalCol, readOnlyItem(QString(), Qt::AlignRight));
    auto* source = readOnlyItem(QString::fromUtf8(facts.source));
    source->setToolTip(source->text()); // cut short where the screen is narrow
    table_->setItem(row, SourceCol, source);
    lines_.insert(lines_.begin() + row, line);
}

QWidget* FittingsDialog::parameterCell(Line& line, const FittingKindFacts& facts,
                                       const FittingItem& item) {
    auto* cell = new QWidget;
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(4, 0, 4, 0);
    const int digits = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (std::size_t i = 0; i < facts.parameterCount; ++i) {
        const FittingParameter& p = facts.parameters[i];
        auto* label = new QLabel(shortLabel(p), cell);
        auto* field = new QLineEdit(cell);
        controls::takeWholeText(*field);
        field->setObjectName(QStringLiteral("parameter%1").arg(i + 1));
        field->setText(text(formatExact(item.values[i], numbers_.format)));
        field->setFixedWidth(digits * 9);
        label->setBuddy(field);
        field->setAccessibleName(QString::fromUtf8(facts.name) + QStringLiteral(": ") +
                                 QString::fromUtf8(p.label));
        field->setToolTip(QString::fromUtf8(p.label) + QStringLiteral(", erlaubt ") +
                          rangeText(p, numbers_.format));
        row->addWidget(label);
        row->addWidget(field);
        connect(field, &QLineEdit::textChanged, this, &FittingsDialog::refresh);
        line.fields[i] = field;
    }
    row->addStretch(1);
    return cell;
}

std::optional<FittingItem> FittingsDialog::readLine(const Line& line, QStringList& problems) {
    const FittingKindFacts& facts = factsOf(line.kind);
    FittingItem item;
    item.kind = line.kind;
    item.count = line.count->value();
    bool usable = true;
    for (std::size_t i = 0; i < facts.parameterCount; ++i) {
        const FittingParameter& p = facts.parameters[i];
        QLineEdit* field = line.fields[i];
        QString reason;
        try {
            item.values[i] = convertNumberText(field->text(), numbers_.locale);
            if (outside(p, item.values[i])) {
                reason = QStringLiteral("%1 = %2 liegt nicht im erlaubten Bereich %3.")
                             .arg(QString::fromUtf8(p.label),
                                  text(formatExact(item.values[i], numbers_.format)),
                                  rangeText(p, numbers_.format));
            }
        } catch (const NumberConversionFailure&) {
            reason =
                QString::fromUtf8(p.label) + (field->text().trimmed().isEmpty()
                                                  ? QStringLiteral(" fehlt.")
                                                  : QStringLiteral(" ist keine gültige Zahl."));
        }
        // An empty palette gives the field back the dialog's colours.
        QPalette mark;
        if (!reason.isEmpty()) {
            mark.setColor(QPalette::Base,
                          sizing_detail::tinted(palette(), sizing_detail::invalidTint(), 0.35));
            problems << QString::fromUtf8(facts.name) + QStringLiteral(": ") + reason;
            usable = false;
        }
        field->setPalette(mark);
        field->setAccessibleDescription(reason);
    }
    return usable ? std::optional<FittingItem>(item) : std::nullopt;
}

void FittingsDialog::refresh() {
    QStringList problems;
    std::vector<FittingItem> items;
    bool usable = true;
    for (std::size_t row = 0; row < lines_.size(); ++row) {
        const auto item = readLine(lines_[row], problems);
        showLineZeta(static_cast<int>(row), item, problems);
        usable = usable && item.has_value();
        if (item && item->count > 0) {
            items.push_back(*item);
        }
    }
    if (usable && items.size() > maxFittingItems) {
        problems << QStringLiteral("Eine Zeile kann höchstens %1 Einzelwiderstände haben, hier "
                                   "sind es %2.")
                        .arg(maxFittingItems)
                        .arg(items.size());
        usable = false;
    }
    problems.removeDuplicates();
    typed_ = usable ? std::optional<std::vector<FittingItem>>(std::move(items)) : std::nullopt;
    lineProblems_->setText(problems.join(QLatin1Char('\n')));
    lineProblems_->setVisible(!problems.isEmpty());
    applyButton_->setEnabled(typed_.has_value());
    showSums();
}

void FittingsDialog::showLineZeta(int row, const std::optional<FittingItem>& item,
                                  QStringList& problems) {
    const Line& line = lines_[static_cast<std::size_t>(row)];
    const FittingKindFacts& facts = factsOf(line.kind);
    QString each = QString::fromUtf8(dash);
    QString total = each;
    if (item && flow_) {
        // ζ of one, so that a line still unused shows what it would add.
        FittingItem one = *item;
        one.count = 1;
        try {
            const double zeta = fittingsLoss({one}, *flow_).items.front().zeta;
            each = text(zetaText(zeta, numbers_.format));
            total = text(zetaText(item->count * zeta, numbers_.format));
        } catch (const FittingError& error) {
            // A line still unused need not be usable on this row: it says why in its tooltip.
            const QString reason = lineReason(facts, QString::fromUtf8(error.what()));
            table_->item(row, ZetaCol)->setToolTip(reason);
            if (item->count > 0) {
                problems << reason;
            }
        }
    }
    table_->item(row, ZetaCol)->setText(each);
    table_->item(row, ZetaTotalCol)->setText(total);
    line.count->setAccessibleDescription(QStringLiteral("ζ je Stück %1, ζ gesamt %2; Quelle: %3")
                                             .arg(each, total, QString::fromUtf8(facts.source)));
}

void FittingsDialog::showSums() {
    const NumberFormat& f = numbers_.format;
    // What the row lacks is said before any item is typed, too.
    QString problem = flowProblem_;
    if (!typed_) {
        shown_ = SectionLoss{};
        shown_.pipeLoss = values_.lossTotal;
        zetaSum_->setText(QStringLiteral("Σζ: –"));
        loss_->setText(QStringLiteral("Z: – (erst wenn alle Angaben verwendbar sind)"));
        total_->setText(QStringLiteral("R·l + Z: –"));
    } else {
        shown_ = sectionLossOf(values_, *typed_);
        if (shown_.fittings) {
            zetaSum_->setText(QStringLiteral("Σζ = ") +
                              text(zetaText(shown_.fittings->zetaSum, f)));
            loss_->setText(QStringLiteral("Z = Σ Anzahl · ζ · ρ · v² / 2 = ") +
                           text(pressureText(shown_.fittings->loss, f)));
            total_->setText(QStringLiteral("R·l + Z = %1 Pa + %2 Pa = %3")
                                .arg(text(pascalText(shown_.pipeLoss, f)),
                                     text(pascalText(shown_.fittings->loss, f)),
                                     text(pressureText(*shown_.total(), f))));
        } else {
            problem = text(shown_.problem);
            zetaSum_->setText(QStringLiteral("Σζ: nicht bestimmbar"));
            loss_->setText(QStringLiteral("Z: nicht bestimmbar"));
            total_->setText(QStringLiteral("R·l + Z: nicht bestimmbar; die Einzelwiderstände "
                                           "lassen sich trotzdem beim Ergebnis speichern."));
        }
    }
    rowProblem_->setText(problem);
    rowProblem_->setVisible(!problem.isEmpty());
}

void FittingsDialog::addLineOfFocusedKind() {
    // The line of the focused field, else the own ζ value's.
    int at = -1;
    for (std::size_t row = 0; row < lines_.size() && at < 0; ++row) {
        const Line& line = lines_[row];
        const QWidget* cell = table_->cellWidget(static_cast<int>(row), ParameterCol);
        if (line.count->hasFocus() || (cell != nullptr && cell->isAncestorOf(focusWidget()))) {
            at = static_cast<int>(row);
        }
    }
    const FittingKind kind =
        at >= 0 ? lines_[static_cast<std::size_t>(at)].kind : FittingKind::UserZeta;
    int row = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == kind) {
            row = static_cast<int>(i) + 1;
        }
    }
    insertLine(row, defaultFittingItem(kind));
    orderTabs();
    refresh();
    const Line& added = lines_[static_cast<std::size_t>(row)];
    QWidget* first = added.fields[0] != nullptr ? static_cast<QWidget*>(added.fields[0])
                                                : static_cast<QWidget*>(added.count);
    first->setFocus();
    table_->scrollToItem(table_->item(row, NameCol));
}

void FittingsDialog::orderTabs() {
    std::vector<QWidget*> order;
    for (const Line& line : lines_) {
        for (QLineEdit* field : line.fields) {
            if (field != nullptr) {
                order.push_back(field);
            }
        }
        order.push_back(line.count);
    }
    order.insert(order.end(), {addButton_, applyButton_, closeButton_});
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void FittingsDialog::scrollToFocus(QWidget* now) {
    if (now == nullptr || !table_->viewport()->isAncestorOf(now)) {
        return;
    }
    const QModelIndex at = table_->indexAt(now->mapTo(table_->viewport(), QPoint(1, 1)));
    if (at.isValid()) {
        table_->scrollTo(at);
    }
}

void FittingsDialog::applyItems() {
    if (!typed_) {
        return;
    }
    apply_(*typed_);
    accept();
}

} // namespace kolmaris
