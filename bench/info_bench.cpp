// info_bench CLI FILE...: what analysing a source costs, per file, beside a
// plain copy of the same bytes (cat to /dev/null) measured in the same run.
// Analysis reads the first frames and the last 128 bytes, so its cost must not
// grow with the file.
#include "bench_timing.h"
#include "engine/mp3_info.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using bench::Human;
using bench::MedianSeconds;

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: info_bench KELDRO_CLI FILE...\n");
        return 2;
    }
    const std::string cli = argv[1];
    std::printf("%-12s %14s %12s %14s %14s %14s\n", "file", "bytes", "Analyse", "keldro-cli info",
                "plain copy", "Analyse/copy");
    for (int i = 2; i < argc; ++i) {
        const std::string path = argv[i];
        keldro::CMP3Info info;
        if (!info.Analyse(path) || !info.HasStream()) {
            std::fprintf(stderr, "cannot analyse %s\n", path.c_str());
            return 1;
        }
        const double analyse = MedianSeconds(101, [&] { info.Analyse(path); });
        const std::string command = cli + " info '" + path + "' >/dev/null";
        const double process = MedianSeconds(21, [&] { (void)std::system(command.c_str()); });
        const double copy = MedianSeconds(3, [&] { bench::PlainRead(path); });
        std::printf(
            "%-12s %14llu %12s %14s %14s %14.6f\n", std::filesystem::path(path).filename().c_str(),
            static_cast<unsigned long long>(std::filesystem::file_size(path)),
            Human(analyse).c_str(), Human(process).c_str(), Human(copy).c_str(), analyse / copy);
    }
    return 0;
}
