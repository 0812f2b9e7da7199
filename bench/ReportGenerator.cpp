#include "bench/ReportGenerator.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

std::string GenerateReport(int runs, unsigned seed) {
    std::mt19937 random(seed);
    const char* const types[] = {"random", "sequential"};
    const int sizes[] = {8, 64, 256};
    const int outstanding[] = {1, 2, 4, 8, 16, 32, 64};
    std::string text = "SQLIO benchmark run, generated\r\n";
    text.reserve(static_cast<size_t>(runs) * 1100);
    char line[256];
    for (int i = 0; i < runs; ++i) {
        const bool read = random() % 2 == 0;
        const char* type = types[random() % 2];
        const int size = sizes[random() % 3];
        const int queue = outstanding[random() % 7];
        const double ios = 100.0 + static_cast<double>(random() % 2000000) / 100.0;
        const int avg = static_cast<int>(random() % 200);
        text += "sqlio v1.5.SG\r\n";
        text += "using system counter for latency timings, 2343750 counts per second\r\n";
        text += "parameter file used: param.txt\r\n";
        text += "\tfile E:\\testfile.dat with 4 threads (0-3) using mask 0x0 (0)\r\n";
        std::snprintf(line, sizeof line, "4 threads %s for 60 secs from file E:\\testfile.dat\r\n",
                      read ? "reading" : "writing");
        text += line;
        std::snprintf(line, sizeof line, "\tusing %dKB %s IOs\r\n", size, type);
        text += line;
        std::snprintf(line, sizeof line, "\tenabling multiple I/Os per thread with %d outstanding\r\n",
                      queue);
        text += line;
        text += "\tbuffering set to use hardware disk cache (but not file cache)\r\n";
        text += "using specified size: 20480 MB for file: E:\\testfile.dat\r\n";
        text += "initialization done\r\nCUMULATIVE DATA:\r\nthroughput metrics:\r\n";
        std::snprintf(line, sizeof line, "IOs/sec: %8.2f\r\nMBs/sec: %8.2f\r\n", ios, ios * size / 1024.0);
        text += line;
        std::snprintf(
            line, sizeof line,
            "latency metrics:\r\nMin_Latency(ms): %d\r\nAvg_Latency(ms): %d\r\nMax_Latency(ms): %d\r\n",
            static_cast<int>(random() % 3), avg, avg * 4 + static_cast<int>(random() % 500));
        text += line;
        text += "histogram:\r\nms: 0  1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 "
                "24+\r\n";
        text += "%:  8 12 10  9  8  7  6  5  4  4  3  3  3  2  2  2  2  1  1  1  1  1  1  1  3\r\n";
    }
    return text;
}

std::string WriteTempFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return path.string();
}
