// A merge page over synthesised sources, its dialogs answered by the test.
#pragma once

#include "base/settings.h"
#include "common/setting_keys.h"
#include "joiner/merge_page.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "scripted_merge_view.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace keldro::test {

class MergeRunTest : public ::testing::Test
{
protected:
    MergeRunTest()
    {
        // The order the rows are added in, mixed formats allowed, and no
        // success dialog unless asked.
        settings_.SetSettingInt(setting::kSortingColumnOfJoiner, -1);
        settings_.SetSettingInt(setting::kValidateBeforeMerge, 0);
        settings_.SetSettingInt(setting::kJoinerShowSuccess, 0);
    }

    // Audio frames of varying bitrate, as a VBR encoder makes them.
    static Bytes VaryingFrames(int count, HeaderFields fields = {})
    {
        Bytes bytes;
        for (int i = 0; i < count; ++i) {
            fields.bitrateIndex = 9 + i % 3;
            Append(bytes, Frame(fields, static_cast<std::uint8_t>(0x20 + i % 7)));
        }
        return bytes;
    }

    // A file of the given audio, with an ID3v2 tag in front and an ID3v1 tag
    // behind, which a merge leaves out.
    std::string Source(const std::string& name, const Bytes& headerFrame, const Bytes& audio)
    {
        Bytes bytes = Id3v2Tag(3, 300, 0x11);
        Append(bytes, headerFrame);
        Append(bytes, audio);
        Append(bytes, Id3v1Tag("src", "", "", "", "", 1, 1));
        const std::string path = dir_.File(name);
        WriteFile(path, bytes);
        return path;
    }

    MergePage& Page()
    {
        if (!page_)
            page_.emplace(ui_, settings_, view_, view_);
        return *page_;
    }

    // Adds the files one by one, so that they keep the given order.
    void Add(std::initializer_list<std::string> paths)
    {
        for (const std::string& path : paths)
            Page().DropFiles({path});
    }

    void SetSilence(int row, int seconds)
    {
        Page().List().MutableRow(row).Text(MergeColumn::Silence) = std::to_string(seconds);
    }

    // Runs the merge into target; true when it completed.
    bool Merge(const std::string& target)
    {
        ui_.saveFiles.push_back(target);
        view_.summary.reset();
        Page().RunMerge();
        return view_.summary.has_value();
    }

    // Files left in the test's folder, temporary ones included.
    std::size_t FileCount() const
    {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
            ++count;
        return count;
    }

    TempDir dir_;
    ScriptedInteraction ui_;
    MemorySettings settings_;
    ScriptedMergeView view_;
    std::optional<MergePage> page_;
};

} // namespace keldro::test
