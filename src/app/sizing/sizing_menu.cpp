#include "app/sizing/sizing_menu.h"

#include <QLineEdit>
#include <QMenu>
#include <QPointer>

#include <utility>

namespace kolmaris {

namespace {

// Lives as a child of the diameter box and dies with it.
class SizingMenu : public QObject {
public:
    SizingMenu(QWidget& window, QLineEdit& diameter, std::function<SizingInputs()> inputs,
               const NumberSettings& numbers)
        : QObject(&diameter), window_(window), diameter_(diameter), inputs_(std::move(inputs)),
          numbers_(numbers) {
        diameter.setContextMenuPolicy(Qt::CustomContextMenu);
        connect(&diameter, &QWidget::customContextMenuRequested, this, &SizingMenu::show);
    }

private:
    void show(const QPoint& pos) {
        QMenu* menu = diameter_.createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addSeparator();
        QAction* size = menu->addAction(QStringLiteral("Rohrweite auslegen…"));
        size->setObjectName(QStringLiteral("rohrweiteAuslegen"));
        connect(size, &QAction::triggered, this, &SizingMenu::openDialog);
        menu->popup(diameter_.mapToGlobal(pos));
    }

    void openDialog() {
        const SizingInputs inputs = inputs_();
        QPointer<QLineEdit> target(&diameter_);
        auto* dialog = new PipeSizingDialog(
            inputs, numbers_,
            [target](const QString& text) {
                if (target) {
                    target->setText(text);
                }
            },
            &window_);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    }

    QWidget& window_;
    QLineEdit& diameter_;
    std::function<SizingInputs()> inputs_;
    NumberSettings numbers_;
};

} // namespace

void installPipeSizingMenu(QWidget& window, QLineEdit& diameter,
                           std::function<SizingInputs()> inputs, const NumberSettings& numbers) {
    new SizingMenu(window, diameter, std::move(inputs), numbers);
}

} // namespace kolmaris
