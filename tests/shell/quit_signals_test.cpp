// SIGTERM, SIGHUP and SIGINT close the main window without its question,
// stop a run that is pumping events, and end the event loop once the run has
// returned; the signals go back to their handlers afterwards.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "common/ui/loading_frames_dialog.h"
#include "common/ui/page_slot.h"
#include "common/ui/progress_dialog.h"
#include "fake_run_page.h"
#include "scripted_interaction.h"
#include "shell/ui/main_window.h"
#include "shell/ui/quit_signals.h"

#include <csignal>

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

using namespace keldro;

namespace {

using test::FakeRunPage;

using Handler = void (*)(int);

Handler Disposition(int number)
{
    struct sigaction action
    {};
    ::sigaction(number, nullptr, &action);
    return action.sa_handler;
}

void Ignore(int) {}

} // namespace

class QuitSignalsTest final : public QObject
{
    Q_OBJECT

    MemorySettings settings_;
    test::ScriptedInteraction ui_;
    FakeRunPage split_, merge_, about_;
    int unloaded_ = 0;

    std::unique_ptr<MainWindow> Open()
    {
        auto window = std::make_unique<MainWindow>(
            settings_, ui_, StartupCommand{}, std::array<PageSlot*, 3>{&split_, &merge_, &about_});
        window->SetBeforeClose([this] { ++unloaded_; });
        window->show();
        return window;
    }
    // The event loop's result, or -1 when it was still running after 5 s.
    static int RunEventLoop()
    {
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
        limit.start(5000);
        return QCoreApplication::exec();
    }

private slots:
    void init()
    {
        settings_ = MemorySettings();
        ui_ = test::ScriptedInteraction();
        split_.busy = merge_.busy = false;
        split_.stops = merge_.stops = 0;
        unloaded_ = 0;
        for (int number : {SIGTERM, SIGHUP, SIGINT})
            std::signal(number, SIG_DFL);
    }

    void sigtermDuringARunStopsItWithoutAskingAndQuitsOnceItReturns()
    {
        auto window = Open();
        const QuitSignals quit(*window);
        QVERIFY(quit.IsInstalled());
        split_.busy = true;
        int stopsInTheHandler = -1;
        bool returned = false;
        // A run as the pages make them: units of work, events pumped between.
        QTimer::singleShot(0, [&] {
            ::raise(SIGTERM);
            stopsInTheHandler = split_.stops;
            QElapsedTimer clock;
            clock.start();
            while (split_.stops == 0 && clock.elapsed() < 3000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            split_.busy = false;
            returned = true;
        });
        QCOMPARE(RunEventLoop(), 0);
        QVERIFY(returned);
        QCOMPARE(stopsInTheHandler, 0); // the handler itself only wakes the loop
        QCOMPARE(split_.stops, 1);
        QCOMPARE(merge_.stops, 0);
        QVERIFY(ui_.messages.empty());
        QVERIFY(!window->isVisible());
        QCOMPARE(unloaded_, 1);
        // Caught once, SIGTERM is back to its default: a second one ends the program.
        QVERIFY(Disposition(SIGTERM) == SIG_DFL);
    }

    void sighupWhenIdleClosesAndQuits()
    {
        auto window = Open();
        window->resize(640, 480);
        const QuitSignals quit(*window);
        QTimer::singleShot(0, [] { ::raise(SIGHUP); });
        QCOMPARE(RunEventLoop(), 0);
        QVERIFY(!window->isVisible());
        QVERIFY(ui_.messages.empty());
        QCOMPARE(unloaded_, 1);
        QCOMPARE(settings_.GetSettingInt(setting::kInitialWidth, -1), 640);
    }

    // A pass that builds a frame table keeps a tool window up and a strip
    // that takes a close for a cancel: neither holds the program open.
    void aWindowThatStaysDoesNotKeepTheProgramRunning()
    {
        auto window = Open();
        const QuitSignals quit(*window);
        LoadingFramesDialog hint(window.get());
        hint.show();
        ProgressDialog strip(window.get());
        strip.show();
        QTimer::singleShot(0, [] { ::raise(SIGTERM); });
        QCOMPARE(RunEventLoop(), 0);
        QVERIFY(!window->isVisible());
        QVERIFY(!strip.TakeCancelRequest());
    }

    void theSignalsGoBackToTheirHandlersAndIgnoredOnesStayIgnored()
    {
        std::signal(SIGINT, &Ignore);
        std::signal(SIGHUP, SIG_IGN); // as under nohup
        auto window = Open();
        {
            const QuitSignals quit(*window);
            QVERIFY(Disposition(SIGTERM) != SIG_DFL);
            QVERIFY(Disposition(SIGINT) != &Ignore);
            QVERIFY(Disposition(SIGHUP) == SIG_IGN);
        }
        QVERIFY(Disposition(SIGTERM) == SIG_DFL);
        QVERIFY(Disposition(SIGINT) == &Ignore);
        QVERIFY(Disposition(SIGHUP) == SIG_IGN);
        QVERIFY(window->isVisible());
    }
};

QTEST_MAIN(QuitSignalsTest)
#include "quit_signals_test.moc"
