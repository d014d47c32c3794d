// Loading and unloading the playback library: the temporary "tolvex" file,
// the entry points by name, the version check, and every failure path.
#include "common/playback_service.h"
#include "playback_files.h"
#include "temp_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace keldro {
namespace {

namespace fs = std::filesystem;

int FilesIn(const std::string& folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++count;
    return count;
}

TEST(PlaybackServiceTest, LoadsOurLibraryFromATolvexFileThatIsGoneOnceLoaded)
{
    test::TempDir temp;
    PlaybackService playback;
    ASSERT_TRUE(playback.LoadPlaybackLibrary(test::PlaybackLibraryBytes(), temp.Path()));
    EXPECT_TRUE(playback.IsAudioAvailable());
    const fs::path extracted = playback.ExtractedPath();
    EXPECT_EQ(extracted.parent_path(), fs::path(temp.Path()));
    EXPECT_EQ(extracted.filename().string().rfind("tolvex", 0), 0u);
    // Loaded, the library needs its file no more: a crash cannot leave it behind.
    EXPECT_FALSE(fs::exists(extracted));
    EXPECT_EQ(playback.Api().BASS_GetVersion(), kExpectedPlaybackVersion);

    // Every entry point of the table was found by name.
    const auto* slots = reinterpret_cast<void* const*>(&playback.Api());
    for (std::size_t i = 0; i < sizeof(BassEntryPoints) / sizeof(void*); ++i)
        EXPECT_NE(slots[i], nullptr) << "entry " << i;

    playback.UnloadPlaybackLibrary();
    EXPECT_FALSE(playback.IsAudioAvailable());
    EXPECT_FALSE(fs::exists(extracted));
    EXPECT_EQ(playback.Api().BASS_GetVersion, nullptr);
    EXPECT_EQ(FilesIn(temp.Path()), 0);
}

// The name of the deleted file is free: by exit another file may have it.
TEST(PlaybackServiceTest, UnloadingLeavesAloneAFileThatHasTakenTheLibrarysName)
{
    test::TempDir temp;
    PlaybackService playback;
    ASSERT_TRUE(playback.LoadPlaybackLibrary(test::PlaybackLibraryBytes(), temp.Path()));
    const std::string name = playback.ExtractedPath();
    ASSERT_FALSE(fs::exists(name));
    std::ofstream(name) << "another program's file";
    playback.UnloadPlaybackLibrary();
    std::string kept;
    std::getline(std::ifstream(name), kept);
    EXPECT_EQ(kept, "another program's file");
}

TEST(PlaybackServiceTest, LeavesNoFileBehindWhenDestroyedOrLoadedAgain)
{
    test::TempDir temp;
    {
        PlaybackService playback;
        ASSERT_TRUE(playback.LoadPlaybackLibrary(test::PlaybackLibraryBytes(), temp.Path()));
        ASSERT_TRUE(playback.LoadPlaybackLibrary(test::PlaybackLibraryBytes(), temp.Path()));
        EXPECT_TRUE(playback.IsAudioAvailable());
        EXPECT_EQ(FilesIn(temp.Path()), 0);
    }
    EXPECT_EQ(FilesIn(temp.Path()), 0);
}

TEST(PlaybackServiceTest, RefusesEveryBrokenLibraryAndCleansUp)
{
    test::TempDir temp;
    struct Case
    {
        const char* what;
        std::string bytes;
        std::string folder;
    };
    const Case cases[] = {
        {"another version", test::WrongVersionLibraryBytes(), temp.Path()},
        {"missing resource", "", temp.Path()},
        {"not a library", std::string(4096, 'x'), temp.Path()},
        {"temporary folder missing", test::PlaybackLibraryBytes(), temp.File("gone")},
    };
    for (const Case& c : cases) {
        PlaybackService playback;
        EXPECT_FALSE(playback.LoadPlaybackLibrary(c.bytes, c.folder)) << c.what;
        EXPECT_FALSE(playback.IsAudioAvailable()) << c.what;
        EXPECT_TRUE(playback.ExtractedPath().empty()) << c.what;
        EXPECT_EQ(playback.Api().BASS_GetVersion, nullptr) << c.what;
        EXPECT_EQ(FilesIn(temp.Path()), 0) << c.what;
        // Nothing to play: the callers fall back on their own analysis.
        EXPECT_FALSE(MeasureDecodedDuration(playback, "/nonexistent.mp3")) << c.what;
        EXPECT_FALSE(playback.InitOutputDevice(nullptr)) << c.what;
    }
}

TEST(PlaybackServiceTest, ATimeMapsProportionallyOntoTheDecodedBytes)
{
    EXPECT_EQ(StreamBytePosition(0, 1000, 4000), 0u);
    EXPECT_EQ(StreamBytePosition(500, 0, 4000), 0u);
    EXPECT_EQ(StreamBytePosition(250, 1000, 4000), 1000u);
    EXPECT_EQ(StreamBytePosition(333, 1000, 4000), 1332u);
    EXPECT_EQ(StreamBytePosition(1000, 1000, 4000), 4000u);
    EXPECT_EQ(StreamBytePosition(5000, 1000, 4000), 4000u);
}

} // namespace
} // namespace keldro
