#include "common/ui/loading_frames_dialog.h"

#include "string_table.h"
#include "ui_loading_frames_dialog.h"
#include "widgets/qt_text.h"

namespace keldro {

LoadingFramesDialog::LoadingFramesDialog(QWidget* owner)
    : QDialog(owner, Qt::Tool), ui_(std::make_unique<Ui::LoadingFramesDialog>()), owner_(owner)
{
    ui_->setupUi(this);
    setWindowTitle(FromBytes(LoadString(StringId::LoadingFramesCaption)));
    ui_->lineLabel->setText(FromBytes(LoadString(StringId::LoadingFramesLine)));
    ui_->tipText->setPlainText(FromBytes(LoadString(StringId::FrameModeHint)));
    setModal(false);
}

LoadingFramesDialog::~LoadingFramesDialog()
{
    RestoreOwner();
}

// The owner is disabled while the hint is up, and afterwards left as it was.
void LoadingFramesDialog::showEvent(QShowEvent* event)
{
    if (owner_ && !ownerDisabled_) {
        ownerWasEnabled_ = owner_->isEnabled();
        owner_->setEnabled(false);
        ownerDisabled_ = true;
        setEnabled(true); // a child of the owner would be disabled with it
    }
    QDialog::showEvent(event);
}

void LoadingFramesDialog::closeEvent(QCloseEvent* event)
{
    RestoreOwner();
    QDialog::closeEvent(event);
}

void LoadingFramesDialog::RestoreOwner()
{
    if (owner_ && ownerDisabled_)
        owner_->setEnabled(ownerWasEnabled_);
    ownerDisabled_ = false;
}

} // namespace keldro
