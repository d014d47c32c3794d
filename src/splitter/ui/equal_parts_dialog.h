// CSpecialTimeAdd: cuts the whole source or the selected track into a number
// of equal parts or into parts of a fixed length.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class EqualPartsDialog;
}

namespace keldro {

class SettingsStore;
class UserInteraction;
struct SpecialTimeAdd;

class EqualPartsDialog final : public QDialog
{
    Q_OBJECT

public:
    // The auto-apply box is stored in settings at each click; a refused OK is
    // told through ui. The page runs the split and stores the other choices.
    EqualPartsDialog(SpecialTimeAdd& model, SettingsStore& settings, UserInteraction& ui,
                     QWidget* parent = nullptr);
    ~EqualPartsDialog() override;

    // Closes with OK only once the model's check passes.
    void accept() override;

private:
    void ScopeChosen();
    void FocusPartsField();
    void FocusTimeField();
    void ReadFields();

    std::unique_ptr<Ui::EqualPartsDialog> ui_;
    SpecialTimeAdd& model_;
    SettingsStore& settings_;
    UserInteraction& user_;
};

} // namespace keldro
