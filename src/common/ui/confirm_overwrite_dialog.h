// CConfirmOverwriteDlg: replace an existing file, replace it and every later
// one of the run, skip it, or write under another name chosen on the spot.
#pragma once

#include "base/user_interaction.h"

#include <memory>

#include <QDialog>

namespace Ui {
class ConfirmOverwriteDialog;
}

namespace keldro {

class ConfirmOverwriteDialog final : public QDialog
{
    Q_OBJECT

public:
    // The "..." button asks `files` for the other name.
    ConfirmOverwriteDialog(const OverwriteQuestion& question, UserInteraction& files,
                           QWidget* parent = nullptr);
    ~ConfirmOverwriteDialog() override;

    // What the dialog ended with; closing the window is a skip.
    OverwriteAnswer Answer() const;

    void reject() override;

private:
    void SaveAsClicked(bool checked);
    void ChooseOtherName();

    std::unique_ptr<Ui::ConfirmOverwriteDialog> ui_;
    UserInteraction& files_;
};

} // namespace keldro
