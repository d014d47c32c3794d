#include "splitter/bulk_split.h"

#include "base/settings.h"
#include "common/setting_keys.h"
#include "string_table.h"

#include <algorithm>

namespace keldro {
namespace {

std::string Display(TimeMs ms)
{
    return FormatTime(ms, TimeStyle::Display);
}

TimeMs StoredTime(const SettingsStore& settings, const SettingKey& key, int defaultValue)
{
    return static_cast<TimeMs>(std::max(settings.GetSettingInt(key, defaultValue), 0));
}

} // namespace

void SplitIntoEqualParts(SplitList& list, int n, TimeMs s, TimeMs e)
{
    if (n <= 1 || e <= s)
        return;
    const TimeMs d = (e - s) / static_cast<TimeMs>(n);
    if (d == 0)
        return; // every cut point would fall on s
    for (int k = 1; k < n; ++k)
        list.AddCutPoint(s + static_cast<TimeMs>(k) * d);
}

void SplitByFixedTime(SplitList& list, TimeMs length, TimeMs s, TimeMs e)
{
    if (length == 0)
        return;
    for (std::uint64_t t = std::uint64_t{s} + length; t < e; t += length)
        list.AddCutPoint(static_cast<TimeMs>(t));
}

void SetTrackOverlaps(SplitList& list, int row, TimeMs backward, TimeMs forward)
{
    list.MutableRow(row).backwardOverlap = backward;
    list.MutableRow(row).forwardOverlap = forward;
}

void ApplyAutomaticSplit(SplitList& list, const SettingsStore& settings)
{
    if (settings.GetSettingInt(setting::kAutoAddSpecial, 0) != 1)
        return;
    const TimeMs total = list.Source().total;
    if (settings.GetSettingInt(setting::kAddSpecialType, 1) == SpecialTimeAdd::ByParts) {
        const int parts = settings.GetSettingInt(setting::kAddSpecialBySection, 1);
        if (parts >= 2 && !SpecialTimeAdd::CheckParts(parts, total))
            SplitIntoEqualParts(list, parts, 0, total);
        return;
    }
    const int length = settings.GetSettingInt(setting::kAddSpecialByTime, 60000);
    if (length > 0 && std::uint64_t(length) * kMostParts >= total)
        SplitByFixedTime(list, static_cast<TimeMs>(length), 0, total);
}

std::string WholeRangeText(const SplitList& list)
{
    return FormatString(StringId::SpecialWholeRange, list.RowCount(), Display(0).c_str(),
                        Display(list.Source().total).c_str());
}

std::string SelectedTrackText(const SplitList& list)
{
    const int row = list.SelectedRow();
    if (row < 0)
        return std::string(LoadString(StringId::NoSectionSelected));
    return FormatString(StringId::SpecialTrackRange, row + 1,
                        list.CellText(row, SplitColumn::Start).c_str(),
                        list.CellText(row, SplitColumn::End).c_str());
}

SpecialTimeAdd SpecialTimeAdd::Prepare(const SplitList& list, const SettingsStore& settings)
{
    SpecialTimeAdd dialog;
    dialog.wholeLength = list.Source().total;
    dialog.wholeText = WholeRangeText(list);
    dialog.trackAvailable = list.SelectedRow() >= 0;
    dialog.trackText = SelectedTrackText(list);
    if (dialog.trackAvailable)
        dialog.trackLength = list.Row(list.SelectedRow()).Length();
    dialog.method = settings.GetSettingInt(setting::kAddSpecialType, ByParts);
    dialog.parts = settings.GetSettingInt(setting::kAddSpecialBySection, 2);
    dialog.storedFixedTime = StoredTime(settings, setting::kAddSpecialByTime, 60000);
    if (dialog.storedFixedTime <= dialog.wholeLength)
        dialog.fixedTime = dialog.storedFixedTime;
    dialog.autoApply = settings.GetSettingInt(setting::kAutoAddSpecial, 0) == 1;
    return dialog;
}

std::string SpecialTimeAdd::MaximumText() const
{
    const TimeMs maximum = scope == WholeSource ? wholeLength : trackLength;
    return FormatString(StringId::MaximumLabel, Display(maximum).c_str());
}

void SpecialTimeAdd::SetAutoApply(bool on, SettingsStore& settings)
{
    autoApply = on;
    if (scope == WholeSource)
        settings.SetSettingInt(setting::kAutoAddSpecial, on ? 1 : 0);
}

std::optional<SpecialTimeAdd::Refusal> SpecialTimeAdd::CheckParts(int parts, TimeMs range)
{
    // A range shorter than 999 ms allows as many parts as it has milliseconds.
    const int most = static_cast<int>(std::clamp<TimeMs>(range, 1, kMostParts));
    if (parts < 1 || parts > most)
        return Refusal{FormatString(StringId::BadSectionCount, most), false};
    return std::nullopt;
}

std::optional<SpecialTimeAdd::Refusal> SpecialTimeAdd::CheckOk() const
{
    const TimeMs length = scope == WholeSource ? wholeLength : trackLength;
    if (method == ByParts)
        return CheckParts(parts, length);
    const std::string time = Display(fixedTime);
    if (fixedTime == 0)
        return Refusal{FormatString(StringId::FixedTimeZero, Display(0).c_str()), true};
    if (std::uint64_t{fixedTime} * kMostParts < length)
        return Refusal{FormatString(StringId::FixedTimeTooSmall, time.c_str(), kMostParts), true};
    if (scope == WholeSource && fixedTime > wholeLength)
        return Refusal{FormatString(StringId::FixedTimeBeyondWhole, time.c_str(),
                                    Display(wholeLength).c_str()),
                       true};
    if (scope == SelectedTrack && fixedTime > trackLength)
        return Refusal{FormatString(StringId::FixedTimeBeyondTrack, time.c_str(),
                                    Display(trackLength).c_str()),
                       true};
    return std::nullopt;
}

void SpecialTimeAdd::Store(SettingsStore& settings) const
{
    const TimeMs time = method == ByFixedTime ? fixedTime : storedFixedTime;
    settings.SetSettingInt(setting::kAddSpecialByTime, static_cast<int>(time));
    settings.SetSettingInt(setting::kAddSpecialBySection, parts);
    settings.SetSettingInt(setting::kAddSpecialType, method);
    if (scope == WholeSource)
        settings.SetSettingInt(setting::kAutoAddSpecial, autoApply ? 1 : 0);
}

TrackAddOverlap TrackAddOverlap::Prepare(const SplitList& list, const SettingsStore& settings)
{
    TrackAddOverlap dialog;
    dialog.total = list.Source().total;
    dialog.wholeText = WholeRangeText(list);
    dialog.trackAvailable = list.SelectedRow() >= 0;
    dialog.trackText = SelectedTrackText(list);
    // A stored overlap longer than the source is not shown: the field keeps 0.
    const TimeMs backward = StoredTime(settings, setting::kBwOverlap, 0);
    const TimeMs forward = StoredTime(settings, setting::kFwOverlap, 0);
    dialog.backward = backward <= dialog.total ? backward : 0;
    dialog.forward = forward <= dialog.total ? forward : 0;
    dialog.autoApply = settings.GetSettingInt(setting::kAutoOverlap, 0) == 1;
    return dialog;
}

void TrackAddOverlap::SetAutoApply(bool on, SettingsStore& settings)
{
    autoApply = on;
    if (scope == EveryTrack)
        settings.SetSettingInt(setting::kAutoOverlap, on ? 1 : 0);
}

void TrackAddOverlap::Store(SettingsStore& settings) const
{
    settings.SetSettingInt(setting::kFwOverlap, static_cast<int>(forward));
    settings.SetSettingInt(setting::kBwOverlap, static_cast<int>(backward));
    if (scope == EveryTrack)
        settings.SetSettingInt(setting::kAutoOverlap, autoApply ? 1 : 0);
}

} // namespace keldro
