#include "splitter/ui/equal_parts_dialog.h"

#include "base/user_interaction.h"
#include "splitter/bulk_split.h"
#include "ui_equal_parts_dialog.h"
#include "widgets/qt_text.h"

#include <QRegularExpressionValidator>

namespace keldro {

EqualPartsDialog::EqualPartsDialog(SpecialTimeAdd& model, SettingsStore& settings,
                                   UserInteraction& ui, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::EqualPartsDialog>()), model_(model),
      settings_(settings), user_(ui)
{
    ui_->setupUi(this);
    ui_->wholeRangeLabel->setText(FromBytes(model_.wholeText));
    ui_->trackRangeLabel->setText(FromBytes(model_.trackText));
    ui_->trackRadio->setEnabled(model_.trackAvailable);
    model_.scope = SpecialTimeAdd::WholeSource;
    ui_->wholeRadio->setChecked(true);

    // Digits only; a number beyond the limit is still typed, and refused at OK.
    ui_->partsEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,6}")), ui_->partsEdit));
    ui_->partsEdit->setText(QString::number(model_.parts));
    ui_->timeEdit->SetMaxTime(model_.wholeLength);
    ui_->timeEdit->SetTime(model_.fixedTime);
    const bool byTime = model_.method == SpecialTimeAdd::ByFixedTime;
    (byTime ? ui_->timeRadio : ui_->partsRadio)->setChecked(true);
    ui_->autoApplyBox->setChecked(model_.autoApply);
    ScopeChosen();

    connect(ui_->wholeRadio, &QRadioButton::toggled, this, &EqualPartsDialog::ScopeChosen);
    connect(ui_->autoApplyBox, &QCheckBox::clicked, this,
            [this](bool on) { model_.SetAutoApply(on, settings_); });
    connect(ui_->partsRadio, &QRadioButton::clicked, this, &EqualPartsDialog::FocusPartsField);
    connect(ui_->timeRadio, &QRadioButton::clicked, this, &EqualPartsDialog::FocusTimeField);
    connect(ui_->partsEdit, &QLineEdit::textEdited, this,
            [this] { ui_->partsRadio->setChecked(true); });
    connect(ui_->timeEdit, &TimeEdit::TimeEdited, this,
            [this] { ui_->timeRadio->setChecked(true); });
    connect(ui_->okButton, &QPushButton::clicked, this, &EqualPartsDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &EqualPartsDialog::reject);

    // The field of the current method has the focus when the dialog shows.
    if (byTime)
        FocusTimeField();
    else
        ui_->partsEdit->setFocus();
}

EqualPartsDialog::~EqualPartsDialog() = default;

void EqualPartsDialog::ScopeChosen()
{
    const bool whole = ui_->wholeRadio->isChecked();
    model_.scope = whole ? SpecialTimeAdd::WholeSource : SpecialTimeAdd::SelectedTrack;
    ui_->autoApplyBox->setEnabled(whole);
    ui_->maximumLabel->setText(FromBytes(model_.MaximumText()));
}

void EqualPartsDialog::FocusPartsField()
{
    ui_->partsEdit->selectAll();
    ui_->partsEdit->setFocus();
}

void EqualPartsDialog::FocusTimeField()
{
    ui_->timeEdit->setFocus();
    ui_->timeEdit->PlaceCaret();
}

void EqualPartsDialog::ReadFields()
{
    model_.method =
        ui_->timeRadio->isChecked() ? SpecialTimeAdd::ByFixedTime : SpecialTimeAdd::ByParts;
    // An empty field reads as 0 parts and is refused with the others.
    model_.parts = ui_->partsEdit->text().toInt();
    model_.fixedTime = static_cast<TimeMs>(ui_->timeEdit->GetTime());
    model_.autoApply = ui_->autoApplyBox->isChecked();
}

void EqualPartsDialog::accept()
{
    ReadFields();
    if (const auto refusal = model_.CheckOk()) {
        user_.ShowMessage(refusal->message, MessageIcon::Warning, MessageButtons::Ok);
        if (refusal->timeField)
            FocusTimeField();
        else
            FocusPartsField();
        return;
    }
    QDialog::accept();
}

} // namespace keldro
