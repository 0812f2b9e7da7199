#include "bench/ReportGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
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

namespace {

// What GenerateDiskSpdReport draws for one run, drawn in the same order.
struct GeneratedRun {
    int writes = 0;
    bool randomIo = false;
    int kib = 0;
    int queue = 0;
    unsigned long long ios[4] = {};
    double latency[4] = {};
    double firstPercentile = 0;
};

GeneratedRun DrawRun(std::mt19937& random) {
    const int writePercents[] = {0, 100, 30};
    const int blockKiB[] = {4, 8, 64, 512};
    const int outstanding[] = {1, 2, 4, 8, 16, 32};
    GeneratedRun run;
    run.writes = writePercents[random() % 3];
    run.randomIo = random() % 2 == 0;
    run.kib = blockKiB[random() % 4];
    run.queue = outstanding[random() % 6];
    for (int cpu = 0; cpu < 8; ++cpu)
        random();
    for (int thread = 0; thread < 4; ++thread) {
        run.ios[thread] = 100000 + random() % 2000000;
        run.latency[thread] = static_cast<double>(random() % 20000) / 1000;
    }
    run.firstPercentile = static_cast<double>(random() % 100) / 1000;
    return run;
}

void Append(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& text, const char* format, ...) {
    char line[2048];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (length < 0 || static_cast<size_t>(length) >= sizeof line)
        std::abort(); // a generated report must never be cut
    text.append(line, static_cast<size_t>(length));
}

} // namespace

std::string GenerateDiskSpdXmlReport(int runs, unsigned seed) {
    std::mt19937 random(seed);
    std::string text;
    text.reserve(static_cast<size_t>(runs) * 24000);
    for (int index = 0; index < runs; ++index) {
        const GeneratedRun run = DrawRun(random);
        text +=
            "<Results>\n  <System>\n    <ComputerName>SQL01</ComputerName>\n    <Tool>\n"
            "      <Version>2.1</Version>\n      <VersionDate>2021/7/1</VersionDate>\n    </Tool>\n"
            "    <RunTime>2024/03/11 09:15:02 UTC</RunTime>\n  </System>\n  <Profile>\n"
            "    <Progress>0</Progress>\n    <ResultFormat>xml</ResultFormat>\n    <Verbose>false</Verbose>\n"
            "    <TimeSpans>\n      <TimeSpan>\n        <CompletionRoutines>false</CompletionRoutines>\n"
            "        <MeasureLatency>true</MeasureLatency>\n"
            "        <CalculateIopsStdDev>false</CalculateIopsStdDev>\n"
            "        <DisableAffinity>false</DisableAffinity>\n        <Duration>60</Duration>\n"
            "        <Warmup>5</Warmup>\n        <Cooldown>0</Cooldown>\n        "
            "<ThreadCount>0</ThreadCount>\n"
            "        <RequestCount>0</RequestCount>\n        <IoBucketDuration>1000</IoBucketDuration>\n"
            "        <RandSeed>0</RandSeed>\n        <Targets>\n          <Target>\n"
            "            <Path>D:\\diskspd.dat</Path>\n";
        Append(text, "            <BlockSize>%d</BlockSize>\n", run.kib * 1024);
        text += "            <BaseFileOffset>0</BaseFileOffset>\n            "
                "<SequentialScan>false</SequentialScan>\n"
                "            <RandomAccess>false</RandomAccess>\n            "
                "<TemporaryFile>false</TemporaryFile>\n"
                "            <UseLargePages>false</UseLargePages>\n            "
                "<DisableOSCache>true</DisableOSCache>\n"
                "            <WriteThrough>true</WriteThrough>\n            <WriteBufferContent>\n"
                "              <Pattern>sequential</Pattern>\n            </WriteBufferContent>\n"
                "            <ParallelAsyncIO>false</ParallelAsyncIO>\n            "
                "<FileSize>21474836480</FileSize>\n";
        if (run.randomIo)
            Append(text, "            <Random>%d</Random>\n", run.kib * 1024);
        else
            Append(text,
                   "            <StrideSize>%d</StrideSize>\n"
                   "            <InterlockedSequential>false</InterlockedSequential>\n",
                   run.kib * 1024);
        Append(text,
               "            <ThreadStride>0</ThreadStride>\n            <MaxFileSize>0</MaxFileSize>\n"
               "            <RequestCount>%d</RequestCount>\n            <WriteRatio>%d</WriteRatio>\n"
               "            <Throughput>0</Throughput>\n            <ThreadsPerFile>4</ThreadsPerFile>\n"
               "            <IOPriority>3</IOPriority>\n            <Weight>1</Weight>\n          </Target>\n"
               "        </Targets>\n      </TimeSpan>\n    </TimeSpans>\n  </Profile>\n  <TimeSpan>\n"
               "    <TestTimeSeconds>60.00</TestTimeSeconds>\n    <ThreadCount>4</ThreadCount>\n"
               "    <RequestCount>0</RequestCount>\n    <ProcCount>8</ProcCount>\n    <CpuUtilization>\n",
               run.queue, run.writes);
        for (int cpu = 0; cpu < 8; ++cpu)
            Append(
                text,
                "      <CPU>\n        <Socket>0</Socket>\n        <Node>0</Node>\n        <Group>0</Group>\n"
                "        <Core>%d</Core>\n        <EfficiencyClass>0</EfficiencyClass>\n        <Id>%d</Id>\n"
                "        <UsagePercent>41.20</UsagePercent>\n        <UserPercent>2.10</UserPercent>\n"
                "        <KernelPercent>39.10</KernelPercent>\n        <IdlePercent>58.80</IdlePercent>\n"
                "      </CPU>\n",
                cpu / 2, cpu);
        text += "      <Average>\n        <UsagePercent>41.20</UsagePercent>\n        "
                "<UserPercent>2.10</UserPercent>\n"
                "        <KernelPercent>39.10</KernelPercent>\n        <IdlePercent>58.80</IdlePercent>\n"
                "      </Average>\n    </CpuUtilization>\n";
        Append(text,
               "    <Latency>\n      <AverageTotalMilliseconds>%.3f</AverageTotalMilliseconds>\n"
               "      <LatencyStdev>%.3f</LatencyStdev>\n",
               run.latency[0], run.latency[1] / 2);
        // The percentiles DiskSpd writes: 0, 1 to 99, the nines to 99.9999999, 100.
        double value = run.firstPercentile;
        for (int bucket = 0; bucket <= 107; ++bucket) {
            char percentile[16];
            if (bucket == 0 || bucket == 107)
                std::snprintf(percentile, sizeof percentile, "%d", bucket == 0 ? 0 : 100);
            else if (bucket <= 99)
                std::snprintf(percentile, sizeof percentile, "%d", bucket);
            else
                std::snprintf(percentile, sizeof percentile, "%.*f", bucket - 99,
                              100.0 - std::pow(10.0, 99 - bucket));
            Append(text,
                   "      <Bucket>\n        <Percentile>%s</Percentile>\n"
                   "        <ReadMilliseconds>%.3f</ReadMilliseconds>\n"
                   "        <WriteMilliseconds>%.3f</WriteMilliseconds>\n"
                   "        <TotalMilliseconds>%.3f</TotalMilliseconds>\n      </Bucket>\n",
                   percentile, value, value * 1.5, value * 1.5);
            value *= 1.05;
        }
        text += "    </Latency>\n";
        const double reads = (100 - run.writes) / 100.0;
        for (int thread = 0; thread < 4; ++thread) {
            const unsigned long long count = run.ios[thread];
            const auto readCount = static_cast<unsigned long long>(static_cast<double>(count) * reads);
            const unsigned long long bytes = count * static_cast<unsigned long long>(run.kib) * 1024;
            const unsigned long long readBytes = readCount * static_cast<unsigned long long>(run.kib) * 1024;
            Append(text,
                   "    <Thread>\n      <Id>%d</Id>\n      <Target>\n        <Path>D:\\diskspd.dat</Path>\n"
                   "        <BytesCount>%llu</BytesCount>\n        <FileSize>21474836480</FileSize>\n"
                   "        <IOCount>%llu</IOCount>\n        <ReadBytes>%llu</ReadBytes>\n"
                   "        <ReadCount>%llu</ReadCount>\n        <WriteBytes>%llu</WriteBytes>\n"
                   "        <WriteCount>%llu</WriteCount>\n"
                   "        <AverageLatencyMilliseconds>%.3f</AverageLatencyMilliseconds>\n"
                   "        <LatencyStdev>%.3f</LatencyStdev>\n      </Target>\n    </Thread>\n",
                   thread, bytes, count, readBytes, readCount, bytes - readBytes, count - readCount,
                   run.latency[thread], run.latency[thread] / 2);
        }
        text += "  </TimeSpan>\n</Results>\n";
    }
    return text;
}

std::string GenerateFioJsonReport(int jobs, unsigned seed) {
    std::mt19937 random(seed);
    std::string text;
    text.reserve(static_cast<size_t>(jobs) * 6000);
    text += "{\n  \"fio version\" : \"fio-3.33\",\n  \"timestamp\" : 1710148502,\n"
            "  \"timestamp_ms\" : 1710148502123,\n  \"time\" : \"Mon Mar 11 09:15:02 2024\",\n"
            "  \"global options\" : {\n    \"ioengine\" : \"libaio\",\n    \"direct\" : \"1\",\n"
            "    \"runtime\" : \"60\",\n    \"time_based\" : \"1\"\n  },\n  \"jobs\" : [\n";
    const char* const percentiles[] = {"1.000000",  "5.000000",  "10.000000", "20.000000", "30.000000",
                                       "40.000000", "50.000000", "60.000000", "70.000000", "80.000000",
                                       "90.000000", "95.000000", "99.000000", "99.500000", "99.900000",
                                       "99.950000", "99.990000"};
    for (int index = 0; index < jobs; ++index) {
        const GeneratedRun run = DrawRun(random);
        const char* rw = run.writes == 0     ? (run.randomIo ? "randread" : "read")
                         : run.writes == 100 ? (run.randomIo ? "randwrite" : "write")
                                             : (run.randomIo ? "randrw" : "rw");
        Append(text,
               "%s    {\n      \"jobname\" : \"job%d\",\n      \"groupid\" : %d,\n      \"error\" : 0,\n"
               "      \"eta\" : 0,\n      \"elapsed\" : 61,\n      \"job options\" : {\n"
               "        \"name\" : \"job%d\",\n        \"rw\" : \"%s\",\n        \"rwmixread\" : \"70\",\n"
               "        \"bs\" : \"%dk\",\n        \"iodepth\" : \"%d\",\n        \"numjobs\" : \"4\",\n"
               "        \"filename\" : \"/dev/nvme0n1\"\n      },\n",
               index == 0 ? "" : ",\n", index, index, index, rw, run.kib, run.queue);
        unsigned long long total = 0;
        for (const unsigned long long ios : run.ios)
            total += ios;
        const double reads = (100 - run.writes) / 100.0;
        const char* const names[] = {"read", "write", "trim"};
        for (int direction = 0; direction < 3; ++direction) {
            const double share = direction == 0 ? reads : direction == 1 ? 1.0 - reads : 0.0;
            const auto count = static_cast<unsigned long long>(static_cast<double>(total) * share);
            const unsigned long long bytes = count * static_cast<unsigned long long>(run.kib) * 1024;
            const double latencyNs = run.latency[direction % 4] * 1e6;
            Append(text,
                   "      \"%s\" : {\n        \"io_bytes\" : %llu,\n        \"io_kbytes\" : %llu,\n"
                   "        \"bw_bytes\" : %llu,\n        \"bw\" : %llu,\n        \"iops\" : %.6f,\n"
                   "        \"runtime\" : %d,\n        \"total_ios\" : %llu,\n        \"short_ios\" : 0,\n"
                   "        \"drop_ios\" : 0,\n        \"slat_ns\" : {\n          \"min\" : 1940,\n"
                   "          \"max\" : 33468494,\n          \"mean\" : 10078.735328,\n"
                   "          \"stddev\" : 218410.216131,\n          \"N\" : %llu\n        },\n"
                   "        \"clat_ns\" : {\n          \"min\" : 17050,\n          \"max\" : %.0f,\n"
                   "          \"mean\" : %.6f,\n          \"stddev\" : 8402033.359436,\n          \"N\" : "
                   "%llu,\n"
                   "          \"percentile\" : {\n",
                   names[direction], bytes, bytes / 1024, bytes / 60, bytes / 60 / 1024,
                   static_cast<double>(count) / 60, count > 0 ? 60000 : 0, count, count, latencyNs * 9,
                   latencyNs, count);
            double value = latencyNs / 4;
            for (const char* percentile : percentiles) {
                Append(text, "            \"%s\" : %.0f%s\n", percentile, value,
                       percentile == percentiles[16] ? "" : ",");
                value *= 1.2;
            }
            Append(text,
                   "          }\n        },\n        \"lat_ns\" : {\n          \"min\" : %.0f,\n"
                   "          \"max\" : %.0f,\n          \"mean\" : %.6f,\n          \"stddev\" : "
                   "8404621.201770,\n"
                   "          \"N\" : %llu\n        },\n        \"bw_min\" : 11736,\n        \"bw_max\" : "
                   "58560,\n"
                   "        \"bw_agg\" : 99.931085,\n        \"bw_mean\" : 30627.166667,\n"
                   "        \"bw_dev\" : 1994.217490,\n        \"bw_samples\" : 384,\n        \"iops_min\" : "
                   "2934,\n"
                   "        \"iops_max\" : 14640,\n        \"iops_mean\" : 7656.791667,\n"
                   "        \"iops_stddev\" : 498.554373,\n        \"iops_samples\" : 384\n      },\n",
                   latencyNs / 8, latencyNs * 9, latencyNs + 5000, count);
        }
        text +=
            "      \"sync\" : {\n        \"total_ios\" : 0,\n        \"lat_ns\" : {\n          \"min\" : 0,\n"
            "          \"max\" : 0,\n          \"mean\" : 0.000000,\n          \"stddev\" : 0.000000,\n"
            "          \"N\" : 0\n        }\n      },\n      \"job_runtime\" : 59999,\n"
            "      \"usr_cpu\" : 1.087927,\n      \"sys_cpu\" : 9.178172,\n      \"ctx\" : 1781123,\n"
            "      \"majf\" : 0,\n      \"minf\" : 109,\n      \"iodepth_level\" : {\n        \"1\" : "
            "0.100000,\n"
            "        \"2\" : 0.100000,\n        \"4\" : 0.100000,\n        \"8\" : 0.100000,\n"
            "        \"16\" : 99.996025,\n        \"32\" : 0.000000,\n        \">=64\" : 0.000000\n      },\n"
            "      \"latency_ns\" : {\n        \"2\" : 0.000000,\n        \"4\" : 0.000000,\n"
            "        \"10\" : 0.000000,\n        \"20\" : 0.000000,\n        \"50\" : 0.000000,\n"
            "        \"100\" : 0.000000,\n        \"250\" : 0.000000,\n        \"500\" : 0.000000,\n"
            "        \"750\" : 0.000000,\n        \"1000\" : 0.010000\n      },\n      \"latency_us\" : {\n"
            "        \"2\" : 0.010000,\n        \"4\" : 0.000000,\n        \"10\" : 0.010000,\n"
            "        \"20\" : 0.702632,\n        \"50\" : 0.521883,\n        \"100\" : 0.719594,\n"
            "        \"250\" : 19.072307,\n        \"500\" : 30.543359,\n        \"750\" : 9.219733,\n"
            "        \"1000\" : 5.983084\n      },\n      \"latency_ms\" : {\n        \"2\" : 12.280844,\n"
            "        \"4\" : 7.716320,\n        \"10\" : 8.630709,\n        \"20\" : 3.561042,\n"
            "        \"50\" : 0.937667,\n        \"100\" : 0.094747,\n        \"250\" : 0.014753,\n"
            "        \"500\" : 0.010000,\n        \"750\" : 0.000000,\n        \"1000\" : 0.000000,\n"
            "        \"2000\" : 0.000000,\n        \">=2000\" : 0.000000\n      },\n"
            "      \"latency_depth\" : 16,\n      \"latency_target\" : 0,\n"
            "      \"latency_percentile\" : 100.000000,\n      \"latency_window\" : 0\n    }";
    }
    text += "\n  ]\n}\n";
    return text;
}
