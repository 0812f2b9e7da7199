#include "platform/StandardOutput.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

void UseBinaryMode(std::FILE* out) {
    _setmode(_fileno(out), _O_BINARY);
}

std::FILE* DivertStandardOutput() {
    std::fflush(stdout);
    const int copy = _dup(_fileno(stdout));
    _dup2(_fileno(stderr), _fileno(stdout));
    return copy < 0 ? nullptr : _fdopen(copy, "wb");
}

void UseParentConsole() {
    // Output redirected to a file or a pipe is there already; only a console has to be found.
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN)
        return;
    if (AttachConsole(ATTACH_PARENT_PROCESS))
        std::freopen("CONOUT$", "w", stdout);
}
