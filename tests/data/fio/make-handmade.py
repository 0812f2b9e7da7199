#!/usr/bin/env python3
"""Writes the hand-made fio JSON reports of this folder from the real ones beside them, in fio's own
layout (two spaces of indent, "key" : value, six decimals for fractions). They hold the shapes no
public output we found shows: fio 2.x (latencies in usec under "lat", bandwidth in KiB/s only, no
I/O counts), client/server output, --status-interval, json+ bins, a job with an error, a trim-only
job, split block sizes, repeated keys and a Windows device path. Their numbers are those of
benson-3.33-signal-rw.json and fioplot-3.1-randread-no-bw-bytes.json, moved where each shape needs
them. Run it from anywhere; it rewrites the files next to it."""
import json
import os

HERE = os.path.dirname(os.path.abspath(__file__))


class Pairs(list):
    """An object whose keys may repeat, as fio writes "filename" once per target."""


def dump(value, indent=0):
    pad = ' ' * indent
    if isinstance(value, (dict, Pairs)):
        items = value.items() if isinstance(value, dict) else value
        inner = [f'{pad}  {json.dumps(k)} : {dump(v, indent + 2)}' for k, v in items]
        return '{\n' + ',\n'.join(inner) + f'\n{pad}}}' if inner else '{}'
    if isinstance(value, list):
        inner = [f'{pad}  {dump(v, indent + 2)}' for v in value]
        return '[\n' + ',\n'.join(inner) + f'\n{pad}]' if inner else '[]'
    if isinstance(value, float):
        return f'{value:.6f}'
    return json.dumps(value)


def load(name):
    text = open(os.path.join(HERE, name)).read()
    return json.loads(text[text.index('{'):])


REAL = load('benson-3.33-signal-rw.json')
JOB = REAL['jobs'][0]


def fio2_direction(direction):
    """A fio 3.x direction as fio 2.x wrote it: io_bytes in KiB, no bw_bytes or counts, usec latencies."""
    lat = direction['lat_ns']
    clat = direction['clat_ns']
    usec = lambda ns: ns / 1000.0
    return {
        'io_bytes': direction['io_kbytes'], 'bw': direction['bw'], 'iops': direction['iops'],
        'runtime': direction['runtime'],
        'slat': {k: usec(direction['slat_ns'][k]) for k in ('min', 'max', 'mean', 'stddev')},
        'clat': {'min': clat['min'] // 1000, 'max': clat['max'] // 1000, 'mean': usec(clat['mean']),
                 'stddev': usec(clat['stddev']),
                 'percentile': {k: v // 1000 for k, v in clat.get('percentile', {}).items()}},
        'lat': {'min': lat['min'] // 1000, 'max': lat['max'] // 1000, 'mean': usec(lat['mean']),
                'stddev': usec(lat['stddev'])},
        'bw_min': direction['bw_min'], 'bw_max': direction['bw_max'], 'bw_agg': direction['bw_agg'],
        'bw_mean': direction['bw_mean'], 'bw_dev': direction['bw_dev'],
    }


def fio2():
    read, write = fio2_direction(JOB['read']), fio2_direction(JOB['write'])
    idle = {k: (0.0 if isinstance(v, float) else 0) for k, v in fio2_direction(JOB['trim']).items()
            if not isinstance(v, dict)}
    jobs = [
        # Options in the job file: a write job.
        {'jobname': 'seq-write', 'groupid': 0, 'error': 0,
         'job options': {'name': 'seq-write', 'rw': 'write', 'bs': '1m', 'iodepth': '8'},
         'read': idle, 'write': write, 'trim': idle, 'usr_cpu': 1.087927, 'sys_cpu': 9.178172},
        # Options on the command line, which fio 2.x did not repeat: the I/O done says the direction.
        {'jobname': 'cmdline', 'groupid': 0, 'error': 0, 'read': read, 'write': write, 'trim': idle,
         'usr_cpu': 1.087927, 'sys_cpu': 9.178172},
    ]
    return {'fio version': 'fio-2.2.10', 'timestamp': 1444144664, 'time': 'Tue Oct  6 11:17:44 2015',
            'jobs': jobs}


def client_server():
    def host_job(name, host, scale):
        job = json.loads(json.dumps(JOB))
        job['jobname'] = name
        job['hostname'] = host
        job['port'] = 8765
        for direction in ('read', 'write'):
            for key in ('bw_bytes', 'bw', 'iops', 'total_ios', 'io_bytes', 'io_kbytes'):
                job[direction][key] = type(job[direction][key])(job[direction][key] * scale)
        return job
    first, second = host_job('sequential_read', 'sqlnode1', 1), host_job('sequential_read', 'sqlnode2', 0.5)
    total = json.loads(json.dumps(first))
    total['jobname'] = 'All clients'
    del total['hostname'], total['port']
    for direction in ('read', 'write'):
        for key in ('bw_bytes', 'bw', 'iops', 'total_ios', 'io_bytes', 'io_kbytes'):
            total[direction][key] = first[direction][key] + second[direction][key]
    return {'fio version': 'fio-3.33', 'timestamp': 1684700613, 'time': 'Sun May 21 14:23:33 2023',
            'global options': REAL['global options'], 'client_stats': [first, second, total]}


def status_interval():
    final = json.loads(json.dumps(REAL))
    early = json.loads(json.dumps(REAL))
    for direction in ('read', 'write'):
        for key in ('iops', 'bw_bytes', 'bw', 'total_ios'):
            early['jobs'][0][direction][key] = type(early['jobs'][0][direction][key])(
                early['jobs'][0][direction][key] / 3)
    return ('fio: file hash not empty on exit\n' + dump(early) + '\n' + dump(final) + '\n')


def traps():
    mixed = json.loads(json.dumps(JOB))
    mixed['jobname'] = 'oltp'
    # Two targets: fio repeats "filename" in the job options.
    mixed['job options'] = Pairs([('name', 'oltp'), ('rw', 'randrw'), ('rwmixread', '70'), ('bs', '4k,64k'),
                                  ('iodepth', '32'), ('filename', '\\\\.\\PhysicalDrive1'),
                                  ('filename', '\\\\.\\PhysicalDrive2')])
    # json+ adds each direction's latency histogram in "bins".
    for direction in ('read', 'write'):
        mixed[direction]['clat_ns']['bins'] = {'16896': 12, '17152': 40, '20480': 1033, '1130496': 7}
    trim = json.loads(json.dumps(JOB))
    trim['jobname'] = 'discard'
    trim['job options'] = {'name': 'discard', 'rw': 'randtrim', 'bs': '1m'}
    trim['trim'], trim['read'], trim['write'] = trim['read'], trim['trim'], json.loads(json.dumps(trim['trim']))
    failed = json.loads(json.dumps(JOB))
    failed['jobname'] = 'log-writer'
    failed['error'] = 5
    failed['job options'] = {'name': 'log-writer', 'rw': 'write', 'bs': '60k', 'filename': 'L:\\sqllog\\fio.dat'}
    for direction in ('read', 'write'):
        failed[direction] = json.loads(json.dumps(JOB['trim']))
    return {'fio version': 'fio-3.35', 'timestamp': 1700000000, 'timestamp_ms': 1700000000000,
            'time': 'Tue Nov 14 22:13:20 2023',
            'global options': {'ioengine': 'windowsaio', 'direct': '1', 'thread': '1', 'time_based': '1',
                               'runtime': '60'},
            'jobs': [mixed, trim, failed]}


def main():
    outputs = {
        'hand-2.2.10-lat-usec.json': dump(fio2()) + '\n',
        'hand-3.33-client-server.json': dump(client_server()) + '\n',
        'hand-3.33-status-interval.log': status_interval(),
        'hand-3.35-jsonplus-windows-traps.json': dump(traps()) + '\n',
    }
    for name, text in outputs.items():
        with open(os.path.join(HERE, name), 'w', newline='\n') as out:
            out.write(text)


if __name__ == '__main__':
    main()
