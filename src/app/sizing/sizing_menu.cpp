#include "app/sizing/sizing_menu.h"

#include "app/sizing/pipe_sizing_dialog.h"

#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>

#include <array>

namespace kolmaris {

namespace {

// The window's controls by their names, the option buttons in the order of the choices.
constexpr std::array<const char*, 4> mediumOptions = {"Option1_0", "Option2", "Option3", "Option4"};
constexpr std::array<const char*, 5> materialOptions = {"Option5", "Option6", "Option7", "Option8",
                                                        "Option9"};

template <typename Choice, std::size_t N>
std::optional<Choice> checkedOption(const QWidget& window,
                                    const std::array<const char*, N>& names) {
    for (std::size_t i = 0; i < N; ++i) {
        const auto* option = window.findChild<QRadioButton*>(QLatin1String(names[i]));
        if (option != nullptr && option->isChecked()) {
            return static_cast<Choice>(i);
        }
    }
    return std::nullopt;
}

QString textOf(const QWidget& window, const char* box) {
    const auto* edit = window.findChild<QLineEdit*>(QLatin1String(box));
    return edit != nullptr ? edit->text() : QString();
}

// Lives as a child of the diameter box and dies with it.
class SizingMenu : public QObject {
public:
    SizingMenu(QWidget& window, QLineEdit& diameter, const QLocale& locale)
        : QObject(&diameter), window_(window), diameter_(diameter), locale_(locale) {
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
        const SizingInputs inputs{textOf(window_, "Text2"), textOf(window_, "Text3"),
                                  textOf(window_, "Text4"),
                                  checkedOption<Medium>(window_, mediumOptions),
                                  checkedOption<Material>(window_, materialOptions)};
        QPointer<QLineEdit> target(&diameter_);
        auto* dialog = new PipeSizingDialog(
            inputs, locale_,
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
    QLocale locale_;
};

} // namespace

void installPipeSizingMenu(QWidget& window, const QLocale& locale) {
    if (auto* diameter = window.findChild<QLineEdit*>(QStringLiteral("Text1"))) {
        new SizingMenu(window, *diameter, locale);
    }
}

} // namespace kolmaris
