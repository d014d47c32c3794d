#include "splitter/ui/track_length_dialog.h"

#include "splitter/boundary_edit.h"
#include "ui_track_length_dialog.h"
#include "widgets/qt_text.h"

namespace keldro {

TrackLengthDialog::TrackLengthDialog(TrackUpdate& model, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TrackLengthDialog>()), model_(model)
{
    ui_->setupUi(this);
    ui_->captionLabel->setText(FromBytes(model_.caption));
    for (TimeEdit* field : {ui_->startEdit, ui_->endEdit, ui_->lengthEdit})
        field->SetMaxTime(model_.maximum);
    ui_->startEdit->SetTime(model_.newStart);
    ui_->endEdit->SetTime(model_.newEnd);
    ui_->lengthEdit->SetTime(model_.length);
    ShowMaximumAndOk();

    connect(ui_->startEdit, &TimeEdit::TimeEdited, this, &TrackLengthDialog::StartEdited);
    connect(ui_->endEdit, &TimeEdit::TimeEdited, this, &TrackLengthDialog::EndEdited);
    connect(ui_->lengthEdit, &TimeEdit::TimeEdited, this, &TrackLengthDialog::LengthEdited);
    connect(ui_->okButton, &QPushButton::clicked, this, &TrackLengthDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &TrackLengthDialog::reject);
}

TrackLengthDialog::~TrackLengthDialog() = default;

void TrackLengthDialog::StartEdited(qint64 ms)
{
    model_.StartChanged(static_cast<TimeMs>(ms));
    ui_->lengthEdit->SetTime(model_.length);
    ShowMaximumAndOk();
}

void TrackLengthDialog::EndEdited(qint64 ms)
{
    model_.EndChanged(static_cast<TimeMs>(ms));
    ui_->lengthEdit->SetTime(model_.length);
    ShowMaximumAndOk();
}

void TrackLengthDialog::LengthEdited(qint64 ms)
{
    model_.LengthChanged(static_cast<TimeMs>(ms));
    ui_->endEdit->SetTime(model_.newEnd);
    ShowMaximumAndOk();
}

void TrackLengthDialog::ShowMaximumAndOk()
{
    ui_->maximumLabel->setText(FromBytes(model_.MaximumText()));
    ui_->okButton->setEnabled(model_.OkEnabled());
}

} // namespace keldro
