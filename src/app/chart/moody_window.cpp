#include "app/chart/moody_window.h"

#include "app/chart/window_placement.h"
#include "app/platform/accessible_role.h"
#include "app/platform/announcement.h"
#include "app/platform/file_dialogs.h"
#include "files/file_replacement.h"

#include <QAccessible>
#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgGenerator>
#include <QVBoxLayout>

namespace kolmaris {

MoodyWindow::MoodyWindow(MessageSink& messages, FileDialogs& files, const QLocale& locale,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(messages), files_(files) {
    giveAccessibleRole<MoodyWindow, QAccessible::Window>();
    setObjectName(QStringLiteral("moodyWindow"));
    setWindowTitle(QStringLiteral("Moody-Diagramm"));
    setAccessibleName(windowTitle());
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    chart_ = new MoodyChart(locale, this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("moodySummary"));
    summary_->setTextFormat(Qt::PlainText);
    summary_->setWordWrap(true);
    auto* save = new QPushButton(QStringLiteral("Bild speichern…"), this);
    save->setObjectName(QStringLiteral("moodySave"));
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &MoodyWindow::savePictureCommand);

    // What the arrow keys choose is heard as the results of "Berechnen" are.
    announcement_ = new Announcement(this);
    connect(chart_, &MoodyChart::pointChosen, this, [this](const QString& description) {
        QStringList lines = description.split(QLatin1Char('\n'));
        const QString name = lines.takeFirst();
        announcement_->announce(name, lines.join(QStringLiteral(", ")));
    });
    // Esc closes the chart, as it closes a dialog, and the main window has the keyboard again.
    auto* closing = new QAction(this);
    closing->setObjectName(QStringLiteral("closeMoodyChart"));
    closing->setShortcut(QKeySequence(Qt::Key_Escape));
    closing->setShortcutContext(Qt::WindowShortcut);
    connect(closing, &QAction::triggered, this, [this] {
        close();
        if (QWidget* main = parentWidget()) {
            main->activateWindow();
        }
    });
    addAction(closing);

    auto* bar = new QHBoxLayout;
    bar->addWidget(summary_, 1);
    bar->addWidget(save, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(chart_, 1);
    layout->addLayout(bar);
    resize(preferredSize());
    updateSummary();
}

void MoodyWindow::setResults(std::vector<MoodyPoint> points, std::optional<double> diameterMetres) {
    chart_->setResults(std::move(points), diameterMetres);
    updateSummary();
}

void MoodyWindow::updateSummary() {
    const auto& points = chart_->points();
    QStringList parts;
    parts << (points.size() == 1 ? QStringLiteral("1 Ergebnis")
                                 : QStringLiteral("%1 Ergebnisse").arg(points.size()));
    QStringList unplaced;
    for (const MoodyPoint& p : points) {
        if (!(p.reynolds > 0 && p.lambda > 0 && std::isfinite(p.reynolds) &&
              std::isfinite(p.lambda))) {
            unplaced << QString::number(p.number);
        }
    }
    if (!unplaced.isEmpty()) {
        parts << QStringLiteral("nicht darstellbar (Re oder λ nicht positiv): Nr. ") +
                     unplaced.join(QStringLiteral(", "));
    }
    if (!chart_->diameter()) {
        parts << QStringLiteral("Rauheitskurven nach der ersten Berechnung");
    }
    parts << MoodyChart::hint();
    summary_->setText(parts.join(QStringLiteral(" · ")));
}

void MoodyWindow::placeBeside(const QWidget& other) {
    const QScreen* screen = other.screen();
    if (screen == nullptr) {
        return;
    }
    // Until the window has been shown its frame is unknown; the main window's is the best guess.
    const QWidget& framed = isVisible() ? static_cast<const QWidget&>(*this) : other;
    const QRect outer = framed.frameGeometry();
    const QRect inner = framed.geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QRect place = kolmaris::placeBeside(
        other.frameGeometry(), preferredSize() + frameSize,
        minimumSizeHint().expandedTo(minimumSize()) + frameSize, screen->availableGeometry());
    resize(place.size() - frameSize);
    move(place.topLeft());
}

QSize MoodyWindow::preferredSize() const {
    return chart_->sizeHint() + QSize(12, 48);
}

QString MoodyWindow::proposedPictureName() {
    return QStringLiteral("Kolmaris-Moody-Diagramm.png");
}

void MoodyWindow::savePicture(const QString& path) const {
    const QSize size = chart_->size();
    const QRectF bounds(QPointF(0, 0), QSizeF(size));
    QBuffer picture;
    picture.open(QIODevice::WriteOnly);
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setOutputDevice(&picture);
        svg.setSize(size);
        svg.setViewBox(bounds);
        svg.setTitle(QStringLiteral("Moody-Diagramm"));
        QPainter painter;
        if (!painter.begin(&svg)) {
            throw PictureError("Die SVG-Grafik kann nicht erzeugt werden.");
        }
        chart_->render(painter, bounds);
        painter.end();
    } else {
        // Twice the pixels, so that lines and labels stay sharp in print.
        QImage image(size * 2, QImage::Format_RGB32);
        image.setDevicePixelRatio(2);
        QPainter painter(&image);
        chart_->render(painter, bounds);
        painter.end();
        if (!image.save(&picture, "PNG")) {
            throw PictureError("Das PNG-Bild kann nicht geschrieben werden.");
        }
    }
    // Put in place as every file of the program is: whole, or not at all.
    const QByteArray& bytes = picture.data();
    try {
        replaceFileWith(QFile::encodeName(path).toStdString(), bytes.constData(),
                        static_cast<std::size_t>(bytes.size()));
    } catch (const FileError& error) {
        throw PictureError(error.what());
    }
}

void MoodyWindow::savePictureCommand() {
    const QString path = files_.pictureFileName(this, proposedPictureName());
    if (path.isEmpty()) {
        return;
    }
    try {
        savePicture(path);
    } catch (const PictureError& error) {
        messages_.showMessage(std::string("Das Bild wurde nicht gespeichert.") + crlf +
                                  error.what(),
                              WarningStyle, "Fehler");
    }
}

} // namespace kolmaris
