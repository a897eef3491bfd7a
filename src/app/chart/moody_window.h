#pragma once

#include "app/chart/moody_chart.h"
#include "calc/errors.h"
#include "calc/message_sink.h"

#include <QLocale>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;

namespace kolmaris {

class Announcement;
class FileDialogs;

// A picture of the chart could not be written; what() says why, in German. An older file of
// the same name is left as it was.
class PictureError : public KolmarisError {
public:
    using KolmarisError::KolmarisError;
};

// The Moody chart in a window of its own beside the main window, which stays usable. Below the
// chart: what it shows, and "Bild speichern…".
class MoodyWindow : public QWidget {
    Q_OBJECT

public:
    MoodyWindow(MessageSink& messages, FileDialogs& files, const QLocale& locale,
                QWidget* parent = nullptr);

    // See MoodyChart::setResults.
    void setResults(std::vector<MoodyPoint> points, std::optional<double> diameterMetres);
    const MoodyChart& chart() const { return *chart_; }

    // Puts the window beside `other`, on its screen, covering as little of it as it can.
    void placeBeside(const QWidget& other);

    // Writes the chart at its current size: SVG for a name ending in ".svg", PNG otherwise.
    // Throws PictureError.
    void savePicture(const QString& path) const;
    static QString proposedPictureName();

    // The size the window opens with where the screen has room for it.
    QSize preferredSize() const;

private:
    void savePictureCommand();
    void updateSummary();

    MessageSink& messages_;
    FileDialogs& files_;
    MoodyChart* chart_ = nullptr;
    QLabel* summary_ = nullptr;
    Announcement* announcement_ = nullptr; // the chosen point, heard
};

} // namespace kolmaris
