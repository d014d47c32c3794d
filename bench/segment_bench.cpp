// segment_bench KELDRO_CLI FILE: the frame-table pass against `dd bs=1M` of
// the file, cutting the file into 20 segments against `cp FILE` (five runs
// each: medians, and the ratio's median and range), and the command line's
// peak memory, all measured in the same run.
#include "base/user_interaction.h"
#include "bench_timing.h"
#include "engine/segment_writer.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

void Cut(const keldro::CMP3Info& info, const std::string& folder, int parts)
{
    const keldro::TimeMs duration = info.DurationMs();
    for (int i = 0; i < parts; ++i) {
        const auto start = static_cast<keldro::TimeMs>(std::uint64_t{duration} * i / parts);
        const auto end = static_cast<keldro::TimeMs>(std::uint64_t{duration} * (i + 1) / parts);
        const std::string out = folder + "/part" + std::to_string(i) + ".mp3";
        if (!keldro::WriteSegmentByTime(info, out, start, end, 0, false, {}).ok)
            std::fprintf(stderr, "segment %d failed\n", i);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: segment_bench KELDRO_CLI FILE\n");
        return 2;
    }
    const std::string cli = argv[1];
    const std::string file = argv[2];
    const std::string folder = std::filesystem::path(file).parent_path().string() + "/segments";
    std::filesystem::create_directories(folder);
    keldro::CMP3Info info;
    keldro::SilentInteraction ui;
    bench::PlainRead(file); // a warm page cache for everyone

    std::vector<double> ddTimes;
    std::vector<double> tableTimes;
    for (int run = 0; run < 5; ++run) {
        ddTimes.push_back(bench::MedianSeconds(
            1, [&] { bench::Shell("dd if='" + file + "' of=/dev/null bs=1M status=none"); }));
        tableTimes.push_back(bench::MedianSeconds(1, [&] {
            info.Analyse(file);
            info.LoadFrameTable(ui);
        }));
    }
    // Only the writing is timed; removing the outputs between runs is not.
    std::vector<double> cpTimes;
    std::vector<double> cutTimes;
    for (int run = 0; run < 5; ++run) {
        cpTimes.push_back(bench::MedianSeconds(
            1, [&] { bench::Shell("cp '" + file + "' '" + folder + "/copy.mp3'"); }));
        std::filesystem::remove(folder + "/copy.mp3");
        cutTimes.push_back(bench::MedianSeconds(1, [&] { Cut(info, folder, 20); }));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    const long tableMb =
        bench::PeakMegabytes(cli + " offset --mode frame '" + file + "' 1000 60000 >/dev/null");
    std::filesystem::remove_all(folder);

    std::printf("file: %s, %.0f MB, %u frames\n", file.c_str(),
                static_cast<double>(std::filesystem::file_size(file)) / 1e6, info.GetTotalFrames());
    std::printf("%-34s %10s %10s %18s\n", "", "keldro", "baseline", "ratio (range)");
    std::printf("%-34s %10s %10s %18s  (baseline: dd bs=1M)\n", "frame-table pass",
                bench::Human(bench::Median(tableTimes)).c_str(),
                bench::Human(bench::Median(ddTimes)).c_str(),
                bench::RatioRange(tableTimes, ddTimes).c_str());
    std::printf("%-34s %10s %10s %18s  (baseline: cp FILE)\n", "cut into 20 segments (frame mode)",
                bench::Human(bench::Median(cutTimes)).c_str(),
                bench::Human(bench::Median(cpTimes)).c_str(),
                bench::RatioRange(cutTimes, cpTimes).c_str());
    std::printf("%-32s %9ld MB\n", "peak RSS, keldro-cli offset --mode frame", tableMb);
    rusage self{};
    ::getrusage(RUSAGE_SELF, &self);
    std::printf("%-32s %9ld MB\n", "peak RSS, this process after all cuts", self.ru_maxrss / 1024);
    return 0;
}
