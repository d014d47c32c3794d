// What keldro-cli split tells about a run: the window's side of the split page
// for the command line, and the report of every row.
#pragma once

#include "cli_interaction.h"
#include "splitter/split_page_view.h"
#include "timecue/time_format.h"

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace keldro {
class SplitPage;
}

namespace keldro::cli {

// Dialogs are never opened from the command line; the run's progress goes to a
// bar on stderr, and every row written is remembered.
class CliSplitView final : public SplitPageView
{
public:
    explicit CliSplitView(CliInteraction& ui) : ui_(ui) {}

    bool EditTags(TrackTagEditor&) override { return false; }
    bool AskEqualParts(SpecialTimeAdd&) override { return false; }
    bool AskOverlaps(TrackAddOverlap&) override { return false; }
    bool AskTrackLength(TrackUpdate&) override { return false; }
    bool ShowSplitComplete(SplitComplete&) override { return false; }

    void StatusChanged(std::string_view status) override;
    void ProgressChanged(int position, int maximum) override;
    void RunningChanged(bool running) override;
    void RowWritten(int row, const std::string& path, const SegmentResult& result) override;

    bool Aborted() const { return aborted_; }
    struct Written
    {
        std::string path;
        SegmentResult result;
    };
    const std::map<int, Written>& Results() const { return results_; }

private:
    CliInteraction& ui_;
    bool aborted_ = false;
    std::map<int, Written> results_;
};

struct SplitReport
{
    struct Row
    {
        int number = 0; // from 1
        std::string file;
        bool checked = false;
        TimeMs start = 0;
        TimeMs end = 0;
        std::uint32_t startOffset = 0;
        std::uint32_t endOffset = 0;
        int carriedFrames = 0; // frames in front of the cut, in a seamless split
        std::uint64_t bytes = 0;
        bool written = false;
        bool existedBefore = false; // its file was there before the run
    };

    // Names every row as the run will, counter rule included.
    SplitReport(const SplitPage& page, bool countGenerated);
    std::string CueSheetPath(const SplitPage& page) const;
    // Offsets and sizes: those written, or those a write would use.
    void Collect(SplitPage& page, const CliSplitView& view);
    void Print(std::ostream& out, bool json, bool dryRun) const;

    std::string source;
    std::string mode;
    std::vector<Row> rows;
};

} // namespace keldro::cli
