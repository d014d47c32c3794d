// What the core asks of the person in front of it, and how long work lets the
// interface breathe. The desktop program answers with dialogs, the command
// line from its flags, the tests from a script.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keldro {

enum class MessageIcon
{
    Error,
    Question,
    Warning,
    Information,
};

enum class MessageButtons
{
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    AbortRetryIgnore,
};

enum class MessageAnswer
{
    Ok,
    Cancel,
    Yes,
    No,
    Abort,
    Retry,
    Ignore,
};

// The question before an existing file is replaced.
struct OverwriteQuestion
{
    std::string message;
    std::string newName; // preset with the existing file's path
    bool showYesToAll = true;
};

enum class OverwriteResult
{
    Yes = 1,
    YesToAll = 1011,
    Skip = 2, // also closing the dialog
};

struct OverwriteAnswer
{
    OverwriteResult result = OverwriteResult::Skip;
    bool saveUnderAnotherName = false;
    std::string newName;
    bool doNotAskAgain = false;
};

// A message that the user may switch off for the future.
struct ShowOnceMessage
{
    std::string caption; // empty: the application's name
    std::string text;
    bool showDontShowBox = true;
    bool showCustomBox = false;
    std::string customCaption;
};

struct ShowOnceAnswer
{
    bool ok = false;
    bool custom = false;
};

// An open-file or save-file dialog.
struct FileDialogRequest
{
    std::string title;
    std::string filter; // "Name (*.ext)|*.ext|...||"
    std::string defaultExtension;
    std::string folder; // where it starts
    std::string fileName;
    bool overwritePrompt = false;
};

class UserInteraction
{
public:
    virtual ~UserInteraction() = default;

    // Handles what is pending (repaints, clicks on a stop or cancel button) and
    // returns at once.
    virtual void PumpEvents() = 0;
    virtual MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                                      MessageButtons buttons) = 0;

    // A progress strip from 0 to 100 while the owner window is disabled; Esc
    // (or the front end's equivalent) requests cancelling.
    virtual void BeginProgress() = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void EndProgress() = 0;
    // Reads and clears a cancel request made since the last call.
    virtual bool TakeCancelRequest() = 0;

    virtual std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) = 0;
    // Several files at once; none when cancelled.
    virtual std::vector<std::string> ChooseOpenFiles(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ChooseFolder(std::string_view title,
                                                    std::string_view startFolder) = 0;
    // Opens a folder in the desktop's file browser.
    virtual void OpenFolder(std::string_view folder) = 0;
    // Opens a file with the program the desktop associates with it.
    virtual void OpenFile(std::string_view path) = 0;
    // The window that says frames are being loaded, shown around a table pass.
    virtual void ShowFrameLoadingHint(bool shown) = 0;

    virtual OverwriteAnswer AskOverwrite(const OverwriteQuestion& question) = 0;
    // dontShowChanged is called at each click of the "do not show again" box,
    // with the box's new state, so that the choice holds however the dialog ends.
    virtual ShowOnceAnswer ShowOnce(const ShowOnceMessage& message,
                                    const std::function<void(bool)>& dontShowChanged) = 0;
};

// For work without a person in front of it: nothing to show, never cancelled,
// every question answered the same way.
class SilentInteraction final : public UserInteraction
{
public:
    explicit SilentInteraction(MessageAnswer answer = MessageAnswer::Cancel) : answer_(answer) {}

    void PumpEvents() override {}
    MessageAnswer ShowMessage(std::string_view, MessageIcon, MessageButtons) override
    {
        return answer_;
    }
    void BeginProgress() override {}
    void SetProgress(int) override {}
    void EndProgress() override {}
    bool TakeCancelRequest() override { return false; }
    std::optional<std::string> ChooseOpenFile(const FileDialogRequest&) override { return {}; }
    std::vector<std::string> ChooseOpenFiles(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> ChooseFolder(std::string_view, std::string_view) override
    {
        return {};
    }
    void OpenFolder(std::string_view) override {}
    void OpenFile(std::string_view) override {}
    void ShowFrameLoadingHint(bool) override {}
    OverwriteAnswer AskOverwrite(const OverwriteQuestion&) override { return {}; }
    ShowOnceAnswer ShowOnce(const ShowOnceMessage&, const std::function<void(bool)>&) override
    {
        return {answer_ == MessageAnswer::Ok, false};
    }

private:
    MessageAnswer answer_;
};

} // namespace keldro
