// The program as main() runs it: the start-up command's source, and a quit
// signal that comes while that source's frame table is being built.
#include "base/settings.h"
#include "common/ui/loading_frames_dialog.h"
#include "joiner/merge_page.h"
#include "lame_corpus.h"
#include "scripted_interaction.h"
#include "scripted_merge_view.h"
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

    // The row shows with its totals, as any added file does.
    void theMergeActionAddsItsFileAsTheFirstRow()
    {
        test::ScriptedInteraction ui;
        MemorySettings settings;
        test::ScriptedMergeView view;
        MergePage page(ui, settings, view, view);
        const std::string source = test::CorpusFile("cbr128");
        QVERIFY(!AddStartupMergeFile({StartupAction::Split, source}, page));
        QVERIFY(!AddStartupMergeFile({StartupAction::Merge, ""}, page));
        QCOMPARE(page.List().RowCount(), 0);
        QVERIFY(AddStartupMergeFile(ParseCommandLine("-a MERGE -s " + source), page));
        QCOMPARE(page.List().RowCount(), 1);
        QCOMPARE(page.List().Row(0).Text(MergeColumn::FileName), std::string("cbr128.mp3"));
        QVERIFY(page.DurationText() != "0:00:00");
        QCOMPARE(page.List().SelectedRows(), std::vector<int>{0});
        QVERIFY(!AddStartupMergeFile({StartupAction::Merge, "/no/such.mp3"}, page));
        QCOMPARE(ui.messages.size(), std::size_t{1});
    }
};

QTEST_MAIN(JoinerAppTest)
#include "joiner_app_test.moc"
