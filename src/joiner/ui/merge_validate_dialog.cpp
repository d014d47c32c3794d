#include "joiner/ui/merge_validate_dialog.h"

#include "joiner/merge_check.h"
#include "ui_merge_validate_dialog.h"
#include "widgets/qt_text.h"
#include "widgets/themed_icon.h"

#include <QStyle>

namespace keldro {

MergeValidateDialog::MergeValidateDialog(MergeValidate& model, SettingsStore& settings,
                                         QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::MergeValidateDialog>()), model_(model),
      settings_(settings)
{
    ui_->setupUi(this);
    ui_->iconLabel->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32));
    ui_->messageLabel->setText(FromBytes(model_.text));
    ui_->skipBox->setChecked(model_.skipNextTime);
    ui_->convertButton->setIcon(ThemedIcon(ButtonIcon::Convert));
    // An empty hand-off would throw from inside the click.
    ui_->convertButton->setEnabled(static_cast<bool>(model_.convertNow));
    connect(ui_->skipBox, &QCheckBox::clicked, this, &MergeValidateDialog::SkipClicked);
    connect(ui_->convertButton, &QToolButton::clicked, this, &MergeValidateDialog::ConvertNow);
    connect(ui_->ignoreButton, &QPushButton::clicked, this, &MergeValidateDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &MergeValidateDialog::reject);
}

MergeValidateDialog::~MergeValidateDialog() = default;

ValidateChoice MergeValidateDialog::Choice() const
{
    return result() == QDialog::Accepted ? ValidateChoice::Ignore : ValidateChoice::Cancel;
}

void MergeValidateDialog::SkipClicked()
{
    model_.ToggleSkipNextTime(settings_);
    ui_->skipBox->setChecked(model_.skipNextTime);
}

void MergeValidateDialog::ConvertNow()
{
    if (model_.convertNow)
        model_.convertNow();
}

} // namespace keldro
