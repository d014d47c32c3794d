// merge_bench KELDRO_CLI FILE...: `keldro-cli merge` of the files into one,
// against `cat FILE... > OUT` in the same run; medians of five runs, outputs
// removed between runs.
#include "bench_timing.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: merge_bench KELDRO_CLI FILE...\n");
        return 2;
    }
    const std::string cli = argv[1];
    std::string files;
    std::uintmax_t total = 0;
    for (int i = 2; i < argc; ++i) {
        files += " '" + std::string(argv[i]) + "'";
        total += fs::file_size(argv[i]);
        bench::PlainRead(argv[i]);
    }
    const std::string folder = fs::path(argv[2]).parent_path().string();
    const std::string merged = folder + "/merged.mp3";
    const std::string copied = folder + "/cat.mp3";
    std::vector<double> merges;
    std::vector<double> copies;
    for (int run = 0; run < 5; ++run) {
        copies.push_back(
            bench::MedianSeconds(1, [&] { bench::Shell("cat" + files + " > '" + copied + "'"); }));
        fs::remove(copied);
        merges.push_back(bench::MedianSeconds(
            1, [&] { bench::Shell(cli + " merge -o '" + merged + "'" + files + " >/dev/null"); }));
        fs::remove(merged);
    }
    const double merge = bench::Median(merges);
    const double copy = bench::Median(copies);
    std::printf("%-40s %12s %12s %7s\n", "", "keldro-cli", "cat", "ratio");
    char label[64];
    std::snprintf(label, sizeof label, "%d files, %.0f MB", argc - 2, total / 1e6);
    std::printf("%-40s %12s %12s %7.2f\n", label, bench::Human(merge).c_str(),
                bench::Human(copy).c_str(), merge / copy);
    return 0;
}
