#pragma once

#include <cstdio>

// Standard output of the command-line companion, whose bytes must reach a pipe or file unchanged.

// Writes to out go out byte for byte: Windows' C library would otherwise turn every LF into CR LF,
// so a CR LF of the CSV would become CR CR LF. Nothing to do on Linux.
void UseBinaryMode(std::FILE* out);

// A stream on a copy of standard output, for the one thing that must go there; standard output
// itself is sent to standard error from now on, so anything else a library prints cannot mix into
// it. Null (errno set) when the copy cannot be made.
std::FILE* DivertStandardOutput();

// Where a window program's --help and --version go. On Windows a window program starts without
// standard output unless it is redirected; it then writes to the console of the command prompt that
// started it, if there is one. Nothing to do on Linux.
void UseParentConsole();
