#include "split_report.h"

#include "display_text.h"
#include "engine/segment_writer.h"
#include "splitter/split_page.h"
#include "string_table.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

namespace keldro::cli {

void CliSplitView::StatusChanged(std::string_view status)
{
    aborted_ = status == LoadString(StringId::StatusAborted);
}

void CliSplitView::ProgressChanged(int position, int maximum)
{
    if (maximum > 0)
        ui_.SetProgress(position * 100 / maximum);
}

void CliSplitView::RunningChanged(bool running)
{
    if (running) {
        ui_.SetProgressLabel("keldro-cli split");
        ui_.BeginProgress();
    } else {
        ui_.SetProgress(100);
        ui_.EndProgress();
    }
}

void CliSplitView::RowWritten(int row, const std::string& path, const SegmentResult& result)
{
    results_[row] = {path, result};
}

SplitReport::SplitReport(const SplitPage& page, bool countGenerated)
    : source(page.SourcePath()), mode(page.FrameAccurate() ? "frame" : "fast")
{
    const SplitList& list = page.List();
    int counter = 0;
    for (int i = 0; i < list.RowCount(); ++i) {
        Row row;
        row.number = i + 1;
        row.checked = list.Row(i).checked;
        row.file = (std::filesystem::path(page.Destination()) /
                    (page.BuildOutputName(i, counter) + ".mp3"))
                       .string();
        std::tie(row.start, row.end) = list.TrackRange(i, true);
        if (row.checked || !countGenerated)
            ++counter;
        rows.push_back(std::move(row));
    }
}

std::string SplitReport::CueSheetPath(const SplitPage& page) const
{
    return (std::filesystem::path(page.SourceFolder()) /
            (std::filesystem::path(page.SourceFileName()).stem().string() + ".cue"))
        .string();
}

void SplitReport::Collect(SplitPage& page, const CliSplitView& view)
{
    // Offsets of rows not written come from the table, as a run's would.
    bool tableAsked = false;
    for (Row& row : rows) {
        const auto written = view.Results().find(row.number - 1);
        if (written != view.Results().end() && written->second.result.ok) {
            const SegmentResult& result = written->second.result;
            row.file = written->second.path;
            row.startOffset = result.startOffset;
            row.endOffset = result.endOffset;
            row.bytes = result.bytesWritten;
            row.carriedFrames = result.carriedFrames;
            row.written = true;
            continue;
        }
        if (!tableAsked)
            page.LoadDeferredFrameTable();
        tableAsked = true;
        const SegmentPlan plan =
            PlanSegmentByTime(page.Info(), row.start, row.end, 0, !page.FrameAccurate());
        row.startOffset = plan.startOffset;
        row.endOffset = plan.endOffset;
    }
}

void SplitReport::Print(std::ostream& out, bool json, bool dryRun) const
{
    if (!json) {
        for (const Row& row : rows) {
            out << row.number << '\t' << FormatTime(row.start, TimeStyle::Display) << '\t'
                << FormatTime(row.end, TimeStyle::Display) << '\t'
                << (row.written || (dryRun && row.checked)
                        ? ""
                        : (row.checked ? "(not written) " : "(not generated) "))
                << ToDisplayText(row.file) << '\n';
        }
        return;
    }
    using json_t = nlohmann::ordered_json;
    json_t tracks = json_t::array();
    for (const Row& row : rows) {
        json_t track;
        track["row"] = row.number;
        PutPath(track, "file", row.file);
        track["start_ms"] = row.start;
        track["end_ms"] = row.end;
        track["start_offset"] = row.startOffset;
        track["end_offset"] = row.endOffset;
        track["bytes"] = row.bytes;
        track["carried_frames"] = row.carriedFrames;
        track["written"] = row.written;
        tracks.push_back(track);
    }
    json_t report;
    PutPath(report, "source", source);
    report["mode"] = mode;
    report["tracks"] = tracks;
    out << report.dump(2) << '\n';
}

} // namespace keldro::cli
