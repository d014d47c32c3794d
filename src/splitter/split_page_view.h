// What the split page's window does for the page's logic: the page's own
// dialogs, and the notices that keep its widgets up to date.
#pragma once

#include "engine/segment_writer.h"

#include <string>
#include <string_view>

namespace keldro {

class TrackTagEditor;
struct SpecialTimeAdd;
struct TrackAddOverlap;
struct TrackUpdate;
struct SplitComplete;

class SplitPageView
{
public:
    virtual ~SplitPageView() = default;

    // Dialogs: true when closed with OK. A dialog with checks (equal parts)
    // closes with OK only once its CheckOk passes.
    virtual bool EditTags(TrackTagEditor& editor) = 0;
    virtual bool AskEqualParts(SpecialTimeAdd& dialog) = 0;
    virtual bool AskOverlaps(TrackAddOverlap& dialog) = 0;
    virtual bool AskTrackLength(TrackUpdate& dialog) = 0;
    virtual bool ShowSplitComplete(SplitComplete& dialog) = 0;

    // Notices.
    virtual void SourceChanged() {}
    virtual void ListChanged() {}
    virtual void StatusChanged(std::string_view /*status*/) {}
    virtual void ProgressChanged(int /*position*/, int /*maximum*/) {}
    virtual void RunningChanged(bool /*running*/) {}
    virtual void RowWritten(int /*row*/, const std::string& /*path*/,
                            const SegmentResult& /*result*/)
    {}
};

} // namespace keldro
