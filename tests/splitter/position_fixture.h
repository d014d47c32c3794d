// A position controller over a fake stream and clock, with a three-minute
// source whose selected track runs from 0:10 to 0:20 (0:09.500 to 0:20.500
// with its overlaps).
#pragma once

#include "fake_playback_stream.h"
#include "scripted_interaction.h"
#include "splitter/position_controller.h"

#include <gtest/gtest.h>

namespace keldro::test {

inline constexpr TimeMs kTotal = 180'000;

class PositionFixture : public ::testing::Test
{
protected:
    PositionFixture() : clock_(stream_), controller_(stream_, clock_, ui_) {}

    static PositionContext Loaded(TimeMs total = kTotal)
    {
        PositionContext context;
        context.loaded = true;
        context.trackSelected = true;
        context.hasDecodedLength = true;
        context.total = total;
        context.rawRange = {10'000, 20'000};
        context.effectiveRange = {9'500, 20'500};
        context.sampleRate = 44'100;
        return context;
    }
    void Load(const PositionContext& context = Loaded())
    {
        stream_.length = context.total;
        controller_.SetContext(context);
        controller_.SelectionChanged();
    }
    // Plays on for `count` ticks of 50 ms, each followed by the timers' work.
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            clock_.Wait(kTickMs);
            controller_.Tick();
        }
    }

    FakePlaybackStream stream_;
    FakeWaitClock clock_;
    ScriptedInteraction ui_;
    PositionController controller_;
};

} // namespace keldro::test
