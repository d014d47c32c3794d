// CMP3JoinerPage's logic: the list of files to join, its totals, the tag of the
// result, and the merge run. The window shows what this decides.
#pragma once

#include "base/run_outcome.h"
#include "joiner/merge_list.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace keldro {

class CMP3Info;
class ConverterHost;
class FileReader;
class FrameCounter;
enum class CopyOutcome;
struct MergedFile;
enum class MergeCommand;
struct MergePageState;
class MergePageView;
class PlaybackService;
class SettingsStore;
class UserInteraction;

// The ID3v1 tag of the result, as the page's fields hold it.
struct MergeTags
{
    // Every field has an initializer, so that {.title = ...} may leave others out.
    std::string title{}, artist{}, album{}, year{}, comment{};
    int track = 0;
    int genreSelection = 0; // 0: none; k: genre k - 1
};

class MergePage
{
public:
    // Without a playback service (or one whose library did not load) the
    // durations come from the analysis alone.
    MergePage(UserInteraction& ui, SettingsStore& settings, MergePageView& view,
              ConverterHost& converters, const PlaybackService* playback = nullptr);

    // The tag of the result, and the folder it goes to ("" for none). The
    // window sets what its fields hold: neither setter stores or notifies.
    const MergeTags& Tags() const { return tags_; }
    void SetTags(MergeTags tags) { tags_ = std::move(tags); }
    const std::string& Destination() const { return destination_; }
    void SetDestination(std::string folder) { destination_ = std::move(folder); }

    MergeList& List() { return list_; }
    const MergeList& List() const { return list_; }
    const MergeTotals& Totals() const { return totals_; }
    const std::string& DurationText() const { return durationText_; }
    const std::string& SizeText() const { return sizeText_; }
    bool IsBusy() const { return busy_; }
    // What the commands' enabling reads (joiner/merge_commands.h).
    MergePageState State() const;
    // A button's or key's command, when its button is enabled now: a run
    // leaves the rows and the tag alone. False when nothing ran.
    bool Execute(MergeCommand command);

    // Adding files.
    bool AddMergeEntry(int position, const std::string& path);
    void AfterMergeAdd(int position);
    void AddFilesCommand();
    void DropFiles(const std::vector<std::string>& paths);

    // The list's commands.
    void RemoveMergeSelection();
    void ClearMergeList(bool ask = true);
    void MoveUp();
    void MoveDown();
    void MoveTop();
    void MoveBottom();
    void MoveMergeSelection(int target);
    void ClickHeader(int column);
    void CopyTagsFromSelection();
    void PlaySelected();
    void ChooseDestination();
    void InsertSilenceCommand();

    // The merge.
    bool ValidateMergeInputs();
    void RunMerge();
    void RequestMergeStop(bool ask);
    RunOutcome LastRunOutcome() const { return lastRun_; }

private:
    bool HasSelection();
    void AddFiles(int position, const std::vector<std::string>& paths);
    struct Run;
    bool ChooseTarget(std::string& target);
    bool TargetIsASource(const std::string& target);
    bool MergeRow(int row, Run& run);
    CopyOutcome CopyRowAudio(const CMP3Info& info, FileReader& reader, const MergedFile& merged,
                             FrameCounter& counter, Run& run);
    static bool KeepHeaderFrame(const CMP3Info& info, FileReader& reader, Run& run);
    static std::uint32_t PaddingOf(const CMP3Info& info, FileReader& reader);
    bool ReportFailure(Run& run, const std::string& file, const std::string& reason);
    bool AfterChunk();
    bool Finish(Run& run);
    bool CommitOutput(Run& run);
    bool PlannedOutputFits();
    bool WritesTag() const;
    void CompleteMerge(const std::string& target);
    void ResetFields();

    UserInteraction& user_;
    SettingsStore& settings_;
    MergePageView& view_;
    ConverterHost& converters_;
    const PlaybackService* playback_;
    MergeTags tags_;
    std::string destination_;
    MergeList list_;
    MergeTotals totals_;
    std::string durationText_;
    std::string sizeText_;
    bool busy_ = false;
    RunOutcome lastRun_ = RunOutcome::NotRun;
    bool stopRequested_ = false;
    bool askBeforeStop_ = false;
};

} // namespace keldro
