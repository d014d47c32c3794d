#include "common/ui/progress_dialog.h"

#include "ui_progress_dialog.h"

#include <QStyle>

namespace keldro {

ProgressDialog::ProgressDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      ui_(std::make_unique<Ui::ProgressDialog>())
{
    ui_->setupUi(this);
    ui_->cancelButton->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(ui_->cancelButton, &QToolButton::clicked, this, &ProgressDialog::reject);
    setWindowModality(Qt::WindowModal);
}

ProgressDialog::~ProgressDialog() = default;

void ProgressDialog::SetValue(int percent)
{
    ui_->progressBar->setValue(percent);
}

int ProgressDialog::Value() const
{
    return ui_->progressBar->value();
}

bool ProgressDialog::TakeCancelRequest()
{
    const bool requested = cancelRequested_;
    cancelRequested_ = false;
    return requested;
}

// Esc and the button: a request for the work to decide on, not a close.
void ProgressDialog::reject()
{
    cancelRequested_ = true;
}

} // namespace keldro
