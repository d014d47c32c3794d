// split_bench KELDRO_CLI FILE...: `keldro-cli split --parts 20` of each file in
// auto and fast mode against `cp FILE` in the same run, five runs each with
// the outputs removed between them: medians, and the ratio's median and range
// over the runs. Peak memory of the split, and `ffmpeg -c copy -f segment`
// into the same 20 pieces when ffmpeg is installed.
#include "bench_timing.h"
#include "engine/mp3_info.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Runs
{
    std::vector<double> mine;
    std::vector<double> copies;
};

// Five rounds of `cp` and of work, each starting from an empty folder.
Runs TimeAgainstCopy(const std::string& file, const std::string& out,
                     const std::function<void()>& work)
{
    Runs runs;
    for (int run = 0; run < 5; ++run) {
        fs::remove_all(out);
        fs::create_directories(out);
        runs.copies.push_back(bench::MedianSeconds(
            1, [&] { bench::Shell("cp '" + file + "' '" + out + "/copy.mp3'"); }));
        fs::remove(out + "/copy.mp3");
        runs.mine.push_back(bench::MedianSeconds(1, work));
    }
    fs::remove_all(out);
    return runs;
}

void PrintRow(const std::string& label, const Runs& runs)
{
    std::printf("%-44s %10s %10s %18s\n", label.c_str(),
                bench::Human(bench::Median(runs.mine)).c_str(),
                bench::Human(bench::Median(runs.copies)).c_str(),
                bench::RatioRange(runs.mine, runs.copies).c_str());
}

void BenchFfmpeg(const std::string& file, const std::string& out)
{
    keldro::CMP3Info info;
    if (!info.Analyse(file))
        return;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", info.DurationMs() / 20000.0);
    const std::string command = "ffmpeg -v error -i '" + file +
                                "' -c copy -f segment -segment_time " + seconds + " '" + out +
                                "/part%03d.mp3'";
    PrintRow(fs::path(file).filename().string() + ", ffmpeg -c copy -f segment",
             TimeAgainstCopy(file, out, [&] { bench::Shell(command); }));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: split_bench KELDRO_CLI FILE...\n");
        return 2;
    }
    const std::string cli = argv[1];
    std::printf("%-44s %10s %10s %18s\n", "", "time", "cp", "ratio (range)");
    for (int i = 2; i < argc; ++i) {
        const std::string file = argv[i];
        const std::string out = fs::path(file).parent_path().string() + "/split-out";
        bench::PlainRead(file);
        for (const char* mode : {"auto", "fast"}) {
            const std::string split = cli + " split --mode " + mode + " --parts 20 --out '" + out +
                                      "' '" + file + "' >/dev/null";
            PrintRow(fs::path(file).filename().string() + ", keldro-cli --mode " + mode,
                     TimeAgainstCopy(file, out, [&] { bench::Shell(split); }));
            fs::create_directories(out);
            std::printf("%-44s %7ld MB peak RSS\n", "", bench::PeakMegabytes(split));
            fs::remove_all(out);
        }
        if (bench::Installed("ffmpeg"))
            BenchFfmpeg(file, out);
    }
    return 0;
}
