// CMergeMP3ValidateDlg: the warning before a merge of files whose encoding
// parameters differ; go on, cancel, or hand the list to a converter first.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class MergeValidateDialog;
}

namespace keldro {

class SettingsStore;
struct MergeValidate;
enum class ValidateChoice;

// The check box is stored in settings at each click, whatever closes the
// dialog. "立即转换(&V)" runs the model's convertNow and leaves the dialog open;
// without one the button is disabled. "忽略(&I)" ends Accepted (Ignore);
// "取消(&C)", Escape and the close box end Rejected (Cancel).
class MergeValidateDialog final : public QDialog
{
    Q_OBJECT

public:
    MergeValidateDialog(MergeValidate& model, SettingsStore& settings, QWidget* parent = nullptr);
    ~MergeValidateDialog() override;

    // What the dialog ended with: Ignore only after "忽略(&I)".
    ValidateChoice Choice() const;

private:
    void SkipClicked();
    void ConvertNow();

    std::unique_ptr<Ui::MergeValidateDialog> ui_;
    MergeValidate& model_;
    SettingsStore& settings_;
};

} // namespace keldro
