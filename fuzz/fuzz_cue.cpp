// The CUE reader over arbitrary bytes: no crash, records within their limits,
// and what was read writes back into a sheet that reads the same.
#include "base/user_interaction.h"
#include "timecue/cue_sheet.h"
#include "timecue/time_format.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::vector<keldro::CueTrackRecord> Tracks(const keldro::CProcessCUEFile& cue)
{
    std::vector<keldro::CueTrackRecord> tracks(static_cast<std::size_t>(cue.GetTrackCount()));
    for (int i = 0; i < cue.GetTrackCount(); ++i)
        Check(cue.GetTrack(i, tracks[static_cast<std::size_t>(i)]));
    return tracks;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace keldro;
    SilentInteraction ui;
    CProcessCUEFile cue;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!cue.ReadBytes(bytes, "/music/fuzz.cue", ui)) {
        Check(cue.GetTrackCount() == 0);
        return 0;
    }
    const std::vector<CueTrackRecord> tracks = Tracks(cue);
    Check(!tracks.empty());
    for (const CueTrackRecord& track : tracks) {
        Check(track.title.size() <= kCueTextLimit && track.performer.size() <= kCueTextLimit);
        const TimeMs first = ParseTime(track.firstIndex, TimeStyle::Display);
        Check(FormatTime(first, TimeStyle::Display) == track.firstIndex);
    }
    const std::string sheet =
        FormatCueSheet(cue.GetAudioPath(), cue.GetSheetPerformer(), cue.GetSheetTitle(), tracks);
    CProcessCUEFile again;
    Check(again.ReadBytes(sheet, "/music/again.cue", ui));
    Check(again.GetSheetTitle() == cue.GetSheetTitle());
    Check(again.GetSheetPerformer() == cue.GetSheetPerformer());
    const std::vector<CueTrackRecord> reread = Tracks(again);
    Check(reread.size() == tracks.size());
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        Check(reread[i].title == tracks[i].title && reread[i].performer == tracks[i].performer);
        Check(reread[i].firstIndex == tracks[i].firstIndex);
    }
    return 0;
}
