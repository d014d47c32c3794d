// CVantryShowInfoDlg: a message with OK and Cancel, a box that switches it off
// for the future (stored at each click), and an optional box of the caller's.
#pragma once

#include "base/user_interaction.h"

#include <functional>
#include <memory>

#include <QDialog>

namespace Ui {
class ShowInfoDialog;
}

namespace keldro {

class ShowInfoDialog final : public QDialog
{
    Q_OBJECT

public:
    // dontShowChanged is called with the box's new state at each click.
    ShowInfoDialog(const ShowOnceMessage& message, std::function<void(bool)> dontShowChanged,
                   QWidget* parent = nullptr);
    ~ShowInfoDialog() override;

    ShowOnceAnswer Answer() const;

private:
    std::unique_ptr<Ui::ShowInfoDialog> ui_;
    std::function<void(bool)> dontShowChanged_;
};

} // namespace keldro
