// CMP3ID3Editor: the ID3 fields of one track of the split list, or of all of
// them at once, and the options that place the sequence wildcard by themselves.
#pragma once

#include "splitter/track_tag_editor.h"

#include <array>
#include <memory>

#include <QDialog>

class QLineEdit;

namespace Ui {
class TrackTagEditorDialog;
}

namespace keldro {

class ByteLimitValidator;
class UserInteraction;

// Shows the editor's state and calls it on every click; ends Accepted exactly
// when the caller should take the editor's values (OK or apply to all).
class TrackTagEditorDialog final : public QDialog
{
    Q_OBJECT

public:
    // ui asks the reset question.
    TrackTagEditorDialog(TrackTagEditor& editor, UserInteraction& ui, QWidget* parent = nullptr);
    ~TrackTagEditorDialog() override;

private:
    using EditorCall = void (TrackTagEditor::*)();

    void InstallFields();
    void ShowEditor();
    // The editor's rules work on what the user has typed so far.
    void TakeControls();
    void Toggle(EditorCall toggle);
    void Reset();
    void Finish(EditorCall take);

    std::unique_ptr<Ui::TrackTagEditorDialog> ui_;
    TrackTagEditor& editor_;
    UserInteraction& user_;
    std::array<QLineEdit*, TrackTagEditor::FieldCount> edits_{};
    std::array<ByteLimitValidator*, TrackTagEditor::FieldCount> limits_{};
};

} // namespace keldro
