#include "cli_app.h"

#include <csignal>
#include <cstdio>
#include <iostream>

int main(int argc, char** argv)
{
    // A closed pipe on standard output is a failed write (exit 1), not a
    // signal that ends the process mid-run.
    std::signal(SIGPIPE, SIG_IGN);
    int code = keldro::cli::RunCli(argc, argv, std::cout, std::cerr);
    if (std::fflush(stdout) != 0 && code == keldro::cli::kExitOk) {
        std::cerr << "keldro-cli: cannot write to standard output\n";
        code = keldro::cli::kExitFailed;
    }
    return code;
}
