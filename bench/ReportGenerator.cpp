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

namespace {

// One Total, Read or Write IO table of four threads; the shares say how much of each thread's I/O it
// counts.
void AppendIoTable(std::string& text, const char* title, const unsigned long long (&ios)[4], double share,
                   int blockBytes, const double (&latency)[4]) {
    char line[320];
    text += title;
    text += "\r\nthread |       bytes     |     I/Os     |    MiB/s   |  I/O per s |  AvgLat  | IopsStdDev | "
            "LatStdDev |  file\r\n";
    const std::string border(114, '-');
    text += border + "\r\n";
    unsigned long long totalIos = 0;
    for (int thread = 0; thread < 4; ++thread) {
        const auto count = static_cast<unsigned long long>(static_cast<double>(ios[thread]) * share);
        totalIos += count;
        const unsigned long long bytes = count * static_cast<unsigned long long>(blockBytes);
        std::snprintf(line, sizeof line,
                      "%6d | %15llu | %12llu | %10.2f | %10.2f | %8.3f | %10.2f |  %8.3f | D:\\diskspd.dat "
                      "(20GiB)\r\n",
                      thread, bytes, count, static_cast<double>(bytes) / 1048576 / 60,
                      static_cast<double>(count) / 60, latency[thread], static_cast<double>(count) / 6000,
                      latency[thread] / 2);
        text += line;
    }
    text += border + "\r\n";
    const unsigned long long totalBytes = totalIos * static_cast<unsigned long long>(blockBytes);
    std::snprintf(
        line, sizeof line, "total:   %15llu | %12llu | %10.2f | %10.2f | %8.3f | %10.2f |  %8.3f\r\n\r\n",
        totalBytes, totalIos, static_cast<double>(totalBytes) / 1048576 / 60,
        static_cast<double>(totalIos) / 60, latency[0], static_cast<double>(totalIos) / 6000, latency[1] / 2);
    text += line;
}

} // namespace

std::string GenerateDiskSpdReport(int runs, unsigned seed) {
    std::mt19937 random(seed);
    const int writePercents[] = {0, 100, 30};
    const int blockKiB[] = {4, 8, 64, 512};
    const int outstanding[] = {1, 2, 4, 8, 16, 32};
    std::string text;
    text.reserve(static_cast<size_t>(runs) * 7000);
    char line[256];
    for (int run = 0; run < runs; ++run) {
        const int writes = writePercents[random() % 3];
        const bool randomIo = random() % 2 == 0;
        const int kib = blockKiB[random() % 4];
        const int queue = outstanding[random() % 6];
        std::snprintf(line, sizeof line,
                      "\r\nCommand Line: diskspd.exe -c20G -b%dK -d60 -t4 -o%d -w%d %s-Sh -L -D "
                      "D:\\diskspd.dat\r\n\r\nInput parameters:\r\n\r\n",
                      kib, queue, writes, randomIo ? "-r " : "");
        text += line;
        text +=
            "\ttimespan:   1\r\n\t-------------\r\n\tduration: 60s\r\n\twarm up time: 5s\r\n"
            "\tcool down time: 0s\r\n\tmeasuring latency\r\n\tgathering IOPS at intervals of 1000ms\r\n"
            "\trandom seed: 0\r\n\tpath: 'D:\\diskspd.dat'\r\n\t\tthink time: 0ms\r\n\t\tburst size: 0\r\n"
            "\t\tsoftware cache disabled\r\n\t\thardware write cache disabled, writethrough on\r\n";
        if (writes == 0)
            text += "\t\tperforming read test\r\n";
        else if (writes == 100)
            text += "\t\tperforming write test\r\n";
        else {
            std::snprintf(line, sizeof line, "\t\tperforming mix test (read/write ratio: %d/%d)\r\n",
                          100 - writes, writes);
            text += line;
        }
        std::snprintf(line, sizeof line,
                      "\t\tblock size: %dKiB\r\n\t\tusing %s I/O (%s: %dKiB)\r\n"
                      "\t\tnumber of outstanding I/O operations per thread: %d\r\n\t\tthreads per file: 4\r\n"
                      "\t\tusing I/O Completion Ports\r\n\t\tIO priority: normal\r\n\r\n",
                      kib, randomIo ? "random" : "sequential", randomIo ? "alignment" : "stride", kib, queue);
        text += line;
        text +=
            "System information:\r\n\r\n\tcomputer name: SQL01\r\n\tstart time: 2024/03/11 09:15:02 UTC\r\n"
            "\r\n\tcpu count:\t\t8\r\n\tcore count:\t\t4\r\n\tgroup count:\t\t1\r\n\tnode count:\t\t1\r\n"
            "\tsocket count:\t\t1\r\n\theterogeneous cores:\tn\r\n\r\nResults for timespan 1:\r\n"
            "*******************************************************************************\r\n\r\n"
            "actual test time:\t60.00s\r\nthread count:\t\t4\r\n\r\n"
            "Socket | Node | Group | Core | CPU |  Usage |  User  | Kernel |  Idle\r\n";
        const std::string cpuBorder(71, '-');
        text += cpuBorder + "\r\n";
        for (int cpu = 0; cpu < 8; ++cpu) {
            const double usage = static_cast<double>(random() % 10000) / 100;
            std::snprintf(line, sizeof line,
                          "      0|     0|      0| %5d| %4d| %6.2f%%| %6.2f%%| %6.2f%%| %6.2f%%\r\n", cpu / 2,
                          cpu, usage, usage / 10, usage - usage / 10, 100 - usage);
            text += line;
        }
        text +=
            cpuBorder + "\r\n                               avg.|  41.20%|   2.10%|  39.10%|  58.80%\r\n\r\n";
        unsigned long long ios[4];
        double latency[4];
        for (int thread = 0; thread < 4; ++thread) {
            ios[thread] = 100000 + random() % 2000000;
            latency[thread] = static_cast<double>(random() % 20000) / 1000;
        }
        const double reads = (100 - writes) / 100.0;
        AppendIoTable(text, "Total IO", ios, 1.0, kib * 1024, latency);
        AppendIoTable(text, "Read IO", ios, reads, kib * 1024, latency);
        AppendIoTable(text, "Write IO", ios, 1.0 - reads, kib * 1024, latency);
        text += "\r\n\r\ntotal:\r\n  %-ile |  Read (ms) | Write (ms) | Total (ms)\r\n"
                "----------------------------------------------\r\n";
        const char* const percentiles[] = {"min",     "25th",    "50th",    "75th",    "90th",
                                           "95th",    "99th",    "3-nines", "4-nines", "5-nines",
                                           "6-nines", "7-nines", "8-nines", "9-nines", "max"};
        double value = static_cast<double>(random() % 100) / 1000;
        for (const char* name : percentiles) {
            std::snprintf(line, sizeof line, "%7s | %10.3f | %10.3f | %10.3f\r\n", name, value, value * 1.5,
                          value * 1.5);
            text += line;
            value *= 1.7;
        }
    }
    return text;
}

std::string WriteTempFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return path.string();
}
