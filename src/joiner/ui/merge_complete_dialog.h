// CMP3MergeCompleteDlg: the merge run's success notice, offering to play the
// result, open the folder and start a new merge.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class MergeCompleteDialog;
}

namespace keldro {

struct MergeComplete;

// The model is changed only by closing with a button (Accepted): the new-merge
// and don't-show boxes, and the flag of the button. The close box and Escape
// end Rejected and change nothing.
class MergeCompleteDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit MergeCompleteDialog(MergeComplete& model, QWidget* parent = nullptr);
    ~MergeCompleteDialog() override;

private:
    // flag: the button's own flag, or none for OK.
    void Finish(bool MergeComplete::*flag);

    std::unique_ptr<Ui::MergeCompleteDialog> ui_;
    MergeComplete& model_;
};

} // namespace keldro
