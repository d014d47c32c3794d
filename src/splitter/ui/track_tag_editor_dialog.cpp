#include "splitter/ui/track_tag_editor_dialog.h"

#include "engine/id3v1.h"
#include "string_table.h"
#include "ui_track_tag_editor_dialog.h"
#include "widgets/byte_limit_validator.h"
#include "widgets/qt_text.h"

namespace keldro {

TrackTagEditorDialog::TrackTagEditorDialog(TrackTagEditor& editor, UserInteraction& ui,
                                           QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TrackTagEditorDialog>()), editor_(editor), user_(ui)
{
    ui_->setupUi(this);
    for (const std::string& entry : TrackTagEditor::GenreEntries())
        ui_->genreBox->addItem(FromBytes(entry));
    InstallFields();
    ui_->tipText->setPlainText(FromBytes(LoadString(StringId::TagEditorHelp)));
    ShowEditor();

    connect(ui_->autoTrackBox, &QCheckBox::clicked, this,
            [this] { Toggle(&TrackTagEditor::ToggleAutoTrack); });
    connect(ui_->onlyIfEmptyBox, &QCheckBox::clicked, this,
            [this] { Toggle(&TrackTagEditor::ToggleOnlyIfEmpty); });
    connect(ui_->autoSequenceBox, &QCheckBox::clicked, this,
            [this] { Toggle(&TrackTagEditor::ToggleAutoSequence); });
    connect(ui_->resetButton, &QPushButton::clicked, this, &TrackTagEditorDialog::Reset);
    connect(ui_->applyAllButton, &QPushButton::clicked, this,
            [this] { Finish(&TrackTagEditor::AcceptForAll); });
    connect(ui_->okButton, &QPushButton::clicked, this,
            [this] { Finish(&TrackTagEditor::Accept); });
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TrackTagEditorDialog::~TrackTagEditorDialog() = default;

void TrackTagEditorDialog::InstallFields()
{
    using Field = TrackTagEditor::Field;
    edits_[Field::Title] = ui_->titleEdit;
    edits_[Field::Year] = ui_->yearEdit;
    edits_[Field::Album] = ui_->albumEdit;
    edits_[Field::Artist] = ui_->artistEdit;
    edits_[Field::Comment] = ui_->commentEdit;
    edits_[Field::Track] = ui_->trackEdit;
    for (int field = 0; field < Field::FieldCount; ++field) {
        const std::size_t width = field == Field::Year    ? kId3v1YearWidth
                                  : field == Field::Track ? kId3v1TrackTextWidth
                                                          : kId3v1TextWidth;
        const auto characters = field == Field::Year ? ByteLimitValidator::Characters::Digits
                                                     : ByteLimitValidator::Characters::Any;
        limits_[field] = ByteLimitValidator::Install(*edits_[field], width, characters);
    }
}

void TrackTagEditorDialog::ShowEditor()
{
    ui_->lineLabel->setText(FromBytes(editor_.lineText));
    ui_->autoTrackBox->setChecked(editor_.AutoTrack());
    ui_->onlyIfEmptyBox->setChecked(editor_.OnlyIfEmpty());
    ui_->onlyIfEmptyBox->setEnabled(editor_.OnlyIfEmptyEnabled());
    ui_->autoSequenceBox->setChecked(editor_.AutoSequence());
    for (int field = 0; field < TrackTagEditor::FieldCount; ++field)
        limits_[field]->SetText(FromBytes(editor_.values[field]));
    const bool listed = editor_.genreChoice >= 0 && editor_.genreChoice < ui_->genreBox->count();
    ui_->genreBox->setCurrentIndex(listed ? editor_.genreChoice : -1);
}

void TrackTagEditorDialog::TakeControls()
{
    for (int field = 0; field < TrackTagEditor::FieldCount; ++field)
        editor_.values[field] = ToBytes(edits_[field]->text());
    editor_.genreChoice = ui_->genreBox->currentIndex();
}

void TrackTagEditorDialog::Toggle(EditorCall toggle)
{
    TakeControls();
    (editor_.*toggle)();
    ShowEditor();
}

void TrackTagEditorDialog::Reset()
{
    TakeControls();
    editor_.Reset(user_);
    ShowEditor();
}

void TrackTagEditorDialog::Finish(EditorCall take)
{
    TakeControls();
    (editor_.*take)();
    QDialog::accept();
}

} // namespace keldro
