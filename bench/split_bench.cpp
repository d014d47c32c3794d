// split_bench KELDRO_CLI FILE...: `keldro-cli split --parts 20` of each file in
// auto and fast mode, against `cp FILE` in the same run; medians of five runs,
// outputs removed between runs.
#include "bench_timing.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: split_bench KELDRO_CLI FILE...\n");
        return 2;
    }
    const std::string cli = argv[1];
    std::printf("%-40s %12s %12s %7s\n", "", "keldro-cli", "cp", "ratio");
    for (int i = 2; i < argc; ++i) {
        const std::string file = argv[i];
        const std::string out = fs::path(file).parent_path().string() + "/split-out";
        for (const char* mode : {"auto", "fast"}) {
            fs::create_directories(out);
            bench::PlainRead(file);
            std::vector<double> splits;
            std::vector<double> copies;
            for (int run = 0; run < 5; ++run) {
                copies.push_back(bench::MedianSeconds(
                    1, [&] { bench::Shell("cp '" + file + "' '" + out + "/copy.mp3'"); }));
                fs::remove(out + "/copy.mp3");
                splits.push_back(bench::MedianSeconds(1, [&] {
                    bench::Shell(cli + " split --mode " + mode + " --parts 20 --out '" + out +
                                 "' '" + file + "' >/dev/null");
                }));
                fs::remove_all(out);
                fs::create_directories(out);
            }
            fs::remove_all(out);
            const double split = bench::Median(splits);
            const double copy = bench::Median(copies);
            const std::string label = fs::path(file).filename().string() + ", --mode " + mode;
            std::printf("%-40s %12s %12s %7.2f\n", label.c_str(), bench::Human(split).c_str(),
                        bench::Human(copy).c_str(), split / copy);
        }
    }
    return 0;
}
