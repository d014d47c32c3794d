#include "shell/ui/splitter_settings_dialog.h"

#include "base/user_interaction.h"
#include "string_table.h"
#include "ui_splitter_settings_dialog.h"
#include "widgets/qt_text.h"

namespace keldro {

SplitterSettingsDialog::SplitterSettingsDialog(SettingsStore& settings, UserInteraction& folders,
                                               QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::SplitterSettingsDialog>()), settings_(settings),
      folders_(folders)
{
    ui_->setupUi(this);
    ShowValues(LoadOtherSettings(settings_));
    connect(ui_->mergeFolderButton, &QPushButton::clicked, this, [this] {
        ChooseFolder(ui_->mergeFolderEdit, LoadString(StringId::ChooseMergeSourceFolder));
    });
    connect(ui_->splitFolderButton, &QPushButton::clicked, this, [this] {
        ChooseFolder(ui_->splitFolderEdit, LoadString(StringId::ChooseSplitSourceFolder));
    });
}

SplitterSettingsDialog::~SplitterSettingsDialog() = default;

// The check boxes of the flags; the two folder modes are radio buttons.
std::vector<SplitterSettingsDialog::FlagBox> SplitterSettingsDialog::FlagBoxes() const
{
    using S = OtherSettings;
    return {
        {ui_->validateBox, &S::validateBeforeMerge},
        {ui_->joinerConfirmBox, &S::joinerConfirmOverwrite},
        {ui_->joinerShowSuccessBox, &S::joinerShowSuccess},
        {ui_->joinerOpenFolderBox, &S::joinerAutoOpenFolder},
        {ui_->joinerPlayBox, &S::joinerPlayResult},
        {ui_->startNewMergeBox, &S::startNewMerge},
        {ui_->outputConfirmBox, &S::outputFolderConfirmation},
        {ui_->splitterConfirmBox, &S::splitterConfirmOverwrite},
        {ui_->countGeneratedBox, &S::countGenerated},
        {ui_->splitterShowSuccessBox, &S::splitterShowSuccess},
        {ui_->splitterOpenFolderBox, &S::splitterAutoOpenFolder},
        {ui_->exportCueBox, &S::exportCue},
        {ui_->startNewSplitBox, &S::startNewSplit},
        {ui_->writeVbrBox, &S::writeVbrHeader},
        {ui_->seamlessBox, &S::seamlessSplit},
    };
}

void SplitterSettingsDialog::ShowValues(const OtherSettings& values)
{
    for (const FlagBox& flag : FlagBoxes())
        flag.box->setChecked(values.*flag.field != 0);
    (values.mergeFolderMode == 0 ? ui_->mergeFolderAlways : ui_->mergeFolderLast)->setChecked(true);
    (values.splitFolderMode == 0 ? ui_->splitFolderAlways : ui_->splitFolderLast)->setChecked(true);
    ui_->mergeFolderEdit->setText(FromBytes(values.mergeFolder));
    ui_->splitFolderEdit->setText(FromBytes(values.splitFolder));
}

OtherSettings SplitterSettingsDialog::TakeValues() const
{
    OtherSettings values;
    for (const FlagBox& flag : FlagBoxes())
        values.*flag.field = flag.box->isChecked() ? 1 : 0;
    values.mergeFolderMode = ui_->mergeFolderAlways->isChecked() ? 0 : 1;
    values.splitFolderMode = ui_->splitFolderAlways->isChecked() ? 0 : 1;
    values.mergeFolder = ToBytes(ui_->mergeFolderEdit->text());
    values.splitFolder = ToBytes(ui_->splitFolderEdit->text());
    return values;
}

void SplitterSettingsDialog::ChooseFolder(QLineEdit* field, std::string_view title)
{
    if (const auto chosen = folders_.ChooseFolder(title, ToBytes(field->text())))
        field->setText(FromBytes(*chosen));
}

void SplitterSettingsDialog::accept()
{
    StoreOtherSettings(settings_, TakeValues());
    QDialog::accept();
}

} // namespace keldro
