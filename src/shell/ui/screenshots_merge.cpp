// The merge page's pictures for `make screenshots`: the page with a few files,
// the list sorted by another column, and the page's dialogs.
#include "joiner/merge_check.h"
#include "joiner/merge_page_view.h"
#include "joiner/silence.h"
#include "joiner/ui/download_converter_dialog.h"
#include "joiner/ui/insert_silence_dialog.h"
#include "joiner/ui/merge_complete_dialog.h"
#include "joiner/ui/merge_page_window.h"
#include "joiner/ui/merge_validate_dialog.h"
#include "shell/ui/main_window.h"
#include "shell/ui/screenshots.h"
#include "string_table.h"

namespace keldro {

void FillMergePage(MergePageWindow& window, const std::vector<std::string>& files)
{
    MergePage& page = window.Page();
    page.DropFiles(files);
    if (page.List().RowCount() < 2)
        return;
    page.List().MutableRow(1).Text(MergeColumn::Silence) = "2";
    page.SetTags(
        {.title = "有声书 (合集)", .artist = "Keldro", .album = "示例专辑", .year = "2026"});
    page.List().SetSelection({1}, 1);
    window.ListChanged();
    window.FieldsChanged();
}

void SaveMergeDialogs(MergePageWindow& merge, SettingsStore& settings, UserInteraction& ui,
                      const QString& folder)
{
    InsertSilence silence = InsertSilence::Prepare(settings, 2, false);
    SaveDialogScreenshot<InsertSilenceDialog>(folder, "insert-silence-dialog.png", silence,
                                              settings, ui, &merge);
    MergeValidate validate;
    validate.text = LoadString(StringId::MergeMismatch);
    validate.convertNow = [] {};
    SaveDialogScreenshot<MergeValidateDialog>(folder, "merge-validate-dialog.png", validate,
                                              settings, &merge);
    SaveDialogScreenshot<DownloadConverterDialog>(folder, "download-converter-dialog.png", &merge);
    MergeComplete complete;
    complete.Open(settings);
    complete.message = FormatString(StringId::MergeDone, "/home/user/音乐/有声书 (合集).mp3");
    SaveDialogScreenshot<MergeCompleteDialog>(folder, "merge-complete-dialog.png", complete,
                                              &merge);
}

// The list sorted by duration, longest first: the header's arrow on that column.
void SaveSortedMergePage(MainWindow& window, MergePageWindow& merge, const QString& folder)
{
    window.ShowPage(PageIndex::Merge);
    merge.Page().ClickHeader(static_cast<int>(MergeColumn::Duration));
    merge.Page().ClickHeader(static_cast<int>(MergeColumn::Duration));
    SaveScreenshot(window, folder, "merge-page-sorted.png");
}

} // namespace keldro
