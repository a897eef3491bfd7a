#include "app/fittings/run_window.h"

#include "calc/media.h"
#include "results/table_layout.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <utility>

namespace kolmaris {

namespace {

struct Column {
    const char* title;
    const char* unit;
};

constexpr Column columns[] = {
    {"Nr.", ""},     {"di", "[mm]"}, {"l", "[m]"},  {"v", "[m/s]"},      {"R", "[Pa/m]"},
    {"R·l", "[Pa]"}, {"Σζ", "[-]"},  {"Z", "[Pa]"}, {"R·l + Z", "[Pa]"}, {"Summe", "[Pa]"},
};
constexpr int columnCount = static_cast<int>(std::size(columns));

const QString dash = QStringLiteral("–");

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

RunWindow::RunWindow(std::vector<RunSection> sections, const NumberSettings& numbers,
                     QWidget* parent)
    : QDialog(parent), sections_(std::move(sections)), numbers_(numbers) {
    setObjectName(QStringLiteral("strangAuswerten"));
    setWindowTitle(QStringLiteral("Strang auswerten – ") + sectionNumbers());
    std::vector<ResultValues> values;
    for (const RunSection& section : sections_) {
        values.push_back(section.values);
    }
    run_ = runLossOf(values);

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(
        QStringLiteral("Die Teilstrecken %1 in Reihe: je R·l der geraden Rohrstrecke und Z der "
                       "Einzelwiderstände.")
            .arg(sectionNumbers()),
        this);
    heading->setWordWrap(true);
    layout->addWidget(heading);

    table_ = new QTableWidget(0, columnCount, this);
    table_->setObjectName(QStringLiteral("sections"));
    table_->setAccessibleName(QStringLiteral("Teilstrecken"));
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    layout->addWidget(table_, 1);
    fillTable();

    totals_ = new QLabel(this);
    totals_->setObjectName(QStringLiteral("totals"));
    totals_->setTextFormat(Qt::PlainText);
    totals_->setWordWrap(true);
    totals_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    totals_->setFocusPolicy(Qt::StrongFocus);
    totals_->setText(totalLines().join(QLatin1Char('\n')));
    totals_->setAccessibleName(QStringLiteral("Summe des Strangs"));
    totals_->setAccessibleDescription(totals_->text());
    // Each line of the total whole where the screen has room.
    int widest = 0;
    for (const QString& line : totalLines()) {
        widest = std::max(widest, totals_->fontMetrics().horizontalAdvance(line));
    }
    const QRect screen =
        (parent != nullptr ? parent->screen() : this->screen())->availableGeometry();
    totals_->setMinimumWidth(std::min(widest + 2, screen.width() * 8 / 10));
    layout->addWidget(totals_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy =
        buttons->addButton(QStringLiteral("Kopieren"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copy"));
    copy->setAccessibleDescription(
        QStringLiteral("Legt die Tabelle und die Summe als tabulatorgetrennten Text in die "
                       "Zwischenablage"));
    QPushButton* close =
        buttons->addButton(QStringLiteral("Schließen"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    layout->addWidget(buttons);
    connect(copy, &QPushButton::clicked, this, &RunWindow::copyToClipboard);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* copyKey = new QAction(this);
    copyKey->setShortcut(QKeySequence::Copy);
    connect(copyKey, &QAction::triggered, this, &RunWindow::copyToClipboard);
    addAction(copyKey);
    table_->setFocus();
}

QString RunWindow::sectionNumbers() const {
    QStringList numbers;
    bool consecutive = true;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        numbers << QString::number(sections_[i].number);
        consecutive = consecutive && (i == 0 || sections_[i].number == sections_[i - 1].number + 1);
    }
    if (numbers.size() == 1) {
        return QStringLiteral("Nr. ") + numbers.front();
    }
    if (consecutive && numbers.size() > 2) {
        return QStringLiteral("Nr. %1 bis %2").arg(numbers.front(), numbers.back());
    }
    return QStringLiteral("Nr. ") + numbers.join(QStringLiteral(", "));
}

void RunWindow::fillTable() {
    QStringList headers;
    for (const Column& column : columns) {
        headers << QString::fromUtf8(column.title) +
                       (*column.unit ? QLatin1Char('\n') + QString::fromUtf8(column.unit)
                                     : QString());
    }
    table_->setHorizontalHeaderLabels(headers);
    const NumberFormat& f = numbers_.format;
    table_->setRowCount(static_cast<int>(sections_.size()));
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const RunSection& s = sections_[i];
        const SectionLoss& section = run_.sections[i];
        const auto& in = s.values.origin.inputs;
        const auto cell = [&](int col) { return text(resultCellText(s.values, s.number, col, f)); };
        QStringList texts{QString::number(s.number),
                          in ? text(formatExact(in->diameter, f)) : dash,
                          in ? text(formatExact(in->length, f)) : dash,
                          cell(1),
                          cell(2),
                          cell(3)};
        if (section.fittings) {
            texts << text(zetaText(section.fittings->zetaSum, f))
                  << text(pascalText(section.fittings->loss, f))
                  << text(pascalText(*section.total(), f));
        } else {
            texts << dash << dash << dash;
        }
        texts << text(pascalText(run_.runningSums[i], f));
        for (int c = 0; c < columnCount; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (!section.fittings) {
                item->setToolTip(QStringLiteral("Z nicht bestimmbar: ") + text(section.problem));
            }
            table_->setItem(static_cast<int>(i), c, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    int width = 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < columnCount; ++c) {
        width += table_->columnWidth(c);
    }
    const int rows = std::min(table_->rowCount(), 12);
    const int rowHeight = table_->rowCount() > 0 ? table_->rowHeight(0) : 0;
    const QRect screen = (parentWidget() != nullptr ? parentWidget()->screen() : this->screen())
                             ->availableGeometry();
    table_->setMinimumSize(std::min(width, screen.width() * 9 / 10),
                           2 * table_->frameWidth() +
                               table_->horizontalHeader()->sizeHint().height() +
                               std::max(rows, 3) * rowHeight);
}

QStringList RunWindow::totalLines() const {
    const NumberFormat& f = numbers_.format;
    const double total = run_.total;
    QStringList lines;
    lines << QStringLiteral("Gesamt: %1 Pa = %2 mbar = %3 kPa")
                 .arg(text(pascalText(total, f)),
                      text(formatFixed(total / 100, millibarDecimals, f)),
                      text(formatFixed(total / 1000, kilopascalDecimals, f)));
    const QString gravity = text(formatExact(standardGravity, f));
    QStringList heads;
    for (const Medium medium : run_.media) {
        heads << QStringLiteral("%1 m bei %2 (ρ = %3 kg/m³)")
                     .arg(text(formatFixed(headOf(total, medium), headDecimals, f)),
                          QString::fromUtf8(nameOf(medium)),
                          text(formatExact(densityOf(medium), f)));
    }
    if (heads.isEmpty()) {
        lines << QStringLiteral("Förderhöhe: nicht angebbar, das Medium keiner Teilstrecke ist "
                                "bekannt.");
    } else {
        const QString head =
            QStringLiteral("Förderhöhe Δp / (ρ · g) mit g = %1 m/s²: ").arg(gravity);
        lines << (heads.size() == 1
                      ? head + heads.front()
                      : head +
                            QStringLiteral("die Teilstrecken führen verschiedene Medien; je "
                                           "Medium ") +
                            heads.join(QStringLiteral(", ")));
    }
    if (run_.unknownMedium && !heads.isEmpty()) {
        lines << QStringLiteral("Das Medium der Teilstrecken ohne gespeicherte Eingaben ist "
                                "nicht bekannt; die Förderhöhe gilt, wenn sie dasselbe führen.");
    }
    for (const std::size_t i : run_.withoutZ) {
        lines << QStringLiteral("Nr. %1 nur mit R·l, Z nicht bestimmbar: %2")
                     .arg(sections_[i].number)
                     .arg(text(run_.sections[i].problem));
    }
    return lines;
}

QString RunWindow::copyText() const {
    QStringList lines;
    QStringList titles, units;
    for (const Column& column : columns) {
        titles << QString::fromUtf8(column.title);
        units << QString::fromUtf8(column.unit);
    }
    lines << titles.join(QLatin1Char('\t')) << units.join(QLatin1Char('\t'));
    for (int r = 0; r < table_->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columnCount; ++c) {
            cells << table_->item(r, c)->text();
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    lines << QString();
    const NumberFormat& f = numbers_.format;
    const double total = run_.total;
    lines << QStringLiteral("Gesamt [Pa]\t") + text(pascalText(total, f))
          << QStringLiteral("Gesamt [mbar]\t") + text(formatFixed(total / 100, millibarDecimals, f))
          << QStringLiteral("Gesamt [kPa]\t") +
                 text(formatFixed(total / 1000, kilopascalDecimals, f));
    for (const Medium medium : run_.media) {
        lines << QStringLiteral("Förderhöhe %1 [m]\t").arg(QString::fromUtf8(nameOf(medium))) +
                     text(formatFixed(headOf(total, medium), headDecimals, f));
    }
    // What the numbers do not show: a head left out, a Z missing.
    const QStringList notes = totalLines().mid(2);
    for (const QString& note : notes) {
        lines << note;
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void RunWindow::copyToClipboard() const {
    QGuiApplication::clipboard()->setText(copyText());
}

} // namespace kolmaris
