// stream_split_bench PLAYBACK_LIBRARY FILE...: the split page loading each
// file and cutting it into 20 equal parts, without and with a playback stream
// of the source (whose file positions then place the cuts), against `cp FILE`
// in the same run; medians of five runs, outputs removed between runs.
#include "base/settings.h"
#include "base/user_interaction.h"
#include "bench_timing.h"
#include "common/playback_service.h"
#include "common/setting_keys.h"
#include "splitter/bulk_split.h"
#include "splitter/split_page.h"
#include "splitter/split_page_view.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using namespace keldro;

namespace {

class NoWindow final : public SplitPageView
{
public:
    bool EditTags(TrackTagEditor&) override { return false; }
    bool AskEqualParts(SpecialTimeAdd&) override { return false; }
    bool AskOverlaps(TrackAddOverlap&) override { return false; }
    bool AskTrackLength(TrackUpdate&) override { return false; }
    bool ShowSplitComplete(SplitComplete&) override { return false; }
};

struct Timing
{
    double load = 0;
    double split = 0;
};

Timing LoadAndSplit(const PlaybackService* playback, const std::string& file,
                    const std::string& out)
{
    SilentInteraction ui(MessageAnswer::Ok);
    MemorySettings settings;
    settings.SetSettingInt(setting::kSplitterOutputFolderConfirmation, 0);
    settings.SetSettingInt(setting::kSplitterShowSuccess, 0);
    NoWindow view;
    SplitPage page(ui, settings, view, playback);
    page.SetDestination(out);
    Timing timing;
    timing.load = bench::MedianSeconds(1, [&] { page.LoadSource(file); });
    SplitIntoEqualParts(page.List(), 20, 0, page.Total());
    timing.split = bench::MedianSeconds(1, [&] { page.RunSplit(); });
    return timing;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: stream_split_bench PLAYBACK_LIBRARY FILE...\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string library{std::istreambuf_iterator<char>(in), {}};
    PlaybackService playback;
    if (!playback.LoadPlaybackLibrary(library, DefaultTempFolder())) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    std::printf("%-34s %10s %10s %10s %7s\n", "", "load", "split", "cp", "ratio");
    for (int i = 2; i < argc; ++i) {
        const std::string file = argv[i];
        const std::string out = fs::path(file).parent_path().string() + "/stream-split-out";
        for (const PlaybackService* with : {static_cast<PlaybackService*>(nullptr), &playback}) {
            bench::PlainRead(file);
            std::vector<double> loads, splits, copies;
            for (int run = 0; run < 5; ++run) {
                fs::create_directories(out);
                copies.push_back(bench::MedianSeconds(
                    1, [&] { bench::Shell("cp '" + file + "' '" + out + "/copy.mp3'"); }));
                fs::remove(out + "/copy.mp3");
                const Timing timing = LoadAndSplit(with, file, out);
                loads.push_back(timing.load);
                splits.push_back(timing.split);
                fs::remove_all(out);
            }
            const double copy = bench::Median(copies);
            const double split = bench::Median(splits);
            const std::string label =
                fs::path(file).filename().string() + (with ? ", stream" : ", no stream");
            std::printf("%-34s %10s %10s %10s %7.2f\n", label.c_str(),
                        bench::Human(bench::Median(loads)).c_str(), bench::Human(split).c_str(),
                        bench::Human(copy).c_str(), split / copy);
        }
    }
    return 0;
}
