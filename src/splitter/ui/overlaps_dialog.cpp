#include "splitter/ui/overlaps_dialog.h"

#include "splitter/bulk_split.h"
#include "ui_overlaps_dialog.h"
#include "widgets/qt_text.h"

namespace keldro {

OverlapsDialog::OverlapsDialog(TrackAddOverlap& model, SettingsStore& settings, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::OverlapsDialog>()), model_(model),
      settings_(settings)
{
    ui_->setupUi(this);
    ui_->wholeRangeLabel->setText(FromBytes(model_.wholeText));
    ui_->trackRangeLabel->setText(FromBytes(model_.trackText));
    ui_->trackRadio->setEnabled(model_.trackAvailable);
    model_.scope = TrackAddOverlap::EveryTrack;
    ui_->wholeRadio->setChecked(true);
    for (TimeEdit* field : {ui_->backwardEdit, ui_->forwardEdit})
        field->SetMaxTime(model_.total);
    ui_->backwardEdit->SetTime(model_.backward);
    ui_->forwardEdit->SetTime(model_.forward);
    ui_->autoApplyBox->setChecked(model_.autoApply);
    ScopeChosen();

    connect(ui_->wholeRadio, &QRadioButton::toggled, this, &OverlapsDialog::ScopeChosen);
    connect(ui_->autoApplyBox, &QCheckBox::clicked, this,
            [this](bool on) { model_.SetAutoApply(on, settings_); });
    connect(ui_->okButton, &QPushButton::clicked, this, &OverlapsDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &OverlapsDialog::reject);
}

OverlapsDialog::~OverlapsDialog() = default;

void OverlapsDialog::ScopeChosen()
{
    const bool every = ui_->wholeRadio->isChecked();
    model_.scope = every ? TrackAddOverlap::EveryTrack : TrackAddOverlap::SelectedTrack;
    ui_->autoApplyBox->setEnabled(every);
}

void OverlapsDialog::accept()
{
    model_.backward = static_cast<TimeMs>(ui_->backwardEdit->GetTime());
    model_.forward = static_cast<TimeMs>(ui_->forwardEdit->GetTime());
    model_.autoApply = ui_->autoApplyBox->isChecked();
    QDialog::accept();
}

} // namespace keldro
