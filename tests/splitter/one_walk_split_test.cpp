// A run whose frame table was deferred finds its cuts in one walk: every piece
// must be byte for byte the one the run with the table loaded at load writes.
#include "common/setting_keys.h"
#include "engine/segment_writer.h"
#include "lame_corpus.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "scripted_split_view.h"
#include "splitter/bulk_split.h"
#include "splitter/split_page.h"
#include "temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace keldro {
namespace {

namespace fs = std::filesystem;

// One split page, as the command line drives it, writing into a folder.
struct Splitter
{
    Splitter(bool defer, const std::string& folder) : page(ui, settings, view)
    {
        page.SetDeferFrameTable(defer);
        settings.SetSettingInt(setting::kSplitterOutputFolderConfirmation, 0);
        settings.SetSettingInt(setting::kSplitterShowSuccess, 0);
        fs::create_directories(folder);
        page.SetDestination(folder);
    }

    test::ScriptedInteraction ui;
    MemorySettings settings;
    test::ScriptedSplitView view;
    SplitPage page;
};

using Cuts = std::function<void(SplitPage&)>;

void ExpectSamePieces(const std::string& source, const std::string& out, const Cuts& cut,
                      bool seamless = false)
{
    Splitter table(false, out + "/table");
    Splitter walk(true, out + "/walk");
    for (Splitter* splitter : {&table, &walk}) {
        splitter->settings.SetSettingInt(setting::kSeamlessSplit, seamless ? 1 : 0);
        ASSERT_TRUE(splitter->page.LoadSource(source));
        ASSERT_TRUE(splitter->page.FrameAccurate());
        cut(splitter->page);
        splitter->page.RunSplit();
        ASSERT_EQ(splitter->page.LastRunOutcome(), RunOutcome::Done)
            << splitter->page.List().RowCount() << " rows; "
            << (splitter->ui.messages.empty() ? "" : splitter->ui.messages.back().text);
    }
    ASSERT_TRUE(table.page.Info().IsFrameTableLoaded());
    EXPECT_FALSE(walk.page.Info().IsFrameTableLoaded()) << "the run loaded the table";
    ASSERT_EQ(table.page.List().RowCount(), walk.page.List().RowCount());
    for (std::size_t i = 0; i < table.view.written.size() && i < walk.view.written.size(); ++i) {
        const SegmentResult& a = table.view.written[i].result;
        const SegmentResult& b = walk.view.written[i].result;
        EXPECT_EQ(a.startOffset, b.startOffset) << i;
        EXPECT_EQ(a.endOffset, b.endOffset) << i;
        EXPECT_EQ(a.frames, b.frames) << i;
    }
    int pieces = 0;
    for (const auto& entry : fs::directory_iterator(out + "/table")) {
        const fs::path twin = fs::path(out) / "walk" / entry.path().filename();
        ASSERT_TRUE(fs::exists(twin)) << twin;
        EXPECT_TRUE(test::ReadFile(entry.path().string()) == test::ReadFile(twin.string()))
            << source << ": " << entry.path().filename();
        ++pieces;
    }
    EXPECT_EQ(pieces, table.page.List().RowCount());
    fs::remove_all(out);
}

void SplitBothWays(const std::string& source, const std::string& out, std::uint32_t seed)
{
    ExpectSamePieces(source, out,
                     [](SplitPage& page) { SplitIntoEqualParts(page.List(), 7, 0, page.Total()); });
    CMP3Info info;
    ASSERT_TRUE(info.Analyse(source));
    std::mt19937 random(seed);
    std::uniform_int_distribution<TimeMs> anywhere(1, info.DurationMs() - 1);
    std::vector<TimeMs> times;
    for (int i = 0; i < 10; ++i)
        times.push_back(anywhere(random));
    ExpectSamePieces(source, out, [&times](SplitPage& page) {
        for (const TimeMs time : times)
            page.List().AddCutPoint(time);
    });
}

TEST(OneWalkSplitTest, EveryLameVbrFileOfTheCorpusInSevenPartsAndAtRandomTimes)
{
    test::TempDir dir;
    std::uint32_t seed = 1;
    int files = 0;
    for (const test::CorpusEntry& entry : test::CorpusEntries()) {
        if (entry.vbrHeader != "xing")
            continue;
        SplitBothWays(test::CorpusFile(entry.name), dir.File("out"), seed++);
        ++files;
    }
    EXPECT_GE(files, 2);
}

// Long enough for checkpoints (one every 2 MB): a lame VBR file's audio
// repeated behind its header frame.
std::string LongVbrFile(const std::string& path)
{
    CMP3Info seed;
    const std::string vbr = test::CorpusFile("vbr_v2");
    EXPECT_TRUE(seed.Analyse(vbr));
    const test::Bytes bytes = test::ReadFile(vbr);
    test::Bytes big(bytes.begin(), bytes.begin() + seed.FirstFrameOffset());
    std::uint32_t copies = 0;
    for (; big.size() < 12'000'000; ++copies)
        big.insert(big.end(), bytes.begin() + seed.FirstFrameOffset(),
                   bytes.begin() + seed.AudioEnd());
    // The header's counts tell the whole length, so that cuts reach the end.
    const std::string_view xing = "Xing";
    const auto tag = std::search(big.begin() + seed.VbrFrameOffset(),
                                 big.begin() + seed.FirstFrameOffset(), xing.begin(), xing.end());
    EXPECT_NE(tag, big.begin() + seed.FirstFrameOffset());
    PatchVbrHeader(std::span(tag, big.begin() + seed.FirstFrameOffset()), seed.VbrFrames() * copies,
                   static_cast<std::uint32_t>(big.size()), VbrHeaderType::Xing);
    test::WriteFile(path, big);
    return path;
}

TEST(OneWalkSplitTest, ALongVbrFileWithCheckpointsInSevenPartsAndAtRandomTimes)
{
    test::TempDir dir;
    const std::string source = LongVbrFile(dir.File("long.mp3"));
    Splitter check(false, dir.File("check"));
    ASSERT_TRUE(check.page.LoadSource(source));
    ASSERT_GE(check.page.Info().FrameTable().size(), 5u);
    ASSERT_GT(check.page.Total(), check.page.Info().FrameTable().back().timeMs);
    for (std::uint32_t round = 0; round < 3; ++round)
        SplitBothWays(source, dir.File("out"), 100 + round);
    // Seamless pieces start before their cut: counted as they are copied.
    ExpectSamePieces(
        source, dir.File("out"),
        [](SplitPage& page) { SplitIntoEqualParts(page.List(), 7, 0, page.Total()); }, true);
    // Cuts within 10 ms of a checkpoint are answered by the checkpoint itself.
    std::vector<TimeMs> near;
    TimeMs shift = 0;
    for (const FramePosition& checkpoint : check.page.Info().FrameTable())
        near.push_back(static_cast<TimeMs>(checkpoint.timeMs) + (shift++ % 2 == 0 ? 6 : -6));
    ExpectSamePieces(source, dir.File("out"), [&near](SplitPage& page) {
        for (const TimeMs time : near)
            page.List().AddCutPoint(time);
    });
}

// Offsets asked outside a run load the deferred table first, and are the ones
// the table gives.
TEST(OneWalkSplitTest, PlansOutsideARunLoadTheDeferredTable)
{
    test::TempDir dir;
    const std::string source = LongVbrFile(dir.File("long.mp3"));
    Splitter table(false, dir.File("table"));
    Splitter walk(true, dir.File("walk"));
    ASSERT_TRUE(table.page.LoadSource(source));
    ASSERT_TRUE(walk.page.LoadSource(source));
    EXPECT_FALSE(walk.page.Info().IsFrameTableLoaded());
    ASSERT_TRUE(walk.page.LoadDeferredFrameTable());
    ASSERT_TRUE(walk.page.Info().IsFrameTableLoaded());
    const TimeMs total = walk.page.Total();
    for (TimeMs time : {total / 7, total / 3, total / 2 + 1234, total - 5000}) {
        const SegmentPlan a = PlanSegmentByTime(table.page.Info(), 0, time, 0, false);
        const SegmentPlan b = PlanSegmentByTime(walk.page.Info(), 0, time, 0, false);
        EXPECT_EQ(a.endOffset, b.endOffset) << time;
    }
}

} // namespace
} // namespace keldro
