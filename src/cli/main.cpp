#include "cli_app.h"

#include <iostream>

int main(int argc, char** argv)
{
    return keldro::cli::RunCli(argc, argv, std::cout, std::cerr);
}
