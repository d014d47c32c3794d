// The split page's own dialogs, opened when the page asks for them.
#include "splitter/ui/equal_parts_dialog.h"
#include "splitter/ui/overlaps_dialog.h"
#include "splitter/ui/split_complete_dialog.h"
#include "splitter/ui/split_page_window.h"
#include "splitter/ui/track_length_dialog.h"
#include "splitter/ui/track_tag_editor_dialog.h"

namespace keldro {

bool SplitPageWindow::EditTags(TrackTagEditor& editor)
{
    TrackTagEditorDialog dialog(editor, user_, this);
    return dialog.exec() == QDialog::Accepted;
}

bool SplitPageWindow::AskEqualParts(SpecialTimeAdd& model)
{
    EqualPartsDialog dialog(model, settings_, user_, this);
    return dialog.exec() == QDialog::Accepted;
}

bool SplitPageWindow::AskOverlaps(TrackAddOverlap& model)
{
    OverlapsDialog dialog(model, settings_, this);
    return dialog.exec() == QDialog::Accepted;
}

bool SplitPageWindow::AskTrackLength(TrackUpdate& model)
{
    TrackLengthDialog dialog(model, this);
    return dialog.exec() == QDialog::Accepted;
}

bool SplitPageWindow::ShowSplitComplete(SplitComplete& model)
{
    SplitCompleteDialog dialog(model, this);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace keldro
