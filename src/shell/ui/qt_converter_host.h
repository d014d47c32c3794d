// Converter programs on this desktop: each maker's store names the folder a
// converter is installed in, and the program is started detached. What the
// user sees when none is installed is the merge page window's dialog.
#pragma once

#include "joiner/merge_check.h"

#include <QString>

namespace keldro {

class QtConverterHost final : public ConverterHost
{
public:
    // Stores are read from configFolder/Vantry/<application>.conf; by default
    // the user's configuration folder.
    QtConverterHost();
    explicit QtConverterHost(QString configFolder);

    std::optional<std::string> InstallPath(std::string_view application) override;
    bool StartProgram(const std::string& program,
                      const std::vector<std::string>& arguments) override;

private:
    QString configFolder_;
};

} // namespace keldro
