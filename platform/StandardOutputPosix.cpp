#include "platform/StandardOutput.h"

#include <unistd.h>

void UseBinaryMode(std::FILE*) {}

void UseParentConsole() {}

std::FILE* DivertStandardOutput() {
    std::fflush(stdout);
    const int copy = ::dup(STDOUT_FILENO);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    return copy < 0 ? nullptr : ::fdopen(copy, "wb");
}
