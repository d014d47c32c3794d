// CInsertSilenceDlg: the silence written after the selected merge rows, or
// after every row, and the defaults that newly added rows get.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class InsertSilenceDialog;
}

namespace keldro {

class SettingsStore;
class UserInteraction;
struct InsertSilence;

// "应用" and "应用全部" close with Accepted once the length is an integer,
// the latter setting the model's apply-to-all. "保存(&S)" stores both values
// in settings and keeps the dialog open, unless the model has no selection,
// where it closes with Accepted. A length that is no integer is told through
// ui and keeps the dialog open. The close box and Escape end Rejected.
class InsertSilenceDialog final : public QDialog
{
    Q_OBJECT

public:
    InsertSilenceDialog(InsertSilence& model, SettingsStore& settings, UserInteraction& ui,
                        QWidget* parent = nullptr);
    ~InsertSilenceDialog() override;

private:
    void Apply(bool toAll);
    void Save();
    // Writes the fields into the model; false, told and focused, when the
    // length is no integer.
    bool TakeFields();
    void FocusLength();

    std::unique_ptr<Ui::InsertSilenceDialog> ui_;
    InsertSilence& model_;
    SettingsStore& settings_;
    UserInteraction& user_;
};

} // namespace keldro
