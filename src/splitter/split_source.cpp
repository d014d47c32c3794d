// Loading and unloading the split page's source, and the split modes.
#include "base/user_interaction.h"
#include "common/playback_service.h"
#include "common/setting_keys.h"
#include "common/show_once.h"
#include "engine/stream_info_text.h"
#include "splitter/bulk_split.h"
#include "splitter/split_page.h"
#include "splitter/split_page_view.h"
#include "string_table.h"

#include <filesystem>

namespace keldro {
namespace {

std::string FolderOf(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

// The folder the next source dialog starts in: absolute, since a relative one
// (a file named on the command line) would mean nothing to it.
std::string AbsoluteFolderOf(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? FolderOf(path) : absolute.lexically_normal().parent_path().string();
}

} // namespace

std::string SplitPage::ModeCaption(SplitMode mode)
{
    const StringId id = mode == SplitMode::Fast    ? StringId::ModeFast
                        : mode == SplitMode::Frame ? StringId::ModeFrame
                                                   : StringId::ModeAuto;
    return std::string(LoadString(id));
}

bool SplitPage::FrameAccurateFor(SplitMode mode) const
{
    return mode == SplitMode::Frame || (mode == SplitMode::Auto && info_.HasVbrHeader());
}

void SplitPage::ChooseSource()
{
    if (running_)
        return;
    settings_.SetSettingText(setting::kNamingRuleOfSplitter, namingRule_);
    FileDialogRequest request;
    request.title = LoadString(StringId::ChooseSourceTitle);
    request.filter = LoadString(StringId::SourceFileFilter);
    request.defaultExtension = "mp3";
    request.folder = settings_.GetSettingInt(setting::kSplitSourceFolderMode, 1) == 1
                         ? settings_.GetSettingText(setting::kSplitSourceLastFolder, "")
                         : settings_.GetSettingText(setting::kSplittingSourceFolder, "");
    if (const std::optional<std::string> path = user_.ChooseOpenFile(request))
        LoadSource(*path);
}

bool SplitPage::LoadSource(const std::string& path)
{
    // A run reads the source and its list to the end: files dropped meanwhile are ignored.
    if (running_)
        return false;
    settings_.SetSettingText(setting::kSplitSourceLastFolder, AbsoluteFolderOf(path));
    // Read aside: a sheet that fails leaves the loaded source and its sheet as they were.
    CProcessCUEFile sheet;
    if (!sheet.Read(path, user_))
        return false;
    UnloadSource();
    for (;;) {
        const std::string audio = sheet.GetAudioPath();
        if (info_.Analyse(audio) && info_.HasStream()) {
            folder_ = FolderOf(audio);
            fileName_ = std::filesystem::path(audio).filename().string();
            cue_ = std::move(sheet);
            OpenSourceStream();
            return true;
        }
        if (!sheet.IsCueSheet()) {
            user_.ShowMessage(LoadFailureMessage(info_, audio), MessageIcon::Error,
                              MessageButtons::Ok);
            return false;
        }
        ShowOnceMessage question;
        question.text = FormatString(StringId::CueAudioMissing, audio.c_str());
        question.showDontShowBox = false;
        if (ShowMessageOnce(user_, settings_, question, "").outcome != ShowOnceOutcome::Ok)
            return false;
        FileDialogRequest request;
        request.title = LoadString(StringId::ChooseSourceTitle);
        request.filter = LoadString(StringId::AudioFileFilter);
        request.folder = FolderOf(audio);
        const std::optional<std::string> other = user_.ChooseOpenFile(request);
        if (!other)
            return false;
        sheet.SetAudioPath(*other);
    }
}

void SplitPage::OpenSourceStream()
{
    // A new stream starts at 0 with nothing playing; the old one stops first.
    position_.Reset();
    FreeStream();
    const DWORD decodeOnly = audioDevice_ ? 0 : BASS_STREAM_DECODE;
    // Only a source without a stream may defer its table: a stream's offsets
    // and the position slider need it at once.
    const bool streamed = playback_ && playback_->IsAudioAvailable();
    if (FrameAccurate() && deferFrameTable_ && !streamed) {
        CreateStream(BASS_STREAM_PRESCAN | decodeOnly);
    } else if (FrameAccurate()) {
        loadingFrames_ = true;
        user_.ShowFrameLoadingHint(true);
        CreateStream(BASS_STREAM_PRESCAN | decodeOnly);
        info_.LoadFrameTable(user_); // a cancelled load leaves the source in fast behaviour
        user_.ShowFrameLoadingHint(false);
        loadingFrames_ = false;
    } else {
        CreateStream(decodeOnly);
    }
    TakeSourceFigures();
    SplitSourceInfo& source = list_.Source();
    source.titleField = info_.Tag().title;
    source.artistField = info_.Tag().artist;
    source.tag = info_.Tag();
    const double bitrate =
        stream_ != 0 && info_.HasVbrHeader() ? StreamBitrate() : DisplayBitrate(info_);
    infoText_ =
        StreamInfoText(info_, source.total, static_cast<std::int32_t>(sampleRate_), bitrate);
    SeedList();
    loaded_ = true;
    RefreshPosition();
    view_.SourceChanged();
    view_.ListChanged();
}

bool SplitPage::LoadDeferredFrameTable()
{
    if (!deferFrameTable_ || !loaded_ || !FrameAccurate() || stream_ != 0 ||
        info_.IsFrameTableLoaded())
        return info_.IsFrameTableLoaded();
    loadingFrames_ = true;
    user_.ShowFrameLoadingHint(true);
    const bool loaded = info_.LoadFrameTable(user_);
    user_.ShowFrameLoadingHint(false);
    loadingFrames_ = false;
    return loaded;
}

void SplitPage::SeedList()
{
    list_.ResetTrackList();
    if (!cue_.IsCueSheet()) {
        ApplyAutomaticSplit(list_, settings_);
        list_.Select(0);
        return;
    }
    for (int i = 0; i < cue_.GetTrackCount(); ++i) {
        CueTrackRecord record;
        cue_.GetTrack(i, record);
        const std::string title = record.title.empty() ? cue_.GetSheetTitle() : record.title;
        const std::string performer =
            record.performer.empty() ? cue_.GetSheetPerformer() : record.performer;
        const TimeMs last = ParseTime(record.lastIndex, TimeStyle::Display);
        if (last != 0) {
            list_.AddCutPoint(last, &title, &performer, true);
        } else {
            list_.SetCellText(0, SplitColumn::Title, title);
            list_.SetCellText(0, SplitColumn::Artist, performer);
        }
        const TimeMs first = ParseTime(record.firstIndex, TimeStyle::Display);
        if (record.firstIndex != record.lastIndex && first != 0) {
            const std::string empty;
            list_.AddCutPoint(first, &empty, &empty, true);
        }
    }
    list_.Select(0);
}

void SplitPage::UnloadSource()
{
    if (running_)
        return;
    position_.Reset();
    FreeStream();
    decodedLength_ = 0;
    sampleRate_ = 0;
    info_.Reset();
    cue_ = CProcessCUEFile{};
    list_.Clear();
    list_.Source() = SplitSourceInfo{};
    folder_.clear();
    fileName_.clear();
    infoText_.clear();
    ReloadNamingRule();
    loaded_ = false;
    RefreshPosition();
    view_.SourceChanged();
    view_.ListChanged();
}

void SplitPage::SwitchSplitMode(SplitMode mode)
{
    if (running_)
        return;
    const SplitMode old = mode_;
    mode_ = mode;
    settings_.SetSettingInt(setting::kSplitMode, static_cast<int>(mode));
    if (!loaded_ || FrameAccurateFor(old) == FrameAccurateFor(mode))
        return;
    if (list_.RowCount() > 1) {
        ShowOnceMessage notice;
        notice.caption = LoadString(StringId::SwitchModeCaption);
        notice.text = LoadString(StringId::SwitchModeText);
        if (ShowMessageOnce(user_, settings_, notice, setting::kSwitchModeDlg).outcome ==
            ShowOnceOutcome::Ok)
            SaveListAsCue();
    }
    OpenSourceStream();
}

} // namespace keldro
