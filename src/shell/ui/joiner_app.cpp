#include "shell/ui/joiner_app.h"

#include "joiner/merge_page.h"
#include "joiner/ui/merge_page_window.h"
#include "shell/ui/about_page.h"
#include "shell/ui/main_window.h"
#include "shell/ui/playback_loader.h"
#include "shell/ui/qt_converter_host.h"
#include "shell/ui/qt_user_interaction.h"
#include "shell/ui/quit_signals.h"
#include "shell/ui/screenshots.h"
#include "splitter/ui/split_page_window.h"
#include "widgets/qt_text.h"

#include <QApplication>
#include <QTimer>

namespace keldro {

JoinerApp::JoinerApp(SettingsStore& settings, int argc, const char* const* argv)
    : settings_(settings), startup_(ParseCommandLine(JoinArguments(argc, argv))),
      helpFile_(FromBytes(
          HelpFilePath(settings, ToBytes(QCoreApplication::applicationDirPath()), KELDRO_HELP_DIR)))
{}

bool LoadStartupSource(const StartupCommand& startup, SplitPage& page)
{
    return startup.action == StartupAction::Split && !startup.source.empty() &&
           page.LoadSource(startup.source);
}

bool AddStartupMergeFile(const StartupCommand& startup, MergePage& page)
{
    if (startup.action != StartupAction::Merge || startup.source.empty() ||
        !page.AddMergeEntry(0, startup.source))
        return false;
    page.AfterMergeAdd(0);
    return true;
}

int JoinerApp::Run()
{
    StartPlayback(playback_, nullptr);
    QtUserInteraction ui;
    SplitPageWindow split(ui, settings_, &playback_);
    QtConverterHost converters;
    MergePageWindow merge(ui, settings_, converters, &playback_);
    AboutPage about(settings_, ui, helpFile_);
    split.SetOtherSettingsAction([&about] { about.OpenSettings(); });
    merge.SetOtherSettingsAction([&about] { about.OpenSettings(); });
    MainWindow window(settings_, ui, startup_, {&split, &merge, &about});
    ui.SetOwner(&window);
    // A run that was only asked to stop may call into the library until it
    // returns; the library then goes once the event loop has returned.
    window.SetBeforeClose([this, &split, &merge] {
        if (!split.IsBusy() && !merge.IsBusy())
            playback_.UnloadPlaybackLibrary();
    });
    const QuitSignals quitSignals(window);
    window.show();
    // Loaded from the event loop: a quit while its frame table is built (a
    // signal) must find the loop running, or it would be lost.
    QTimer::singleShot(0, &split, [this, &split, &merge] {
        LoadStartupSource(startup_, split.Page());
        AddStartupMergeFile(startup_, merge.Page());
    });
    const QString screenshots = qEnvironmentVariable("KELDRO_SCREENSHOT_DIR");
    if (!screenshots.isEmpty())
        TakeScreenshots({window, split, merge, settings_, ui}, screenshots);
    const int result = QApplication::exec();
    playback_.UnloadPlaybackLibrary();
    return result;
}

} // namespace keldro
