// The split page's keys: focus × key × modifiers × enabled controls.
#include "splitter/page_keys.h"

#include <gtest/gtest.h>
#include <ostream>

namespace keldro {
namespace {

using C = PageCommand;
using F = PageFocus;
using K = PageKey;

constexpr PageModifiers kPlain{};
constexpr PageModifiers kCtrl{true, false, false};
constexpr PageModifiers kShift{false, true, false};
constexpr PageModifiers kAlt{false, false, true};
constexpr PageModifiers kCtrlShift{true, true, false};

constexpr PageKeyStates kAllEnabled{true, true, true, true, true, true};
constexpr PageKeyStates kNoneEnabled{};

struct KeyCase
{
    K key;
    PageModifiers modifiers;
    F focus;
    PageKeyStates states;
    C expected;
};

std::ostream& operator<<(std::ostream& out, const KeyCase& c)
{
    return out << "key " << static_cast<int>(c.key) << " ctrl " << c.modifiers.ctrl << " shift "
               << c.modifiers.shift << " alt " << c.modifiers.alt << " focus "
               << static_cast<int>(c.focus) << " -> " << static_cast<int>(c.expected);
}

class PageKeysTest : public ::testing::TestWithParam<KeyCase>
{};

TEST_P(PageKeysTest, MapsToItsCommand)
{
    const KeyCase& c = GetParam();
    EXPECT_EQ(MapPageKey(c.key, c.modifiers, c.focus, c.states), c.expected) << c;
}

PageKeyStates Only(bool PageKeyStates::*state)
{
    PageKeyStates states;
    states.*state = true;
    return states;
}

INSTANTIATE_TEST_SUITE_P(
    Enter, PageKeysTest,
    ::testing::Values(KeyCase{K::Enter, kPlain, F::TimeField, kNoneEnabled, C::AddCutPoint},
                      KeyCase{K::Enter, kPlain, F::List, kNoneEnabled, C::EditTags},
                      KeyCase{K::Enter, kPlain, F::TextField, kNoneEnabled, C::StartOrStopRun},
                      KeyCase{K::Enter, kPlain, F::NamingRule, kNoneEnabled, C::StartOrStopRun},
                      KeyCase{K::Enter, kPlain, F::Spin, kNoneEnabled, C::StartOrStopRun},
                      KeyCase{K::Enter, kPlain, F::PositionSlider, kNoneEnabled, C::StartOrStopRun},
                      KeyCase{K::Enter, kPlain, F::Other, kNoneEnabled, C::StartOrStopRun},
                      KeyCase{K::Enter, kCtrl, F::List, kNoneEnabled, C::EditTags},
                      KeyCase{K::Enter, kAlt, F::Other, kNoneEnabled, C::None}));

INSTANTIATE_TEST_SUITE_P(
    EscapeAndSpace, PageKeysTest,
    ::testing::Values(KeyCase{K::Escape, kPlain, F::Other, kNoneEnabled, C::Swallow},
                      KeyCase{K::Escape, kAlt, F::TextField, kNoneEnabled, C::Swallow},
                      KeyCase{K::Escape, kCtrlShift, F::List, kNoneEnabled, C::Swallow},
                      KeyCase{K::Space, kPlain, F::List, kAllEnabled, C::TogglePause},
                      KeyCase{K::Space, kPlain, F::TimeField, kAllEnabled, C::TogglePause},
                      KeyCase{K::Space, kPlain, F::PositionSlider, kAllEnabled, C::TogglePause},
                      KeyCase{K::Space, kShift, F::Other, kAllEnabled, C::TogglePause},
                      KeyCase{K::Space, kPlain, F::List, kNoneEnabled, C::None},
                      // a space typed into a text stays in the text
                      KeyCase{K::Space, kPlain, F::NamingRule, kAllEnabled, C::None},
                      KeyCase{K::Space, kPlain, F::TextField, kAllEnabled, C::None},
                      KeyCase{K::Space, kShift, F::TextField, kAllEnabled, C::None}));

INSTANTIATE_TEST_SUITE_P(
    StepsAndPages, PageKeysTest,
    ::testing::Values(KeyCase{K::PageUp, kPlain, F::TimeField, kNoneEnabled, C::PageForward},
                      KeyCase{K::PageDown, kPlain, F::PositionSlider, kNoneEnabled, C::PageBack},
                      KeyCase{K::PageUp, kCtrl, F::Spin, kNoneEnabled, C::PageForward},
                      KeyCase{K::PageDown, kPlain, F::List, kNoneEnabled, C::None},
                      KeyCase{K::Up, kPlain, F::TimeField, kNoneEnabled, C::StepForward},
                      KeyCase{K::Down, kPlain, F::Spin, kNoneEnabled, C::StepBack},
                      KeyCase{K::Up, kShift, F::PositionSlider, kNoneEnabled, C::StepForward},
                      KeyCase{K::Up, kPlain, F::List, kNoneEnabled, C::None},
                      KeyCase{K::Down, kPlain, F::TextField, kNoneEnabled, C::None},
                      KeyCase{K::Up, kAlt, F::TimeField, kNoneEnabled, C::None},
                      KeyCase{K::Right, kPlain, F::PositionSlider, kNoneEnabled, C::StepForward},
                      KeyCase{K::Left, kPlain, F::PositionSlider, kNoneEnabled, C::StepBack},
                      KeyCase{K::Right, kPlain, F::TimeField, kNoneEnabled, C::None},
                      KeyCase{K::Left, kPlain, F::List, kNoneEnabled, C::None}));

INSTANTIATE_TEST_SUITE_P(
    HomeAndEnd, PageKeysTest,
    ::testing::Values(KeyCase{K::Home, kCtrl, F::TimeField, kNoneEnabled, C::SetTrackStart},
                      KeyCase{K::Home, kCtrl, F::TextField, kNoneEnabled, C::SetTrackStart},
                      KeyCase{K::Home, kCtrlShift, F::List, kNoneEnabled, C::SetTrackStart},
                      KeyCase{K::Home, kShift, F::List, kNoneEnabled, C::GoToTrackStart},
                      KeyCase{K::Home, kShift, F::TimeField, kNoneEnabled, C::GoToTrackStart},
                      KeyCase{K::Home, kPlain, F::PositionSlider, kNoneEnabled, C::PositionStart},
                      KeyCase{K::Home, kPlain, F::TimeField, kNoneEnabled, C::None},
                      KeyCase{K::Home, kPlain, F::List, kNoneEnabled, C::None},
                      KeyCase{K::End, kCtrl, F::NamingRule, kNoneEnabled, C::SetTrackEnd},
                      KeyCase{K::End, kShift, F::Other, kNoneEnabled, C::GoToTrackEnd},
                      KeyCase{K::End, kPlain, F::PositionSlider, kNoneEnabled, C::PositionEnd},
                      KeyCase{K::End, kPlain, F::TextField, kNoneEnabled, C::None},
                      KeyCase{K::End, kAlt, F::PositionSlider, kNoneEnabled, C::None}));

INSTANTIATE_TEST_SUITE_P(
    DeleteAndLetters, PageKeysTest,
    ::testing::Values(KeyCase{K::Delete, kPlain, F::List, kNoneEnabled, C::RemoveTrack},
                      KeyCase{K::Delete, kShift, F::List, kNoneEnabled, C::ClearList},
                      KeyCase{K::Delete, kCtrl, F::List, kNoneEnabled, C::UnloadSource},
                      KeyCase{K::Delete, kCtrlShift, F::List, kNoneEnabled, C::ClearList},
                      KeyCase{K::Delete, kPlain, F::TextField, kNoneEnabled, C::None},
                      KeyCase{K::Delete, kShift, F::TimeField, kNoneEnabled, C::None},
                      KeyCase{K::L, kCtrl, F::TextField, kNoneEnabled, C::EditTrackLength},
                      KeyCase{K::L, kCtrl, F::List, kNoneEnabled, C::EditTrackLength},
                      KeyCase{K::L, kPlain, F::List, kNoneEnabled, C::None},
                      KeyCase{K::D, kAlt, F::TextField, kNoneEnabled, C::ChooseDestination},
                      KeyCase{K::O, kAlt, F::List, kNoneEnabled, C::ChooseSource},
                      KeyCase{K::D, kPlain, F::List, kAllEnabled, C::None},
                      KeyCase{K::O, kCtrl, F::Other, kAllEnabled, C::None}));

INSTANTIATE_TEST_SUITE_P(
    FunctionKeys, PageKeysTest,
    ::testing::Values(
        KeyCase{K::F2, kCtrl, F::List, Only(&PageKeyStates::preview), C::TogglePreview},
        KeyCase{K::F2, kCtrl, F::List, Only(&PageKeyStates::play), C::None},
        KeyCase{K::F2, kPlain, F::TimeField, Only(&PageKeyStates::play), C::TogglePlay},
        KeyCase{K::F2, kShift, F::TextField, Only(&PageKeyStates::play), C::TogglePlay},
        KeyCase{K::F2, kPlain, F::TimeField, Only(&PageKeyStates::preview), C::None},
        KeyCase{K::F3, kPlain, F::Other, Only(&PageKeyStates::before), C::PlayBefore},
        KeyCase{K::F3, kPlain, F::Other, Only(&PageKeyStates::after), C::None},
        KeyCase{K::F4, kPlain, F::TextField, Only(&PageKeyStates::after), C::PlayAfter},
        KeyCase{K::F4, kPlain, F::TextField, Only(&PageKeyStates::before), C::None},
        KeyCase{K::F5, kPlain, F::List, Only(&PageKeyStates::fastForward), C::CycleFastForward},
        KeyCase{K::F5, kPlain, F::List, Only(&PageKeyStates::pause), C::None},
        KeyCase{K::F3, kAlt, F::Other, kAllEnabled, C::None}));

// Over every key, modifier set and focus: a key whose control is disabled
// never acts, and no key pauses from a text field.
TEST(PageKeysSweepTest, DisabledControlsAndTextFieldsKeepTheirKeys)
{
    const K keys[] = {K::Enter, K::Escape, K::Space, K::PageUp, K::PageDown, K::Up, K::Down,
                      K::Left,  K::Right,  K::Home,  K::End,    K::Delete,   K::L,  K::D,
                      K::O,     K::F2,     K::F3,    K::F4,     K::F5};
    const F foci[] = {F::TimeField,  F::Spin,      F::PositionSlider, F::List,
                      F::NamingRule, F::TextField, F::Other};
    for (const K key : keys) {
        for (int bits = 0; bits < 8; ++bits) {
            const PageModifiers mods{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
            for (const F focus : foci) {
                const C none = MapPageKey(key, mods, focus, kNoneEnabled);
                for (const C needsAControl : {C::TogglePause, C::TogglePlay, C::TogglePreview,
                                              C::PlayBefore, C::PlayAfter, C::CycleFastForward}) {
                    EXPECT_NE(none, needsAControl);
                }
                const bool text = focus == F::NamingRule || focus == F::TextField;
                if (text) {
                    EXPECT_NE(MapPageKey(key, mods, focus, kAllEnabled), C::TogglePause);
                }
            }
        }
    }
}

} // namespace
} // namespace keldro
