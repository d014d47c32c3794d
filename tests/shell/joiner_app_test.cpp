// The program as main() runs it: the start-up command's source, and a quit
// signal that comes while that source's frame table is being built.
#include "base/settings.h"
#include "common/ui/loading_frames_dialog.h"
#include "lame_corpus.h"
#include "scripted_interaction.h"
#include "scripted_split_view.h"
#include "shell/ui/joiner_app.h"
#include "splitter/split_page.h"

#include <csignal>

#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace keldro;

class JoinerAppTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Sound output that needs no device, so that no warning waits for a click.
        qputenv("SDL_AUDIODRIVER", "dummy");
    }

    void init() { std::signal(SIGTERM, SIG_DFL); }

    void aQuitSignalWhileTheStartUpSourceLoadsEndsTheProgram()
    {
        const std::string source = test::CorpusFile("vbr_v2");
        const char* argv[] = {"keldro", "-a", "SPLIT", "-s", source.c_str()};
        MemorySettings settings;
        JoinerApp app(settings, 5, argv);
        // The signal comes once the frame-loading hint is up: the pass that
        // follows it handles the signal.
        bool raised = false;
        QTimer hint;
        connect(&hint, &QTimer::timeout, [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (!raised && qobject_cast<LoadingFramesDialog*>(window) && window->isVisible()) {
                    raised = true;
                    ::raise(SIGTERM);
                }
            }
        });
        hint.start(0);
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
        limit.start(10'000);
        QCOMPARE(app.Run(), 0);
        QVERIFY(raised);
    }

    void onlyTheSplitActionLoadsItsSourceIntoTheSplitPage()
    {
        test::ScriptedInteraction ui;
        MemorySettings settings;
        test::ScriptedSplitView view;
        SplitPage page(ui, settings, view);
        const std::string source = test::CorpusFile("cbr128");
        QVERIFY(!LoadStartupSource({StartupAction::Merge, source}, page));
        QVERIFY(!LoadStartupSource({StartupAction::None, source}, page));
        QVERIFY(!LoadStartupSource({StartupAction::Split, ""}, page));
        QVERIFY(!page.IsLoaded());
        QVERIFY(ui.messages.empty());
        QVERIFY(LoadStartupSource(ParseCommandLine("-a SPLIT -s " + source), page));
        QCOMPARE(page.SourceFileName(), std::string("cbr128.mp3"));
        QCOMPARE(page.List().RowCount(), 1);
    }
};

QTEST_MAIN(JoinerAppTest)
#include "joiner_app_test.moc"
