// CProgressDlg: the strip without a caption shown while a long pass runs, a
// bar from 0 to 100 and a button (or Esc) that asks to cancel. The request is
// only noted: the work polls it, asks the user, and goes on or ends, so the
// strip stays up until the work closes it.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class ProgressDialog;
}

namespace keldro {

class ProgressDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit ProgressDialog(QWidget* owner);
    ~ProgressDialog() override;

    void SetValue(int percent);
    int Value() const;
    // True once per press of the button or Esc.
    bool TakeCancelRequest();

public slots:
    void reject() override;

private:
    std::unique_ptr<Ui::ProgressDialog> ui_;
    bool cancelRequested_ = false;
};

} // namespace keldro
