#include "joiner/ui/insert_silence_dialog.h"

#include "base/user_interaction.h"
#include "joiner/silence.h"
#include "string_table.h"
#include "ui_insert_silence_dialog.h"
#include "widgets/qt_text.h"

namespace keldro {

InsertSilenceDialog::InsertSilenceDialog(InsertSilence& model, SettingsStore& settings,
                                         UserInteraction& ui, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::InsertSilenceDialog>()), model_(model),
      settings_(settings), user_(ui)
{
    ui_->setupUi(this);
    // Any text may be typed: the model decides what an integer is, and a
    // refusal names it.
    ui_->lengthEdit->setText(FromBytes(model_.lengthText));
    ui_->automaticBox->setChecked(model_.automatic);
    ui_->applyButton->setEnabled(!model_.noSelection);
    ui_->applyAllButton->setEnabled(!model_.noSelection);

    connect(ui_->applyButton, &QPushButton::clicked, this, [this] { Apply(false); });
    connect(ui_->applyAllButton, &QPushButton::clicked, this, [this] { Apply(true); });
    connect(ui_->saveButton, &QPushButton::clicked, this, &InsertSilenceDialog::Save);
    FocusLength();
}

InsertSilenceDialog::~InsertSilenceDialog() = default;

void InsertSilenceDialog::Apply(bool toAll)
{
    if (model_.noSelection || !TakeFields())
        return;
    model_.applyToAll = toAll;
    accept();
}

void InsertSilenceDialog::Save()
{
    if (!TakeFields() || !model_.Save(settings_))
        return;
    if (model_.noSelection)
        accept();
}

bool InsertSilenceDialog::TakeFields()
{
    model_.lengthText = ToBytes(ui_->lengthEdit->text());
    model_.automatic = ui_->automaticBox->isChecked();
    if (model_.Length())
        return true;
    user_.ShowMessage(LoadString(StringId::EnterInteger), MessageIcon::Warning, MessageButtons::Ok);
    FocusLength();
    return false;
}

void InsertSilenceDialog::FocusLength()
{
    ui_->lengthEdit->selectAll();
    ui_->lengthEdit->setFocus();
}

} // namespace keldro
