#pragma once

#include <QFileIconProvider>
#include <QString>

class QWidget;

namespace kolmaris {

// Where the window asks for a file name. The program shows Qt's file dialogs; tests answer
// without a dialog. An empty name means the user cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // A name to save the results under, proposing `proposedName` in the user's documents.
    virtual QString saveFileName(QWidget* parent, const QString& proposedName) = 0;
    // A workbook to read results from.
    virtual QString openFileName(QWidget* parent) = 0;
    // A name to save a picture under, ending in .png or .svg, proposing `proposedName`.
    virtual QString pictureFileName(QWidget* parent, const QString& proposedName) = 0;
    // A name to save the report under, ending in .pdf, proposing `proposedName`.
    virtual QString reportFileName(QWidget* parent, const QString& proposedName) = 0;
};

// Icons and type names from a file's name and kind alone. Qt's own provider reads each listed
// file to guess its type, and a file whose reading blocks (a pipe, /proc/kmsg) would then
// freeze the dialog, and the program with it.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

class QtFileDialogs : public FileDialogs {
public:
    QString saveFileName(QWidget* parent, const QString& proposedName) override;
    QString openFileName(QWidget* parent) override;
    QString pictureFileName(QWidget* parent, const QString& proposedName) override;
    QString reportFileName(QWidget* parent, const QString& proposedName) override;

private:
    QString lastFolder_; // the next dialog opens where the last one ended
};

} // namespace kolmaris
