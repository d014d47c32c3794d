#include "joiner/ui/merge_complete_dialog.h"

#include "joiner/merge_page_view.h"
#include "ui_merge_complete_dialog.h"
#include "widgets/qt_text.h"

namespace keldro {

MergeCompleteDialog::MergeCompleteDialog(MergeComplete& model, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::MergeCompleteDialog>()), model_(model)
{
    ui_->setupUi(this);
    ui_->messageText->setPlainText(FromBytes(model_.message));
    ui_->newMergeBox->setChecked(model_.startNewMerge);
    // Opens clear whatever the model holds: ticking it is how the notice is
    // turned off, and it only shows while it is on.
    ui_->dontShowBox->setChecked(false);
    connect(ui_->playButton, &QPushButton::clicked, this,
            [this] { Finish(&MergeComplete::playNow); });
    connect(ui_->openFolderButton, &QPushButton::clicked, this,
            [this] { Finish(&MergeComplete::openFolder); });
    connect(ui_->okButton, &QPushButton::clicked, this, [this] { Finish(nullptr); });
}

MergeCompleteDialog::~MergeCompleteDialog() = default;

void MergeCompleteDialog::Finish(bool MergeComplete::*flag)
{
    model_.startNewMerge = ui_->newMergeBox->isChecked();
    model_.dontShowAgain = ui_->dontShowBox->isChecked();
    // The open-folder choice may already be on from the stored default; a
    // button only ever adds its own.
    if (flag != nullptr)
        model_.*flag = true;
    accept();
}

} // namespace keldro
