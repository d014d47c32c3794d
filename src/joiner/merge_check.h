// CMergeMP3ValidateDlg's state and what stands behind it: the check of encoding
// parameters before a merge, and the hand-off of the list to a converter
// program when the user asks for it.
#pragma once

#include "joiner/merge_list.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keldro {

class MergePageView;
class SettingsStore;
class UserInteraction;

// The first pair of rows, in pair order, whose sample rates differ, whose
// constant bitrates differ, or of which exactly one is mono.
struct Mismatch
{
    int first;
    int second;
};
std::optional<Mismatch> FindMismatch(const MergeList& list);

// What the desktop offers for starting a converter.
class ConverterHost
{
public:
    virtual ~ConverterHost() = default;
    // "Install Path" of the application's "Convert Setting" in the user's store.
    virtual std::optional<std::string> InstallPath(std::string_view application) = 0;
    virtual bool StartProgram(const std::string& program,
                              const std::vector<std::string>& arguments) = 0;
};

// The batch list ("~ct…" in the temporary folder); nothing, after telling the
// user, when it cannot be written.
std::optional<std::string> WriteConvertList(const MergeList& list, UserInteraction& ui);
std::string FormatConvertList(const MergeList& list);
// Starts the first converter found; without one, the view's download dialog.
bool LaunchConverter(ConverterHost& host, MergePageView& view, std::string_view caller,
                     std::string_view action, const std::string& listPath);

// CMergeMP3ValidateDlg's state: the warning shown at a mismatch.
struct MergeValidate
{
    std::string text;
    bool skipNextTime = false;
    std::function<void()> convertNow; // "立即转换"

    // Each click stores the choice at once, whatever closes the dialog.
    void ToggleSkipNextTime(SettingsStore& settings);
};

enum class ValidateChoice
{
    Ignore,
    Cancel
};

} // namespace keldro
