// CTimeStepEditDlg: how far the keys and the spin buttons move the split
// page's position, a step (Up/Down) and a page (PgUp/PgDn), in milliseconds.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class StepSizesDialog;
}

namespace keldro {

struct StepSizes;

class StepSizesDialog final : public QDialog
{
    Q_OBJECT

public:
    // The fields show the model's sizes; OK writes them back into it, and the
    // page stores them. OK stays disabled while a field holds no usable size.
    explicit StepSizesDialog(StepSizes& model, QWidget* parent = nullptr);
    ~StepSizesDialog() override;

    void accept() override;

private:
    void FieldsChanged();

    std::unique_ptr<Ui::StepSizesDialog> ui_;
    StepSizes& model_;
};

} // namespace keldro
