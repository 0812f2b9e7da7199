#pragma once

#include <cstddef>
#include <string>

// The floor every loading benchmark is measured against: read the file in 1 MiB chunks and count its
// line feeds. Returns the lines; bytes gets the file's size.
std::size_t CountLines(const std::string& path, std::size_t& bytes);
