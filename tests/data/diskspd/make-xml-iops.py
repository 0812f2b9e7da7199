#!/usr/bin/env python3
"""Writes hand-2.0-xml-iops-samples.xml: the DiskSpd XML of vc-readwrite-mix-70-30.xml (the real -L -D
run as -Rxml writes it) with the <Iops> section that -D adds to a result <TimeSpan>, in DiskSpd's layout:
the time span's IopsStdDev lines and one interval <Bucket> a second. The text run printed no intervals,
so their counts are made here: 30 seconds that add up to its 35686 I/Os (25060 reads, 10626 writes)
and spread about their mean as its IopsStdDev says (129.18 a second, 10.9 % of the mean)."""
import math
import os

here = os.path.dirname(os.path.abspath(__file__))
source = open(os.path.join(here, "vc-readwrite-mix-70-30.xml"), encoding="utf-8").read()

seconds, total_ios, reads_total = 30, 35686, 25060
mean = total_ios / seconds
# A fixed pattern of 30 deviations with mean 0 and a population deviation of 1, scaled to 129.18.
pattern = [math.sin(2.3 * i + 0.4) for i in range(seconds)]
centre = sum(pattern) / seconds
pattern = [p - centre for p in pattern]
scale = math.sqrt(sum(p * p for p in pattern) / seconds)
totals = [round(mean + 129.18 * p / scale) for p in pattern]
totals[-1] += total_ios - sum(totals)
reads = [round(t * reads_total / total_ios) for t in totals]
reads[-1] += reads_total - sum(reads)

lines = ["    <Iops>", "      <ReadIopsStdDev>94.240</ReadIopsStdDev>", "      <WriteIopsStdDev>38.480</WriteIopsStdDev>",
         "      <IopsStdDev>129.180</IopsStdDev>"]
for i, (total, read) in enumerate(zip(totals, reads)):
    lines.append(f'      <Bucket SampleMillisecond="{1000 * (i + 1)}" Read="{read}" Write="{total - read}" '
                 f'Total="{total}"/>')
lines.append("    </Iops>")
marker = "    </CpuUtilization>\n"
at = source.index(marker) + len(marker)
with open(os.path.join(here, "hand-2.0-xml-iops-samples.xml"), "w", encoding="utf-8", newline="") as out:
    out.write(source[:at] + "\n".join(lines) + "\n" + source[at:])
