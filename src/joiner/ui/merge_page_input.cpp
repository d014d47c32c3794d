// The merge page's context menu, drops on the page, and the dialogs the page
// asks for.
#include "joiner/merge_check.h"
#include "joiner/silence.h"
#include "joiner/ui/download_converter_dialog.h"
#include "joiner/ui/insert_silence_dialog.h"
#include "joiner/ui/merge_complete_dialog.h"
#include "joiner/ui/merge_list_view.h"
#include "joiner/ui/merge_page_window.h"
#include "joiner/ui/merge_validate_dialog.h"
#include "string_table.h"
#include "ui_merge_page_window.h"
#include "widgets/qt_text.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>

namespace keldro {

std::unique_ptr<QMenu> MergePageWindow::BuildContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    const MergePageState state = page_.State();
    const auto add = [&](StringId text, MergeCommand command) {
        QAction* item = menu->addAction(FromBytes(LoadString(text)));
        item->setEnabled(IsMergeCommandEnabled(command, state));
        connect(item, &QAction::triggered, this, [this, command] { RunMenuCommand(command); });
        return item;
    };
    add(StringId::MenuAddMergeFiles, MergeCommand::AddFiles);
    add(StringId::MenuSetSilence, MergeCommand::InsertSilence);
    menu->addSeparator();
    add(StringId::MenuRemoveMergeFiles, MergeCommand::Remove);
    add(StringId::MenuClearList, MergeCommand::Clear);
    menu->addSeparator();
    add(StringId::MenuMoveUp, MergeCommand::MoveUp);
    add(StringId::MenuMoveDown, MergeCommand::MoveDown);
    add(StringId::MenuMoveTop, MergeCommand::MoveTop);
    add(StringId::MenuMoveBottom, MergeCommand::MoveBottom);
    menu->addSeparator();
    add(StringId::MenuPlay, MergeCommand::Play);
    menu->addSeparator();
    QAction* settings = add(StringId::MenuOtherSettings, MergeCommand::OtherSettings);
    settings->setEnabled(static_cast<bool>(otherSettings_));
    return menu;
}

void MergePageWindow::RunMenuCommand(MergeCommand command)
{
    if (command == MergeCommand::OtherSettings) {
        if (otherSettings_)
            otherSettings_();
        return;
    }
    Run(command);
}

// Files dropped anywhere on the page join the list as they do on the list.
void MergePageWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!page_.IsBusy() && !MergeListView::LocalFiles(event->mimeData()).empty())
        event->acceptProposedAction();
}

void MergePageWindow::dropEvent(QDropEvent* event)
{
    const std::vector<std::string> paths = MergeListView::LocalFiles(event->mimeData());
    if (paths.empty())
        return;
    event->acceptProposedAction();
    page_.DropFiles(paths);
}

// Added files are selected in the list, and the keys go on there.
void MergePageWindow::AddingFiles(bool adding)
{
    if (adding) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    QApplication::restoreOverrideCursor();
    ui_->listView->setFocus();
}

bool MergePageWindow::ShowInsertSilence(InsertSilence& model)
{
    InsertSilenceDialog dialog(model, settings_, user_, this);
    return dialog.exec() == QDialog::Accepted;
}

ValidateChoice MergePageWindow::AskMismatch(MergeValidate& model)
{
    MergeValidateDialog dialog(model, settings_, this);
    dialog.exec();
    return dialog.Choice();
}

bool MergePageWindow::ShowMergeComplete(MergeComplete& model)
{
    MergeCompleteDialog dialog(model, this);
    return dialog.exec() == QDialog::Accepted;
}

void MergePageWindow::ShowConverterDownload()
{
    DownloadConverterDialog::Show(this);
}

} // namespace keldro
