// CSplitCompleteDlg: the split run's success notice, offering the sheet
// export, a new split and the destination folder.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class SplitCompleteDialog;
}

namespace keldro {

struct SplitComplete;

// The model is changed only by closing with a button (Accepted): the export
// and don't-show boxes, and the flag of the button. The close box and Escape
// end Rejected and change nothing.
class SplitCompleteDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit SplitCompleteDialog(SplitComplete& model, QWidget* parent = nullptr);
    ~SplitCompleteDialog() override;

private:
    void ShowText();
    // flag: the button's own flag, or none for OK.
    void Finish(bool SplitComplete::*flag);

    std::unique_ptr<Ui::SplitCompleteDialog> ui_;
    SplitComplete& model_;
};

} // namespace keldro
