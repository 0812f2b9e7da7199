#pragma once

#include <string>
#include <vector>

// The program's arguments after its name, as paths for SequentialFile: on Windows read from the
// UTF-16 command line and turned into UTF-8 (argv would hold the ANSI code page, which loses every
// character outside it); elsewhere argv's bytes unchanged.
std::vector<std::string> CommandLineArguments(int argc, char* argv[]);
