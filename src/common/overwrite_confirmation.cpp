#include "common/overwrite_confirmation.h"

#include "base/user_interaction.h"
#include "string_table.h"

#include <sys/stat.h>

namespace keldro {
namespace {

// Any file there counts, readable or not: it would be replaced all the same.
bool Exists(const std::string& path)
{
    struct stat info
    {};
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace

OverwriteDecision ConfirmOverwrite(UserInteraction& ui, SettingsStore& settings, OverwriteRun& run,
                                   std::string path)
{
    while (settings.GetSettingInt(run.setting, 1) == 1 && !run.yesToAll && Exists(path)) {
        OverwriteQuestion question;
        question.message = FormatString(StringId::ConfirmOverwrite, path.c_str());
        question.newName = path;
        question.showYesToAll = run.allowYesToAll;
        const OverwriteAnswer answer = ui.AskOverwrite(question);
        settings.SetSettingInt(run.setting, answer.doNotAskAgain ? 0 : 1);
        switch (answer.result) {
        case OverwriteResult::Yes:
            if (!answer.saveUnderAnotherName)
                return {true, path, true};
            path = answer.newName;
            break;
        case OverwriteResult::YesToAll:
            run.yesToAll = run.allowYesToAll;
            return {true, path, true};
        case OverwriteResult::Skip:
            return {false, path, false};
        }
    }
    // Not asking, by setting or by Yes to all, replaces whatever is there.
    return {true, path, settings.GetSettingInt(run.setting, 1) != 1 || run.yesToAll};
}

} // namespace keldro
