// info_bench CLI FILE...: what analysing a source costs, per file, beside a
// plain copy of the same bytes (cat to /dev/null) measured in the same run.
// Analysis reads the first frames and the last 128 bytes, so its cost must not
// grow with the file.
#include "engine/mp3_info.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work>
double MedianSeconds(int runs, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void PlainCopy(const std::string& path)
{
    static std::vector<char> buffer(1 << 20);
    const int in = ::open(path.c_str(), O_RDONLY);
    const int out = ::open("/dev/null", O_WRONLY);
    ssize_t got = 0;
    while ((got = ::read(in, buffer.data(), buffer.size())) > 0) {
        if (::write(out, buffer.data(), static_cast<size_t>(got)) != got)
            break;
    }
    ::close(in);
    ::close(out);
}

std::string Human(double seconds)
{
    char text[32];
    if (seconds < 1e-3)
        std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    else if (seconds < 1.0)
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}

} // namespace

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
        const double copy = MedianSeconds(3, [&] { PlainCopy(path); });
        std::printf(
            "%-12s %14llu %12s %14s %14s %14.6f\n", std::filesystem::path(path).filename().c_str(),
            static_cast<unsigned long long>(std::filesystem::file_size(path)),
            Human(analyse).c_str(), Human(process).c_str(), Human(copy).c_str(), analyse / copy);
    }
    return 0;
}
