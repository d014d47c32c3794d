// A split page with a scripted user and window, in a folder of its own.
#pragma once

#include "base/settings.h"
#include "scripted_interaction.h"
#include "scripted_split_view.h"
#include "splitter/split_page.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <vector>

namespace keldro::test {

class SplitPageFixture : public ::testing::Test
{
protected:
    SplitPageFixture() : page_(ui_, settings_, view_) {}

    // The start of every row, in list order.
    std::vector<TimeMs> Starts() const
    {
        std::vector<TimeMs> starts;
        for (int i = 0; i < page_.List().RowCount(); ++i)
            starts.push_back(page_.List().Row(i).start);
        return starts;
    }

    TempDir dir_;
    ScriptedInteraction ui_;
    MemorySettings settings_;
    ScriptedSplitView view_;
    SplitPage page_;
};

} // namespace keldro::test
