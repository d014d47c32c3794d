// window_split_bench KELDRO_CLI FILE: the split page's window loading FILE,
// cutting it into 20 equal parts with its start button (events pumped between
// rows as in the program), against `keldro-cli split --parts 20` of the same
// file; medians of five runs, outputs removed between runs. Also the longest
// time the window went without handling its events during a run.
#include "base/settings.h"
#include "bench_timing.h"
#include "common/setting_keys.h"
#include "shell/ui/qt_user_interaction.h"
#include "splitter/bulk_split.h"
#include "splitter/ui/split_page_window.h"

#include <cstdio>
#include <filesystem>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

namespace fs = std::filesystem;
using namespace keldro;

namespace {

struct WindowTiming
{
    double load = 0;
    double run = 0;
};

WindowTiming WindowRun(const std::string& file, const std::string& out, double& longestGap)
{
    QtUserInteraction ui;
    MemorySettings settings;
    settings.SetSettingInt(setting::kSplitterOutputFolderConfirmation, 0);
    settings.SetSettingInt(setting::kSplitterShowSuccess, 0);
    SplitPageWindow window(ui, settings);
    window.show();
    ui.SetOwner(&window);
    window.Page().SetDestination(out);
    // A timer that should fire every 5 ms: its longest gap is how long the
    // window went without handling events.
    QElapsedTimer clock;
    QTimer ticker;
    double lastTick = 0;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double now = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });
    WindowTiming timing;
    timing.load = bench::MedianSeconds(1, [&] { window.Page().LoadSource(file); });
    timing.run = bench::MedianSeconds(1, [&] {
        SplitIntoEqualParts(window.Page().List(), 20, 0, window.Page().Total());
        window.ListChanged();
        clock.start();
        ticker.start();
        window.findChild<QPushButton*>(QStringLiteral("startButton"))->click();
        ticker.stop();
    });
    return timing;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_split_bench KELDRO_CLI FILE\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string cli = argv[1];
    const std::string file = argv[2];
    const std::string out = fs::path(file).parent_path().string() + "/window-split-out";
    bench::PlainRead(file);
    std::vector<double> loads, runs, windows, clis;
    double longestGap = 0;
    for (int run = 0; run < 5; ++run) {
        fs::create_directories(out);
        const WindowTiming timing = WindowRun(file, out, longestGap);
        loads.push_back(timing.load);
        runs.push_back(timing.run);
        windows.push_back(timing.load + timing.run);
        fs::remove_all(out);
        fs::create_directories(out);
        clis.push_back(bench::MedianSeconds(1, [&] {
            bench::Shell(cli + " split --parts 20 --out '" + out + "' '" + file + "' >/dev/null");
        }));
        fs::remove_all(out);
    }
    const double window = bench::Median(windows);
    const double command = bench::Median(clis);
    std::printf("%-34s %12s %12s %7s\n", "", "window", "keldro-cli", "ratio");
    std::printf("%-34s %12s %12s %7.2f\n", fs::path(file).filename().string().c_str(),
                bench::Human(window).c_str(), bench::Human(command).c_str(), window / command);
    std::printf("of which loading (frame table) %s, the run %s\n",
                bench::Human(bench::Median(loads)).c_str(),
                bench::Human(bench::Median(runs)).c_str());
    std::printf("longest time the window did not handle events during a run: %s\n",
                bench::Human(longestGap).c_str());
    return 0;
}
