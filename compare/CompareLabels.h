#pragma once

#include <string>
#include <vector>

// The names of compared reports in the legend and the column titles: each report's file name, with as
// much of its folder as makes two names differ ("old/run.txt", "new/run.txt"), written as its path
// writes it. The same path given twice is told apart by a number: "run.txt (2)". separators are the bytes
// that end a folder (platform/FileNames.h).
std::vector<std::string> CompareLabels(const std::vector<std::string>& paths, const char* separators);
