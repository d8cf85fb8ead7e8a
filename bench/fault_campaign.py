#!/usr/bin/env python3
"""A seeded campaign of faulty lines: downloads and uploads of the largest
configuration table through tests/standin/standin.py (a controller that
shares no code with the program), each run with two or three faults (late,
very late, lost, corrupt, split, refused, noise) on random requests, at the
link's default wait and repeats. Every other run also has a block that the
controller answers 3 to 8 s late whenever it is asked for (--slow-block), in
every read: the road where a repeat's answer comes after the next request. Every run must end exact (exit 0 and the
very bytes) or failed (a non-zero exit): a wrong table with exit 0 is the
one result never allowed.

Prints a line per run and then the counts; exits 1 when any run was wrong,
when fewer than --min-exact of the runs were exact, or when a run took
longer than --max-seconds.

usage: bench/fault_campaign.py [--build build] [--runs 200] [--seed 1]
"""
import argparse
import os
import random
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
STANDIN = os.path.join(HERE, '..', 'tests', 'standin', 'standin.py')

FAULTS = ('late', 'very late', 'lost', 'corrupt', 'split', 'refused', 'noise')


def fault_text(rng, name):
    if name == 'late':
        return 'late:%d' % rng.randint(2100, 3000)
    if name == 'very late':
        return 'late:%d' % rng.randint(4000, 6000)
    if name == 'split':
        return 'split:%d' % rng.randint(20, 200)
    return name


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def run(rng, args, work, table, chip, project, slow):
    download = rng.random() < 0.5
    # A clean transfer of the largest table takes some 12 requests; faults
    # fall among the first 16, read-backs and repeats included.
    count = rng.choice((2, 3))
    numbers = sorted(rng.sample(range(1, 17), count))
    names = [rng.choice(FAULTS if download else FAULTS[:5] + FAULTS[6:]) for _ in numbers]
    faults = ','.join('%d=%s' % (n, fault_text(rng, f)) for n, f in zip(numbers, names))
    saved = os.path.join(work, 'saved.bin')
    raw = os.path.join(work, 'raw.bin')
    for path in (saved, raw):
        if os.path.exists(path):
            os.remove(path)
    options = ['--faults', faults]
    if slow:
        block = rng.randrange(0, (len(table) + 511) // 512) * 512
        late = rng.randint(3000, 8000)
        options += ['--slow-block', '%d=%d' % (block, late)]
        faults += ' slow %d=%d' % (block, late)
    options += ['--save', saved] if download else ['--table', os.path.join(work, 'served.bin')]
    standin = subprocess.Popen([sys.executable, STANDIN] + options, stdout=subprocess.PIPE,
                               text=True)
    try:
        device = standin.stdout.readline().strip()
        if download:
            command = [args.cli, 'download', '--port', device, project]
        else:
            command = [args.cli, 'upload', '--port', device, '--chip', chip, '--raw-out', raw]
        started = time.monotonic()
        done = subprocess.run(command, capture_output=True, text=True, timeout=300)
        seconds = time.monotonic() - started
    finally:
        standin.terminate()
        standin.wait(10)
        standin.stdout.close()
    got = read(saved if download else raw) if os.path.exists(saved if download else raw) else b''
    if done.returncode != 0:
        outcome = 'failed'
    elif got == table:
        outcome = 'exact'
    else:
        outcome = 'WRONG'
    kind = 'download' if download else 'upload'
    print('%-8s %-72s %-6s %5.1f s' % (kind, faults, outcome, seconds), flush=True)
    if outcome == 'WRONG':
        print(done.stdout + done.stderr, file=sys.stderr)
    return outcome, seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--build', default='build')
    parser.add_argument('--runs', type=int, default=200)
    parser.add_argument('--seed', type=int, default=1)
    parser.add_argument('--min-exact', type=float, default=0.9)
    parser.add_argument('--max-seconds', type=float, default=60.0)
    args = parser.parse_args()
    binary = os.path.join(args.build, 'bin')
    args.cli = os.path.join(binary, 'mirel-cli')
    largest = os.path.join(binary, 'bench_largest_table')
    for program in (args.cli, largest):
        if not os.access(program, os.X_OK):
            sys.exit('fault_campaign: %s is missing; build mirel-cli bench_largest_table' % program)
    with tempfile.TemporaryDirectory() as work:
        project = os.path.join(work, 'largest.cpro')
        subprocess.run([largest, project], check=True, capture_output=True)
        expected = os.path.join(work, 'expected.bin')
        subprocess.run([args.cli, 'table', project, '-o', expected, '--raw'], check=True,
                       capture_output=True)
        table = read(expected)
        with open(os.path.join(work, 'served.bin'), 'wb') as f:
            f.write(table)
        chip = 'STM32F407ZG'
        rng = random.Random(args.seed)
        results = [run(rng, args, work, table, chip, project, n % 2 == 1)
                   for n in range(args.runs)]
    counts = {k: sum(1 for o, _ in results if o == k) for k in ('exact', 'failed', 'WRONG')}
    slowest = max(s for _, s in results)
    print('%d runs: %d exact, %d failed, %d wrong; slowest %.1f s'
          % (len(results), counts['exact'], counts['failed'], counts['WRONG'], slowest))
    bad = (counts['WRONG'] > 0 or counts['exact'] < args.min_exact * len(results)
           or slowest > args.max_seconds)
    sys.exit(1 if bad else 0)


if __name__ == '__main__':
    main()
