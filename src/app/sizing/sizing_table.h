#pragma once

#include "results/number_format.h"
#include "sizing/pipe_sizing.h"

#include <QColor>
#include <QPalette>
#include <QString>

#include <string>

class QTableWidget;
class QWidget;

// The sizing dialog's table of sizes: its columns, each row's texts and tooltip, and the marks.
namespace kolmaris::sizing_detail {

QString text(const std::string& s);

// A colour between the palette's base and `tint`, so that the mark keeps the palette's text
// legible on a light and on a dark desktop.
QColor tinted(const QPalette& palette, const QColor& tint, double share);
QColor invalidTint();

// An empty, read-only table with the size columns, one row selectable at a time.
QTableWidget* makeSizesTable(QWidget* parent);

// One row a size of `result`, the recommended one marked in `palette`'s tint.
void fillSizesTable(QTableWidget& table, const SizingResult& result, const SizingRequest& request,
                    const NumberFormat& format, const QPalette& palette);

// "Empfehlung: …" for the recommended size, or that none of the series keeps both limits.
QString verdictOf(const SizingResult& result, const NumberFormat& format);

} // namespace kolmaris::sizing_detail
