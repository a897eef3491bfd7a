#include "app/platform/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace kolmaris {

namespace {

QString startFolder(const QString& lastFolder) {
    if (!lastFolder.isEmpty()) {
        return lastFolder;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

const QString workbookFilter = QStringLiteral("Excel-Arbeitsmappe (*.xlsx)");

// Runs a file dialog with German texts whatever Qt's translations say, and remembers the
// folder the user ended in. `filters` are separated by ";;"; the first one's suffix is the
// default.
QString runDialog(QWidget* parent, const QString& caption, const QString& acceptText,
                  QString& lastFolder, const QString& proposedName,
                  const QString& filters = workbookFilter, const QString& suffix = "xlsx") {
    NameOnlyIconProvider icons; // outlives the dialog, which only borrows it
    QFileDialog dialog(parent, caption, startFolder(lastFolder), filters);
    dialog.setIconProvider(&icons);
    const bool saving = !proposedName.isEmpty();
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (saving) {
        dialog.setDefaultSuffix(suffix);
        dialog.selectFile(proposedName);
        // The chosen type decides the suffix of a name typed without one.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& filter) {
                             const qsizetype start = filter.indexOf(QLatin1String("(*.")) + 3;
                             const qsizetype end = filter.indexOf(QLatin1Char(')'), start);
                             if (start >= 3 && end > start) {
                                 dialog.setDefaultSuffix(filter.mid(start, end - start));
                             }
                         });
    }
    dialog.setLabelText(QFileDialog::Accept, acceptText);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Dateiname:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Dateityp:"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    lastFolder = QFileInfo(chosen).absolutePath();
    return chosen;
}

} // namespace

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    if (info.isRoot()) {
        return icon(Drive);
    }
    return icon(info.isDir() ? Folder : File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    if (info.isRoot()) {
        return QStringLiteral("Laufwerk");
    }
    if (info.isDir()) {
        return QStringLiteral("Ordner");
    }
    if (info.suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("Excel-Arbeitsmappe");
    }
    if (!info.isFile() && !info.isSymLink()) {
        return QStringLiteral("Sonderdatei"); // pipes, sockets, devices
    }
    return info.suffix().isEmpty() ? QStringLiteral("Datei")
                                   : info.suffix().toUpper() + QStringLiteral("-Datei");
}

QString QtFileDialogs::saveFileName(QWidget* parent, const QString& proposedName) {
    return runDialog(parent, QStringLiteral("Ergebnisse nach MS Excel ausgeben"),
                     QStringLiteral("Speichern"), lastFolder_, proposedName);
}

QString QtFileDialogs::pictureFileName(QWidget* parent, const QString& proposedName) {
    return runDialog(parent, QStringLiteral("Bild speichern"), QStringLiteral("Speichern"),
                     lastFolder_, proposedName,
                     QStringLiteral("PNG-Bild (*.png);;SVG-Grafik (*.svg)"), QStringLiteral("png"));
}

QString QtFileDialogs::reportFileName(QWidget* parent, const QString& proposedName) {
    return runDialog(parent, QStringLiteral("Bericht als PDF speichern"),
                     QStringLiteral("Speichern"), lastFolder_, proposedName,
                     QStringLiteral("PDF-Dokument (*.pdf)"), QStringLiteral("pdf"));
}

QString QtFileDialogs::openFileName(QWidget* parent) {
    return runDialog(parent, QStringLiteral("Ergebnisse von MS Excel einlesen"),
                     QStringLiteral("Öffnen"), lastFolder_, QString());
}

} // namespace kolmaris
