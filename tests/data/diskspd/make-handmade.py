#!/usr/bin/env python3
"""Writes the hand-made DiskSpd reports of this folder: the shapes that no public output we found
shows in one file (an old console log in MB/s, a PowerShell capture in UTF-16LE with two timespans,
Windows-1251 text before a run). Their layout follows DiskSpd's own text output; the numbers agree
with each other (bytes / I/Os / seconds) as DiskSpd's would. Run it from anywhere; it rewrites the
files next to it."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
PCT = ['min', '25th', '50th', '75th', '90th', '95th', '99th', '3-nines', '4-nines', '5-nines',
       '6-nines', '7-nines', '8-nines', '9-nines', 'max']


def target(path, direction, size, access, outstanding, threads, cache):
    return (f"\tpath: '{path}'\n\t\tthink time: 0ms\n\t\tburst size: 0\n{cache}"
            f"\t\t{direction}\n\t\tblock size: {size}\n\t\t{access}\n"
            f"\t\tnumber of outstanding I/O operations{outstanding}\n"
            f"\t\tthread stride size: 0\n\t\tthreads per file: {threads}\n"
            "\t\tusing I/O Completion Ports\n\t\tIO priority: normal\n")


def timespan(number, latency, iops_stddev, targets):
    text = f"\ttimespan: {number:3d}\n\t-------------\n\tduration: 30s\n\twarm up time: 5s\n\tcool down time: 0s\n"
    if latency:
        text += "\tmeasuring latency\n"
    if iops_stddev:
        text += "\tgathering IOPS at intervals of 1000ms\n"
    return text + "\trandom seed: 0\n" + targets + "\n"


def io_table(title, unit, seconds, rows, latency, iops_stddev, path_size):
    """rows: (bytes, ios, avg_lat, iops_stddev, lat_stddev) per thread; None lat_stddev prints N/A."""
    head = f"thread |       bytes     |     I/Os     | {unit:>8}   |  I/O per s "
    border = "-" * 66
    if latency:
        head += "|  AvgLat  "
        border += "-" * 11
    if iops_stddev:
        head += "| IopsStdDev "
        border += "-" * 13
    if latency:
        head += "| LatStdDev "
        border += "-" * 12
    head += "|  file\n"
    border += "-" * 12 + "\n"

    def cells(b, n, lat, dev, sd):
        text = f" | {b / 1048576 / seconds:10.2f} | {n / seconds:10.2f}"
        if latency:
            text += f" | {lat:8.3f}"
        if iops_stddev:
            text += f" | {dev:10.2f}"
        if latency:
            text += " |       N/A" if sd is None else f" |  {sd:8.3f}"
        return text

    text = f"{title}\n{head}{border}"
    for i, (b, n, lat, dev, sd) in enumerate(rows):
        text += f"{i:6d} | {b:15d} | {n:12d}" + cells(b, n, lat, dev, sd) + f" | {path_size}\n"
    tb = sum(r[0] for r in rows)
    tn = sum(r[1] for r in rows)
    lat = sum(r[2] * r[1] for r in rows) / tn if tn else 0.0
    dev = sum(r[3] for r in rows)
    sd = None if tn == 0 else max(r[4] for r in rows)
    text += border + f"total:   {tb:15d} | {tn:12d}" + cells(tb, tn, lat, dev, sd) + "\n"
    return text


def percentiles(read, write, total):
    text = "  %-ile |  Read (ms) | Write (ms) | Total (ms)\n----------------------------------------------\n"
    for name, r, w, t in zip(PCT, read, write, total):
        text += f"{name:>7} | {r:>10} | {w:>10} | {t:10.3f}\n"
    return text


def totals(reads, writes, seconds):
    """The summary DiskSpd prints after the last of several timespans."""
    rb = sum(r[0] for rows in reads for r in rows)
    rn = sum(r[1] for rows in reads for r in rows)
    wb = sum(r[0] for rows in writes for r in rows)
    wn = sum(r[1] for rows in writes for r in rows)

    def line(kind, b, n):
        return f"{kind:<6} | {b:15d} | {n:12d} | {b / 1048576 / seconds:10.2f} | {n / seconds:10.2f}\n"

    return ("\n\nTotals:\n" + "*" * 79 + "\n\ntype   |       bytes     |     I/Os     |    MiB/s   |  I/O per s\n"
            + "-" * 79 + "\n" + line("write", wb, wn) + line("read", rb, rn) + "-" * 79 + "\n"
            + line("total", rb + wb, rn + wn) + f"\ntotal test time:\t{seconds:.2f}s\n")


def write(name, text, encoding, line_end, prefix=b""):
    data = text.replace("\n", line_end).encode(encoding)
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(prefix + data)


# 2.0.x as a console session logged to a file: MB/s, "number of outstanding I/O operations: N", no
# "total:" line above the percentile table, two runs, the first with -L and the second without.
cache_20 = "\t\tusing software and hardware write cache\n"
run1_rows = [(41871736832, 638912, 0.751, 0, 0.402), (41718579200, 636575, 0.753, 0, 0.398)]
ms = [0.128, 0.402, 0.611, 0.873, 1.204, 1.498, 2.876, 9.914, 21.337, 48.214, 48.214, 48.214, 48.214,
      48.214, 48.214]
console = ("Microsoft Windows [Version 6.3.9600]\n(c) 2013 Microsoft Corporation. All rights reserved.\n\n"
           "C:\\diskspd\\amd64fre>diskspd.exe -c1G -b64K -d60 -o8 -t2 -si -L D:\\test.dat\n\n"
           "Command Line: diskspd.exe -c1G -b64K -d60 -o8 -t2 -si -L D:\\test.dat\n\nInput parameters:\n\n"
           + timespan(1, True, False, target("D:\\test.dat", "performing read test", "65536",
                                              "using interlocked sequential I/O (stride: 65536)", ": 8", 2,
                                              cache_20)).replace("duration: 30s", "duration: 60s")
           + "\n\nResults for timespan 1:\n" + "*" * 79 + "\n\nactual test time:\t60.00s\nthread count:\t\t2\n"
           "proc count:\t\t4\n\nCPU |  Usage |  User  |  Kernel |  Idle\n" + "-" * 43 + "\n"
           "   0|  12.45%|   1.02%|   11.43%|  87.55%\n   1|   8.31%|   0.73%|    7.58%|  91.69%\n"
           "   2|   3.12%|   0.42%|    2.70%|  96.88%\n   3|   2.96%|   0.36%|    2.60%|  97.04%\n"
           + "-" * 43 + "\navg.|   6.71%|   0.63%|    6.08%|  93.29%\n\n"
           + io_table("Total IO", "MB/s", 60, run1_rows, True, False, "D:\\test.dat (1024MB)") + "\n"
           + io_table("Read IO", "MB/s", 60, run1_rows, True, False, "D:\\test.dat (1024MB)") + "\n"
           + io_table("Write IO", "MB/s", 60, [(0, 0, 0.0, 0, None)] * 2, True, False, "D:\\test.dat (1024MB)")
           + "\n\n" + percentiles([f"{v:.3f}" for v in ms], ["N/A"] * 15, ms)
           + "\nC:\\diskspd\\amd64fre>diskspd.exe -c1G -b8K -d60 -o16 -t1 -r -w100 D:\\test.dat\n\n"
           "Command Line: diskspd.exe -c1G -b8K -d60 -o16 -t1 -r -w100 D:\\test.dat\n\nInput parameters:\n\n"
           + timespan(1, False, False, target("D:\\test.dat", "performing write test", "8192",
                                               "using random I/O (alignment: 8192)", ": 16", 1, cache_20))
           .replace("duration: 30s", "duration: 60s")
           + "\n\nResults for timespan 1:\n" + "*" * 79 + "\n\nactual test time:\t60.00s\nthread count:\t\t1\n"
           "proc count:\t\t4\n\nCPU |  Usage |  User  |  Kernel |  Idle\n" + "-" * 43 + "\n"
           "   0|  31.07%|   2.11%|   28.96%|  68.93%\n   1|   1.20%|   0.31%|    0.89%|  98.80%\n"
           "   2|   0.94%|   0.26%|    0.68%|  99.06%\n   3|   0.78%|   0.21%|    0.57%|  99.22%\n"
           + "-" * 43 + "\navg.|   8.50%|   0.72%|    7.78%|  91.50%\n\n"
           + io_table("Total IO", "MB/s", 60, [(5905580032, 720896, 0, 0, 0)], False, False, "D:\\test.dat (1024MB)")
           + "\n" + io_table("Read IO", "MB/s", 60, [(0, 0, 0, 0, 0)], False, False, "D:\\test.dat (1024MB)")
           + "\n" + io_table("Write IO", "MB/s", 60, [(5905580032, 720896, 0, 0, 0)], False, False,
                             "D:\\test.dat (1024MB)")
           + "\nC:\\diskspd\\amd64fre>\n")
write("hand-2.0-console-mb-crlf.txt", console, "ascii", "\r\n")

# 2.1 from an XML profile with two timespans, captured in PowerShell (UTF-16LE with a byte order
# mark, CR LF): "4KiB" style sizes, "... per thread: N", the Socket/Node/Group/Core CPU table with its
# indented "avg." row, a "total:" line above each percentile table, and the "Totals:" summary.
cache_21 = "\t\tsoftware cache disabled\n\t\thardware write cache disabled, writethrough on\n"
t1_rows = [(5016330240, 612345, 1.521, 0, 1.204), (4905082880, 598765, 1.557, 0, 1.311),
           (4959698944, 605432, 1.538, 0, 1.268), (4925308928, 601234, 1.549, 0, 1.290)]
t2_read = [(15126757376, 230816, 2.904, 0, 2.113), (15022555136, 229226, 2.925, 0, 2.160)]
t2_write = [(6482821120, 98920, 4.118, 0, 3.377), (6438387712, 98242, 4.141, 0, 3.402)]
t2_total = [(r[0] + w[0], r[1] + w[1], (r[2] * r[1] + w[2] * w[1]) / (r[1] + w[1]), 0, max(r[4], w[4]))
            for r, w in zip(t2_read, t2_write)]
cpu_21 = ("Socket | Node | Group | Core | CPU |  Usage |  User  | Kernel |  Idle\n" + "-" * 71 + "\n"
          "      0|     0|      0|     0|    0| {0}|   2.10%| {1}| {2}\n"
          "      0|     0|      0|     0|    1| {0}|   1.84%| {1}| {2}\n" + "-" * 71 + "\n"
          "                               avg.| {0}|   1.97%| {1}| {2}\n")
xml = ("PS C:\\Tools\\DiskSpd> .\\diskspd.exe -X.\\sql-profile.xml\n\n"
       "Command Line: diskspd.exe -X.\\sql-profile.xml\n\nInput parameters:\n\n"
       + timespan(1, True, False, target("E:\\sqldata\\diskspd.dat", "performing read test", "8KiB",
                                          "using random I/O (alignment: 8KiB)", " per thread: 8", 4, cache_21))
       + timespan(2, True, False, target("E:\\sqldata\\diskspd.dat",
                                          "performing mix test (read/write ratio: 70/30)", "64KiB",
                                          "using sequential I/O (stride: 64KiB)", " per thread: 4", 2, cache_21))
       + "System information:\n\n\tcomputer name: SQL01\n\tstart time: 2024/03/11 09:15:02 UTC\n\n"
       "\tcpu count:\t\t2\n\tcore count:\t\t1\n\tgroup count:\t\t1\n\tnode count:\t\t1\n\tsocket count:\t\t1\n"
       "\theterogeneous cores:\tn\n"
       + "\n\nResults for timespan 1:\n" + "*" * 79 + "\n\nactual test time:\t30.00s\nthread count:\t\t4\n\n"
       + cpu_21.format(" 41.20%", " 39.10%", " 58.80%")
       + "\n" + io_table("Total IO", "MiB/s", 30, t1_rows, True, False, "E:\\sqldata\\diskspd.dat (20GiB)")
       + "\n" + io_table("Read IO", "MiB/s", 30, t1_rows, True, False, "E:\\sqldata\\diskspd.dat (20GiB)")
       + "\n" + io_table("Write IO", "MiB/s", 30, [(0, 0, 0.0, 0, None)] * 4, True, False,
                         "E:\\sqldata\\diskspd.dat (20GiB)")
       + "\n\n\ntotal:\n" + percentiles(
           ["0.087", "0.611", "1.102", "2.004", "3.117", "3.980", "6.312", "14.870", "31.207", "52.441", "52.441",
            "52.441", "52.441", "52.441", "52.441"], ["N/A"] * 15,
           [0.087, 0.611, 1.102, 2.004, 3.117, 3.980, 6.312, 14.870, 31.207, 52.441, 52.441, 52.441, 52.441,
            52.441, 52.441])
       + "\n\nResults for timespan 2:\n" + "*" * 79 + "\n\nactual test time:\t30.00s\nthread count:\t\t2\n\n"
       + cpu_21.format(" 22.75%", " 20.91%", " 77.25%")
       + "\n" + io_table("Total IO", "MiB/s", 30, t2_total, True, False, "E:\\sqldata\\diskspd.dat (20GiB)")
       + "\n" + io_table("Read IO", "MiB/s", 30, t2_read, True, False, "E:\\sqldata\\diskspd.dat (20GiB)")
       + "\n" + io_table("Write IO", "MiB/s", 30, t2_write, True, False, "E:\\sqldata\\diskspd.dat (20GiB)")
       + "\n\n\ntotal:\n" + percentiles(
           ["0.204", "1.377", "2.410", "3.806", "5.512", "6.734", "9.901", "21.045", "40.338", "88.120", "88.120",
            "88.120", "88.120", "88.120", "88.120"],
           ["0.351", "2.214", "3.517", "5.206", "7.489", "9.012", "14.377", "30.662", "57.913", "102.556", "102.556",
            "102.556", "102.556", "102.556", "102.556"],
           [0.204, 1.512, 2.703, 4.331, 6.375, 7.884, 12.101, 27.530, 51.044, 102.556, 102.556, 102.556, 102.556,
            102.556, 102.556])
       + totals([t1_rows, t2_read], [t2_write], 60))
write("hand-2.1-xml-two-timespans-utf16le.txt", xml, "utf-16-le", "\r\n", b"\xff\xfe")

# 2.1 without -L and with -D, no command line captured (the run opens at "Input parameters:"),
# after system information and prose written in Windows-1251; LF line ends.
russian = ("Имя узла:                         SQL02\n"
           "Название ОС:                      Microsoft Windows Server 2019 Standard\n"
           "Версия ОС:                        10.0.17763 Н/Д построение 17763\n"
           "Полный объем физической памяти:   65 535 МБ\n\n"
           "Тест диска F: (tempdb), последовательное чтение блоками 512 КБ.\n\n")
tempdb_rows = [(21869101056, 41712, 0, 11.02, 0), (21923627008, 41816, 0, 10.87, 0)]
cp1251 = (russian + "Input parameters:\n\n"
          + timespan(1, False, True, target("F:\\tempdb\\diskspd.dat", "performing read test", "512KiB",
                                             "using sequential I/O (stride: 512KiB)", " per thread: 2", 2, cache_21))
          + "System information:\n\n\tcomputer name: SQL02\n\tstart time: 2024/03/12 02:40:17 UTC\n\n"
          "\tcpu count:\t\t2\n\tcore count:\t\t1\n\tgroup count:\t\t1\n\tnode count:\t\t1\n\tsocket count:\t\t1\n"
          "\theterogeneous cores:\tn\n"
          + "\n\nResults for timespan 1:\n" + "*" * 79 + "\n\nactual test time:\t30.00s\nthread count:\t\t2\n\n"
          + cpu_21.format("  9.12%", "  7.15%", " 90.88%")
          + "\n" + io_table("Total IO", "MiB/s", 30, tempdb_rows, False, True, "F:\\tempdb\\diskspd.dat (100GiB)")
          + "\n" + io_table("Read IO", "MiB/s", 30, tempdb_rows, False, True, "F:\\tempdb\\diskspd.dat (100GiB)")
          + "\n" + io_table("Write IO", "MiB/s", 30, [(0, 0, 0, 0.0, 0)] * 2, False, True,
                            "F:\\tempdb\\diskspd.dat (100GiB)"))
write("hand-2.1-cp1251-before-run-lf.txt", cp1251, "cp1251", "\n")
