// window_merge_bench KELDRO_CLI FILE...: the merge page's window adding the
// files (as a drop does) and joining them with its start button, events pumped
// between chunks as in the program, against `keldro-cli merge` of the same
// files; medians of five runs, outputs removed between runs.
#include "base/settings.h"
#include "bench_timing.h"
#include "common/setting_keys.h"
#include "joiner/merge_check.h"
#include "joiner/ui/merge_page_window.h"
#include "shell/ui/qt_user_interaction.h"

#include <cstdio>
#include <filesystem>

#include <QApplication>
#include <QPushButton>

namespace fs = std::filesystem;
using namespace keldro;

namespace {

// The program's own interaction, with the target picked without a dialog.
class TargetPicked final : public UserInteraction
{
public:
    explicit TargetPicked(std::string target) : target_(std::move(target)) {}

    void PumpEvents() override { qt_.PumpEvents(); }
    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override
    {
        return qt_.ShowMessage(text, icon, buttons);
    }
    void BeginProgress() override { qt_.BeginProgress(); }
    void SetProgress(int percent) override { qt_.SetProgress(percent); }
    void EndProgress() override { qt_.EndProgress(); }
    bool TakeCancelRequest() override { return qt_.TakeCancelRequest(); }
    std::optional<std::string> ChooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::vector<std::string> ChooseOpenFiles(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const FileDialogRequest&) override { return target_; }
    std::optional<std::string> ChooseFolder(std::string_view, std::string_view) override
    {
        return {};
    }
    void OpenFolder(std::string_view) override {}
    void OpenFile(std::string_view) override {}
    void ShowFrameLoadingHint(bool shown) override { qt_.ShowFrameLoadingHint(shown); }
    OverwriteAnswer AskOverwrite(const OverwriteQuestion& question) override
    {
        return qt_.AskOverwrite(question);
    }
    ShowOnceAnswer ShowOnce(const ShowOnceMessage& message,
                            const std::function<void(bool)>& changed) override
    {
        return qt_.ShowOnce(message, changed);
    }

private:
    QtUserInteraction qt_;
    std::string target_;
};

class NoConverters final : public ConverterHost
{
public:
    std::optional<std::string> InstallPath(std::string_view) override { return std::nullopt; }
    bool StartProgram(const std::string&, const std::vector<std::string>&) override
    {
        return false;
    }
};

struct WindowTiming
{
    double add = 0;
    double run = 0;
};

WindowTiming WindowRun(const std::vector<std::string>& files, const std::string& target)
{
    TargetPicked ui(target);
    MemorySettings settings;
    settings.SetSettingInt(setting::kValidateBeforeMerge, 0);
    settings.SetSettingInt(setting::kJoinerShowSuccess, 0);
    NoConverters converters;
    MergePageWindow window(ui, settings, converters);
    window.show();
    WindowTiming timing;
    timing.add = bench::MedianSeconds(1, [&] { window.Page().DropFiles(files); });
    timing.run = bench::MedianSeconds(
        1, [&] { window.findChild<QPushButton*>(QStringLiteral("startButton"))->click(); });
    return timing;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_merge_bench KELDRO_CLI FILE...\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string cli = argv[1];
    std::vector<std::string> files;
    std::string quoted;
    for (int i = 2; i < argc; ++i) {
        files.emplace_back(argv[i]);
        quoted += " '" + files.back() + "'";
        bench::PlainRead(files.back());
    }
    const std::string target =
        fs::path(files.front()).parent_path().string() + "/window-merged.mp3";
    std::vector<double> adds, runs, windows, clis;
    for (int run = 0; run < 5; ++run) {
        const WindowTiming timing = WindowRun(files, target);
        adds.push_back(timing.add);
        runs.push_back(timing.run);
        windows.push_back(timing.add + timing.run);
        fs::remove(target);
        clis.push_back(bench::MedianSeconds(
            1, [&] { bench::Shell(cli + " merge -o '" + target + "'" + quoted + " >/dev/null"); }));
        fs::remove(target);
    }
    const double window = bench::Median(windows);
    const double command = bench::Median(clis);
    std::printf("%-34s %12s %12s %7s\n", "", "window", "keldro-cli", "ratio");
    char label[64];
    std::snprintf(label, sizeof label, "%zu files", files.size());
    std::printf("%-34s %12s %12s %7.2f\n", label, bench::Human(window).c_str(),
                bench::Human(command).c_str(), window / command);
    std::printf("of which adding the files %s, the run %s\n",
                bench::Human(bench::Median(adds)).c_str(),
                bench::Human(bench::Median(runs)).c_str());
    return 0;
}
