#pragma once

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
};

class QtFileDialogs : public FileDialogs {
public:
    QString saveFileName(QWidget* parent, const QString& proposedName) override;
    QString openFileName(QWidget* parent) override;
    QString pictureFileName(QWidget* parent, const QString& proposedName) override;

private:
    QString lastFolder_; // the next dialog opens where the last one ended
};

} // namespace kolmaris
