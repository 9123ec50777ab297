// tarnwick-cli: the command-line companion of the desktop program.
#include <curl/curl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "common/CurlSetup.h"

int main(int argc, char** argv) {
    // A closed pipe on standard output must not end the program mid-scan.
    std::signal(SIGPIPE, SIG_IGN);
    // Under a file size limit (ulimit -f) a write past it must fail with
    // EFBIG, to be reported as a full disk is, rather than end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    tarnwick::CurlSetup::globalInit();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status =
        tarnwick::cli::runCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
    std::cout.flush();
    curl_global_cleanup();
    return status;
}
