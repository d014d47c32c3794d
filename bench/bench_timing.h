// Timing helpers shared by the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace bench {

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Work>
double MedianSeconds(int runs, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return Median(times);
}

// What `cat FILE > /dev/null` does: read every byte, write it to /dev/null.
inline void PlainRead(const std::string& path)
{
    static std::vector<char> buffer(128 * 1024);
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

inline void Shell(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
}

// Peak resident size in MB of one run of a command.
inline long PeakMegabytes(const std::string& command)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    return usage.ru_maxrss / 1024;
}

// The median of per-run ratios with their range, as "1.19 (1.15-1.25)".
inline std::string RatioRange(const std::vector<double>& mine, const std::vector<double>& base)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < mine.size() && i < base.size(); ++i)
        ratios.push_back(mine[i] / base[i]);
    const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
    char text[64];
    std::snprintf(text, sizeof text, "%.2f (%.2f-%.2f)", Median(ratios), *low, *high);
    return text;
}

inline bool Installed(const std::string& program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

inline std::string Human(double seconds)
{
    char text[32];
    if (seconds < 1e-3)
        std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    else if (seconds < 1.0)
        std::snprintf(text, sizeof text, "%.1f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}

} // namespace bench
