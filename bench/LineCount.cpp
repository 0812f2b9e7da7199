#include "bench/LineCount.h"

#include <cstdio>
#include <vector>

std::size_t CountLines(const std::string& path, std::size_t& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::vector<char> buffer(1u << 20);
    std::size_t lines = 0;
    bytes = 0;
    for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0;) {
        bytes += got;
        for (std::size_t i = 0; i < got; ++i)
            lines += buffer[i] == '\n';
    }
    std::fclose(file);
    return lines;
}
