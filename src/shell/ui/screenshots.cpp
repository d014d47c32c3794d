#include "shell/ui/screenshots.h"

#include "common/ui/loading_frames_dialog.h"
#include "common/ui/progress_dialog.h"
#include "shell/ui/main_window.h"
#include "shell/ui/splitter_settings_dialog.h"
#include "splitter/boundary_edit.h"
#include "splitter/bulk_split.h"
#include "splitter/split_complete.h"
#include "splitter/step_sizes.h"
#include "splitter/track_tag_editor.h"
#include "splitter/ui/equal_parts_dialog.h"
#include "splitter/ui/overlaps_dialog.h"
#include "splitter/ui/split_complete_dialog.h"
#include "splitter/ui/split_page_window.h"
#include "splitter/ui/step_sizes_dialog.h"
#include "splitter/ui/track_length_dialog.h"
#include "splitter/ui/track_tag_editor_dialog.h"
#include "string_table.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

namespace keldro {

void SaveScreenshot(QWidget& widget, const QString& folder, const char* name)
{
    QCoreApplication::processEvents();
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    if (!widget.grab().save(path))
        qWarning("cannot save %s", qUtf8Printable(path));
}

namespace {

// A source with four rows, some of them named, the second selected.
void FillSplitPage(SplitPageWindow& window, const std::string& source)
{
    SplitPage& page = window.Page();
    if (!page.LoadSource(source))
        return;
    const TimeMs total = page.Total();
    for (TimeMs at : {total / 4, total / 2, total * 3 / 4})
        page.AddCutPointCommand(at);
    const char* titles[] = {"序曲", "第一乐章", "第二乐章", "终曲"};
    for (int row = 0; row < page.List().RowCount() && row < 4; ++row)
        page.List().MutableRow(row).title = titles[row];
    page.List().MutableRow(2).forwardOverlap = 1'500;
    page.SelectTrack(1);
    // Paused in the middle of the second track, the track slider a third in.
    PositionController& position = page.Position();
    const auto [start, end] = page.List().TrackRange(1, false);
    position.TimeTyped(start + (end - start) / 2);
    position.TogglePlay();
    position.TogglePause();
    position.TrackSliderMoved(kSliderMaximum / 3);
    window.ListChanged();
}

void SaveSplitDialogs(SplitPageWindow& split, SettingsStore& settings, UserInteraction& ui,
                      const QString& folder)
{
    SplitPage& page = split.Page();
    TrackTagEditor editor(settings);
    const SplitTrack& row = page.List().Row(1);
    editor.lineText = FormatString(StringId::TagEditorLine, 2, "0:30.000", "1:00.000");
    editor.values = {row.title, row.year, row.album, row.artist, row.comment, row.track};
    editor.genreName = "Classical";
    editor.Open();
    SaveDialogScreenshot<TrackTagEditorDialog>(folder, "tag-editor-dialog.png", editor, ui, &split);
    SpecialTimeAdd equal = SpecialTimeAdd::Prepare(page.List(), settings);
    SaveDialogScreenshot<EqualPartsDialog>(folder, "equal-parts-dialog.png", equal, settings, ui,
                                           &split);
    TrackAddOverlap overlaps = TrackAddOverlap::Prepare(page.List(), settings);
    SaveDialogScreenshot<OverlapsDialog>(folder, "overlaps-dialog.png", overlaps, settings, &split);
    TrackUpdate length;
    length.caption = FormatString(StringId::TrackUpdateCaption, 2, page.List().RowCount());
    const auto [start, end] = page.List().TrackRange(1, true);
    length.Open(page.Total(), start, end);
    SaveDialogScreenshot<TrackLengthDialog>(folder, "track-length-dialog.png", length, &split);
    SplitComplete complete;
    complete.Open(settings);
    complete.exportCue = true;
    complete.message = FormatString(StringId::SplitDone, "/home/user/音乐/分割");
    complete.cuePath = "/home/user/音乐/专辑.cue";
    SaveDialogScreenshot<SplitCompleteDialog>(folder, "split-complete-dialog.png", complete,
                                              &split);
    SaveDialogScreenshot<LoadingFramesDialog>(folder, "loading-frames-dialog.png", &split);
    StepSizes sizes = StepSizes::Open(settings);
    SaveDialogScreenshot<StepSizesDialog>(folder, "step-sizes-dialog.png", sizes, &split);
    ProgressDialog progress(&split);
    progress.SetValue(40);
    progress.show();
    SaveScreenshot(progress, folder, "progress-dialog.png");
    progress.close();
}

} // namespace

void TakeScreenshots(const ScreenshotScene& scene, const QString& folder)
{
    QDir().mkpath(folder);
    const std::string source = qEnvironmentVariable("KELDRO_SCREENSHOT_SOURCE").toStdString();
    if (!source.empty())
        FillSplitPage(scene.split, source);
    std::vector<std::string> merged;
    for (const QString& file : qEnvironmentVariable("KELDRO_SCREENSHOT_MERGE")
                                   .split(QLatin1Char(':'), Qt::SkipEmptyParts))
        merged.push_back(file.toStdString());
    FillMergePage(scene.merge, merged);
    // Once the window is on the screen and painted.
    QTimer::singleShot(500, &scene.window, [scene, folder] {
        MainWindow& window = scene.window;
        const char* names[] = {"split-page.png", "merge-page.png", "settings-page.png"};
        for (const PageIndex page : kPageIndices) {
            window.ShowPage(page);
            SaveScreenshot(window, folder, names[static_cast<std::size_t>(page)]);
        }
        const QSize size = window.size();
        window.ShowPage(PageIndex::Split);
        window.resize(size * 5 / 4);
        SaveScreenshot(window, folder, "split-page-large.png");
        window.resize(size);
        SaveDialogScreenshot<SplitterSettingsDialog>(folder, "settings-dialog.png", scene.settings,
                                                     scene.ui, &window);
        if (scene.split.Page().IsLoaded())
            SaveSplitDialogs(scene.split, scene.settings, scene.ui, folder);
        SaveMergeDialogs(scene.merge, scene.settings, scene.ui, folder);
        SaveSortedMergePage(window, scene.merge, folder);
        window.close();
    });
}

} // namespace keldro
