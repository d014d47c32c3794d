// What the program does with its start-up command before the user acts.
#include "base/settings.h"
#include "lame_corpus.h"
#include "scripted_interaction.h"
#include "scripted_split_view.h"
#include "shell/ui/joiner_app.h"
#include "splitter/split_page.h"

#include <QTest>

using namespace keldro;

class JoinerAppTest : public QObject
{
    Q_OBJECT

private slots:
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
