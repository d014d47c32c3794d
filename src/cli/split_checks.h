// What keldro-cli split checks before anything is written: names that collide,
// outputs that exist, and the destination folder.
#pragma once

#include "split_command.h"
#include "split_report.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace keldro {
class SplitPage;
}

namespace keldro::cli {

// Rows that would write one file: refused, all of them listed.
std::optional<std::string> CollidingNames(const SplitReport& report);
// Without --overwrite or --skip-existing an existing output stops everything;
// an existing sheet is replaced only with --overwrite. Gives the first one as
// display text, and marks the rows whose file exists now, which
// --skip-existing expects to skip.
std::optional<std::string> ExistingOutput(const SplitOptions& options, const SplitPage& page,
                                          SplitReport& report);
// The sheet a source was read from is a source too: --export-cue never
// writes over it, --overwrite or not.
std::optional<std::string> SheetIsTheSource(const SplitOptions& options, const SplitPage& page,
                                            const SplitReport& report);
// Creates the destination folder when missing; false (said on err) when it
// cannot be made.
bool PrepareFolder(const std::string& folder, std::ostream& err);

} // namespace keldro::cli
