#include "splitter/ui/split_complete_dialog.h"

#include "splitter/split_complete.h"
#include "ui_split_complete_dialog.h"
#include "widgets/qt_text.h"

namespace keldro {

SplitCompleteDialog::SplitCompleteDialog(SplitComplete& model, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::SplitCompleteDialog>()), model_(model)
{
    ui_->setupUi(this);
    ui_->exportCueBox->setChecked(model_.exportCue);
    ui_->dontShowBox->setChecked(model_.dontShowAgain);
    ShowText();
    connect(ui_->exportCueBox, &QCheckBox::toggled, this, &SplitCompleteDialog::ShowText);
    connect(ui_->newSplitButton, &QPushButton::clicked, this,
            [this] { Finish(&SplitComplete::newSplit); });
    connect(ui_->openFolderButton, &QPushButton::clicked, this,
            [this] { Finish(&SplitComplete::openFolder); });
    connect(ui_->okButton, &QPushButton::clicked, this, [this] { Finish(nullptr); });
}

SplitCompleteDialog::~SplitCompleteDialog() = default;

void SplitCompleteDialog::ShowText()
{
    // The text follows the box before the choice is kept.
    SplitComplete shown = model_;
    shown.exportCue = ui_->exportCueBox->isChecked();
    ui_->messageText->setPlainText(FromBytes(shown.Text()));
}

void SplitCompleteDialog::Finish(bool SplitComplete::*flag)
{
    model_.exportCue = ui_->exportCueBox->isChecked();
    model_.dontShowAgain = ui_->dontShowBox->isChecked();
    if (flag != nullptr)
        model_.*flag = true;
    accept();
}

} // namespace keldro
