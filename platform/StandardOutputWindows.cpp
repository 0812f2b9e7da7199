#include "platform/StandardOutput.h"

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
