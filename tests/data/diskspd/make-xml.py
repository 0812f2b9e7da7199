#!/usr/bin/env python3
"""Writes the DiskSpd XML reports of this folder in the layout of DiskSpd's -Rxml output (two spaces
of indent per level, the <System>, the <Profile> with its time spans and targets, then one result
<TimeSpan> each). No public -Rxml output was found, so they are made by hand:

- vc-readwrite-mix-70-30.xml is the XML of the run whose text output is vc-readwrite-mix-70-30.txt
  (Virtual Client's real file): its parameters, its counts (bytes and I/Os per thread), its test time
  and the latency points the text prints, written where -Rxml writes them. The percentiles the text
  leaves out (1st to 99th but its own) are not invented: those buckets are absent.
- hand-2.2-sweep-utf16le.xml is a sweep appended to one file by PowerShell (UTF-16LE with a byte
  order mark, CR LF): three <Results> documents; two threads on two targets with -L, a sequential
  write without -L, and a profile of two time spans of which the second was interrupted.
Run it from anywhere; it rewrites the files next to it."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def lines(indent, *items):
    return ''.join(' ' * indent + item + '\n' for item in items)


def system(indent, version, date, run_time):
    return (lines(indent, '<System>') + lines(indent + 2, '<ComputerName>SQLHOST01</ComputerName>', '<Tool>')
            + lines(indent + 4, f'<Version>{version}</Version>', f'<VersionDate>{date}</VersionDate>')
            + lines(indent + 2, '</Tool>', f'<RunTime>{run_time}</RunTime>') + lines(indent, '</System>'))


def profile_target(indent, path, block, random, requests, write_ratio, threads):
    access = [f'<Random>{block}</Random>'] if random else [f'<StrideSize>{block}</StrideSize>',
                                                           '<InterlockedSequential>false</InterlockedSequential>']
    return (lines(indent, '<Target>') + lines(indent + 2, f'<Path>{path}</Path>', f'<BlockSize>{block}</BlockSize>',
                                                '<BaseFileOffset>0</BaseFileOffset>', '<SequentialScan>false</SequentialScan>',
                                                '<RandomAccess>false</RandomAccess>', '<TemporaryFile>false</TemporaryFile>',
                                                '<UseLargePages>false</UseLargePages>', '<DisableOSCache>true</DisableOSCache>',
                                                '<WriteThrough>true</WriteThrough>', '<WriteBufferContent>')
            + lines(indent + 4, '<Pattern>sequential</Pattern>')
            + lines(indent + 2, '</WriteBufferContent>', '<ParallelAsyncIO>false</ParallelAsyncIO>', *access,
                    '<ThreadStride>0</ThreadStride>', '<MaxFileSize>0</MaxFileSize>',
                    f'<RequestCount>{requests}</RequestCount>', f'<WriteRatio>{write_ratio}</WriteRatio>',
                    '<Throughput>0</Throughput>', f'<ThreadsPerFile>{threads}</ThreadsPerFile>',
                    '<IOPriority>3</IOPriority>', '<Weight>1</Weight>')
            + lines(indent, '</Target>'))


def profile(indent, spans, latency, iops):
    text = lines(indent, '<Profile>') + lines(indent + 2, '<Progress>0</Progress>', '<ResultFormat>xml</ResultFormat>',
                                             '<Verbose>false</Verbose>', '<TimeSpans>')
    for targets in spans:
        text += lines(indent + 4, '<TimeSpan>') + lines(indent + 6, '<CompletionRoutines>false</CompletionRoutines>',
                                                     f'<MeasureLatency>{latency}</MeasureLatency>',
                                                     f'<CalculateIopsStdDev>{iops}</CalculateIopsStdDev>',
                                                     '<DisableAffinity>false</DisableAffinity>', '<Duration>30</Duration>',
                                                     '<Warmup>5</Warmup>', '<Cooldown>0</Cooldown>', '<ThreadCount>0</ThreadCount>',
                                                     '<RequestCount>0</RequestCount>', '<IoBucketDuration>1000</IoBucketDuration>',
                                                     '<RandSeed>0</RandSeed>', '<Targets>')
        for target in targets:
            text += profile_target(indent + 8, *target)
        text += lines(indent + 6, '</Targets>') + lines(indent + 4, '</TimeSpan>')
    return text + lines(indent + 2, '</TimeSpans>') + lines(indent, '</Profile>')


def latency(indent, averages, buckets):
    text = lines(indent, '<Latency>')
    for name, value in averages:
        text += lines(indent + 2, f'<{name}>{value}</{name}>')
    for percentile, read, write, total in buckets:
        text += lines(indent + 2, '<Bucket>') + lines(indent + 4, f'<Percentile>{percentile}</Percentile>')
        for name, value in (('ReadMilliseconds', read), ('WriteMilliseconds', write), ('TotalMilliseconds', total)):
            if value is not None:
                text += lines(indent + 4, f'<{name}>{value}</{name}>')
        text += lines(indent + 2, '</Bucket>')
    return text + lines(indent, '</Latency>')


def result_span(indent, seconds, threads, requests, latency_text, targets_per_thread):
    text = lines(indent, '<TimeSpan>') + lines(indent + 2, f'<TestTimeSeconds>{seconds}</TestTimeSeconds>',
                                              f'<ThreadCount>{threads}</ThreadCount>',
                                              f'<RequestCount>{requests}</RequestCount>', '<ProcCount>8</ProcCount>',
                                              '<CpuUtilization>')
    text += lines(indent + 4, '<Average>') + lines(indent + 6, '<UsagePercent>4.12</UsagePercent>',
                                                '<UserPercent>0.57</UserPercent>', '<KernelPercent>3.55</KernelPercent>',
                                                '<IdlePercent>95.88</IdlePercent>')
    text += lines(indent + 4, '</Average>') + lines(indent + 2, '</CpuUtilization>') + latency_text
    for number, targets in enumerate(targets_per_thread):
        text += lines(indent + 2, '<Thread>') + lines(indent + 4, f'<Id>{number}</Id>')
        for path, read_bytes, read_count, write_bytes, write_count, extra in targets:
            text += lines(indent + 4, '<Target>') + lines(
                indent + 6, f'<Path>{path}</Path>', f'<BytesCount>{read_bytes + write_bytes}</BytesCount>',
                '<FileSize>1073741824</FileSize>', f'<IOCount>{read_count + write_count}</IOCount>',
                f'<ReadBytes>{read_bytes}</ReadBytes>', f'<ReadCount>{read_count}</ReadCount>',
                f'<WriteBytes>{write_bytes}</WriteBytes>', f'<WriteCount>{write_count}</WriteCount>', *extra)
            text += lines(indent + 4, '</Target>')
        text += lines(indent + 2, '</Thread>')
    return text + lines(indent, '</TimeSpan>')


def results(version, date, run_time, spans, latency_flag, iops_flag, result_spans):
    return ('<Results>\n' + system(2, version, date, run_time) + profile(2, spans, latency_flag, iops_flag)
            + ''.join(result_spans) + '</Results>')


def mix_70_30():
    # vc-readwrite-mix-70-30.txt: "actual test time: 30.01s", one thread, the Total/Read/Write IO tables and
    # the percentile table's Total column.
    buckets = [('0', '0.036', '1.209', '0.036'), ('25', '0.175', '1.607', '0.198'), ('50', '0.232', '1.833', '0.297'),
               ('75', '0.314', '2.308', '1.538'), ('90', '0.458', '3.378', '2.065'), ('95', '0.588', '4.200', '2.752'),
               ('99', '0.877', '6.107', '4.713'), ('99.9', '1.608', '8.378', '7.432'),
               ('99.99', '4.753', '11.561', '10.489'), ('99.999', '7.990', '35.257', '35.257'),
               ('100', '7.990', '35.257', '35.257')]
    averages = [('AverageReadMilliseconds', '0.272'), ('AverageWriteMilliseconds', '2.179'),
                ('AverageTotalMilliseconds', '0.840')]
    span = result_span(2, '30.01', 1, 1, latency(4, averages, buckets),
                       [[('diskspd.dat', 102645760, 25060, 43524096, 10626,
                          ['<AverageReadLatencyMilliseconds>0.272</AverageReadLatencyMilliseconds>',
                           '<AverageWriteLatencyMilliseconds>2.179</AverageWriteLatencyMilliseconds>',
                           '<AverageLatencyMilliseconds>0.840</AverageLatencyMilliseconds>'])]])
    return results('2.0.21a', '2018/9/21', '', [[('diskspd.dat', 4096, True, 1, 30, 1)]], 'true', 'true', [span])


def sweep():
    read_latency = latency(4, [('AverageReadMilliseconds', '0.371'), ('AverageTotalMilliseconds', '0.371')],
                           [('0', '0.052', None, '0.052'), ('50', '0.310', None, '0.310'), ('99', '1.204', None, '1.204'),
                            ('100', '18.733', None, '18.733')])
    first = results('2.2.0', '2022/6/1', '2024/03/11 09:12:40 UTC',
                    [[('F:\\sqldata\\t1.dat', 8192, True, 8, 0, 1), ('G:\\sqllog\\t2.dat', 8192, True, 8, 0, 1)]],
                    'true', 'false',
                    [result_span(2, '30.00', 2, 8, read_latency,
                                 [[('F:\\sqldata\\t1.dat', 10484736000, 1279875, 0, 0, [])],
                                  [('G:\\sqllog\\t2.dat', 10472767488, 1278414, 0, 0, [])]])])
    second = results('2.2.0', '2022/6/1', '2024/03/11 09:13:25 UTC', [[('F:\\sqldata\\t1.dat', 65536, False, 2, 100, 1)]],
                     'false', 'false',
                     [result_span(2, '30.00', 1, 2, '', [[('F:\\sqldata\\t1.dat', 0, 0, 20023607296, 305536, [])]])])
    interrupted = ' ' * 2 + '<TimeSpan>\n' + ' ' * 4 + ('<Error>The test was interrupted before the measurements '
                                                        'began. No results are displayed.</Error>\n') + ' ' * 2 + '</TimeSpan>\n'
    third = results('2.2.0', '2022/6/1', '2024/03/11 09:14:02 UTC',
                    [[('F:\\sqldata\\t1.dat', 4096, True, 32, 0, 1)], [('F:\\sqldata\\t1.dat', 4096, True, 32, 100, 1)]],
                    'false', 'false',
                    [result_span(2, '30.00', 1, 32, '', [[('F:\\sqldata\\t1.dat', 7704793088, 1881053, 0, 0, [])]]),
                     interrupted])
    return first + '\n' + second + '\n' + third + '\n'


def main():
    with open(os.path.join(HERE, 'vc-readwrite-mix-70-30.xml'), 'w', newline='\n') as out:
        out.write(mix_70_30())
    with open(os.path.join(HERE, 'hand-2.2-sweep-utf16le.xml'), 'wb') as out:
        out.write(b'\xff\xfe' + sweep().replace('\n', '\r\n').encode('utf-16-le'))


if __name__ == '__main__':
    main()
