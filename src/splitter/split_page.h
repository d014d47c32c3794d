// CMP3SplitPage's logic: one source, its split list, and every command of
// the page. The window shows what this decides and asks the user through the
// interaction and view interfaces.
#pragma once

#include "base/run_outcome.h"
#include "engine/mp3_info.h"
#include "engine/segment_writer.h"
#include "playback/bass.h"
#include "splitter/cut_walk.h"
#include "splitter/position_controller.h"
#include "splitter/service_stream.h"
#include "splitter/split_commands.h"
#include "splitter/split_list.h"
#include "timecue/cue_sheet.h"

#include <memory>
#include <optional>
#include <string>

namespace keldro {

class PlaybackService;
class SettingsStore;
class SplitPageView;
class UserInteraction;

// The values of the "Split Mode" setting.
enum class SplitMode
{
    Auto = 0,
    Fast = 1,
    Frame = 2
};

class SplitPage
{
public:
    // With a loaded playback library the page opens the sound output and a
    // stream of each source; without one it works from the analysis alone.
    // The clock paces the blocking two-second plays (none: it really sleeps).
    SplitPage(UserInteraction& ui, SettingsStore& settings, SplitPageView& view,
              const PlaybackService* playback = nullptr, WaitClock* clock = nullptr);
    ~SplitPage();
    SplitPage(const SplitPage&) = delete;
    SplitPage& operator=(const SplitPage&) = delete;

    // Fields of the page that the user edits: the naming rule of the outputs
    // and the destination folder.
    const std::string& NamingRule() const { return namingRule_; }
    void SetNamingRule(std::string rule) { namingRule_ = std::move(rule); }
    const std::string& Destination() const { return destination_; }
    void SetDestination(std::string folder) { destination_ = std::move(folder); }

    SplitList& List() { return list_; }
    const SplitList& List() const { return list_; }
    const CMP3Info& Info() const { return info_; }
    const CProcessCUEFile& Cue() const { return cue_; }
    bool IsLoaded() const { return loaded_; }
    bool IsRunning() const { return running_; }
    // A frame table being built: its pass lets events through, and the page
    // calls into the playback library again once it ends.
    bool IsLoadingFrames() const { return loadingFrames_; }
    const std::string& SourceFolder() const { return folder_; }
    const std::string& SourceFileName() const { return fileName_; }
    std::string SourcePath() const;
    const std::string& InfoText() const { return infoText_; }
    TimeMs Total() const { return list_.Source().total; }

    // The source's playback stream (0: none), its decoded length in bytes and
    // its sample rate; without a stream, the analysis' figures.
    bool AudioAvailable() const { return audioDevice_; }
    HSTREAM Stream() const { return stream_; }
    std::uint64_t DecodedLength() const { return decodedLength_; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    // The position, its sliders, playback and preview of the source. The page
    // keeps its context up to date; the step and page sizes are read from the
    // settings when the page is built.
    PositionController& Position() { return position_; }
    const PositionController& Position() const { return position_; }

    // Source loading and split modes.
    SplitMode Mode() const { return mode_; }
    static std::string ModeCaption(SplitMode mode);
    // Frame-accurate handling: frame mode, or auto mode with a VBR header.
    bool FrameAccurate() const { return FrameAccurateFor(mode_); }
    // While a split runs, loading, unloading and every command that changes the
    // list or its tags are refused: the run reads the list to its end.
    void ChooseSource();
    bool LoadSource(const std::string& path);
    void UnloadSource();
    void UnloadCommand();
    void SwitchSplitMode(SplitMode mode);
    // Without a playback stream, frame handling may leave the frame table
    // unloaded when a source loads: a run then finds all its cuts in one walk
    // over the file, writing the same pieces the table would.
    void SetDeferFrameTable(bool defer) { deferFrameTable_ = defer; }
    // Loads the table a deferred load left out, for offsets asked outside a
    // run; false when it could not be loaded.
    bool LoadDeferredFrameTable();

    // List commands.
    void RemoveSelectedTrack();
    void ClearList();
    void EditTrackTags();
    bool SaveListAsCue();
    // Refuses the sheet the source was loaded from, which is never written.
    bool WriteListAsCue(const std::string& path);
    // Whether path names the CUE sheet the loaded source came from (the same
    // file, or the same path).
    bool IsLoadedSheet(const std::string& path) const;
    void EqualPartsCommand();
    void OverlapsCommand();
    void SetStartCommand(TimeMs time);
    void SetEndCommand(TimeMs time);
    void EditTrackLength();
    // The time field's Add: refused without a source or during a run.
    bool AddCutPointCommand(TimeMs time);
    // The check boxes of a row and of the list's header; refused during a run,
    // which reads them row by row.
    bool SetRowChecked(int row, bool checked);
    bool ToggleHeaderCheck();
    // The row the list shows selected; its raw range becomes the selected range
    // that the position slider highlights (the effective one while a preview
    // of it plays).
    void SelectTrack(int row);
    std::pair<TimeMs, TimeMs> SelectedRange() const { return position_.SelectedRange(); }
    // The destination folder button: on OK the folder is kept and stored.
    bool ChooseDestination();
    SplitPageState State() const;
    bool IsEnabled(SplitCommand command) const;

    // "曲目号码 01/03: start - end (overlaps，大约 size)" of a row.
    std::string TrackLabel(int row) const;

    // The split run.
    void RunSplit();
    void RequestStop(bool askFirst);
    RunOutcome LastRunOutcome() const { return lastRun_; }
    std::string BuildOutputName(int row, int counter) const;

private:
    bool FrameAccurateFor(SplitMode mode) const;
    void OpenSourceStream();
    void CreateStream(DWORD flags);
    void FreeStream();
    void TakeSourceFigures();
    // Tells the position controls what the source, the list and the selection
    // are now; a new selected row or a new range of it counts as a selection
    // change.
    void RefreshPosition();
    void NotifyListChanged();
    double StreamBitrate() const;
    std::uint32_t FilePositionAt(TimeMs time);
    bool ProbeStreamOffsets();
    std::optional<std::uint32_t> StreamFileOffset(TimeMs time);
    void SeedList();
    void ReloadNamingRule();
    bool HasSelection();
    void ReselectAfterBulkChange(int previous);
    struct RunState;
    bool CheckBeforeRun(std::string& folder);
    SegmentOptions RowOptions(int row, const RunState& run) const;
    std::string RowFailureMessage(const std::string& path, const SegmentResult& result) const;
    bool WriteRow(int row, std::string path, RunState& run);
    // streamOffsets: the probe found the stream's file positions usable.
    SegmentResult WriteRange(const std::string& path, TimeMs start, TimeMs end, bool fast,
                             bool streamOffsets, const SegmentOptions& options);
    // Each cut time's offset (and frames before it, when counted) as the
    // table would map it, for a run of frame handling whose table was deferred.
    struct WalkedCut
    {
        std::uint32_t offset = 0;
        std::optional<std::uint32_t> frames;
    };
    void LocateCutsInOneWalk();
    std::optional<WalkedCut> WalkedCutAt(TimeMs time);
    bool StopRequested();
    void CompleteRun(const std::string& folder);

    UserInteraction& user_;
    SettingsStore& settings_;
    SplitPageView& view_;
    SplitList list_;
    CMP3Info info_;
    CProcessCUEFile cue_;
    const PlaybackService* playback_;
    bool audioDevice_ = false;
    HSTREAM stream_ = 0;
    std::uint64_t decodedLength_ = 0;
    std::uint32_t sampleRate_ = 0;
    SleepingWaitClock sleepingClock_;
    ServicePlaybackStream playbackStream_;
    PositionController position_;
    int shownRow_ = -1;
    std::pair<TimeMs, TimeMs> shownRange_;
    bool loaded_ = false;
    bool running_ = false;
    bool loadingFrames_ = false;
    bool deferFrameTable_ = false;
    std::unique_ptr<CutWalk> cutWalk_;
    RunOutcome lastRun_ = RunOutcome::NotRun;
    bool stopRequested_ = false;
    bool stopAskFirst_ = false;
    SplitMode mode_ = SplitMode::Auto;
    std::string namingRule_;
    std::string destination_;
    std::string folder_;
    std::string fileName_;
    std::string infoText_;
};

} // namespace keldro
