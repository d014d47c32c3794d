// CMP3JoinerPage's window as the page's logic sees it: its dialogs, and the
// notices that keep its widgets up to date; CMP3MergeCompleteDlg's state.
#pragma once

#include "engine/mp3_info.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace keldro {

class SettingsStore;
struct InsertSilence;
struct MergeValidate;
struct MergeComplete;
enum class ValidateChoice;

// What one source contributed to a merge.
struct MergedFile
{
    int row = 0;
    std::string path;
    std::uint32_t startOffset = 0; // the range of the source copied
    std::uint32_t endOffset = 0;
    std::uint32_t frames = 0;        // audio frames copied
    std::uint32_t silenceFrames = 0; // as the frame total counts them
};

struct MergeSummary
{
    std::string output;
    std::uint32_t frameTotal = 0;
    std::uint32_t byteTotal = 0;
    VbrHeaderType header = VbrHeaderType::None; // the header frame kept from the first file
    bool tag = false;
};

class MergePageView
{
public:
    virtual ~MergePageView() = default;

    // The silence dialog: true when closed with "应用" or "应用全部"; "保存(&S)"
    // calls the dialog's Save itself and stays open.
    virtual bool ShowInsertSilence(InsertSilence& dialog) = 0;
    virtual ValidateChoice AskMismatch(MergeValidate& dialog) = 0;
    virtual bool ShowMergeComplete(MergeComplete& dialog) = 0;
    // CDownloadConverterDlg: no converter is installed, with where to get one.
    virtual void ShowConverterDownload() = 0;

    // Files picked or dropped are being analysed: from after the file dialog
    // until the list shows them.
    virtual void AddingFiles(bool /*adding*/) {}
    virtual void ListChanged() {}
    virtual void FieldsChanged() {}
    virtual void StatusChanged(std::string_view /*status*/) {}
    virtual void ProgressChanged(int /*position*/, int /*maximum*/) {}
    virtual void RunningChanged(bool /*busy*/) {}
    virtual void FileMerged(const MergedFile& /*file*/) {}
    virtual void MergeFinished(const MergeSummary& /*summary*/) {}
};

// CMP3MergeCompleteDlg's state: the success dialog after a merge.
struct MergeComplete
{
    std::string message;
    bool startNewMerge = false;
    bool dontShowAgain = false;
    bool openFolder = false;
    bool playNow = false;

    // Reads "Start New Merge" and "Joiner Auto Open Folder"; missing ones are stored as 0.
    void Open(SettingsStore& settings);
    // Closing with one of its buttons keeps the two check boxes.
    void Close(SettingsStore& settings) const;
};

} // namespace keldro
