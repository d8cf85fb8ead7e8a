#!/usr/bin/env python3
"""mirel-cli against standin.py, a controller that shares no code with it:
the download, upload and `download --verify` roads, on clean lines and on
lines with late, lost, damaged, split and noisy answers. Every road ends in
an exact comparison of the bytes.

Usage: cli_roads.py --cli PATH/mirel-cli [unittest options]
"""
import argparse
import fcntl
import os
import subprocess
import sys
import tempfile
import threading
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
STANDIN = os.path.join(HERE, 'standin.py')
PROJECTS = os.path.join(HERE, '..', 'data', 'sync')
CLI = None

# Projects whose tables take the three shapes of a download: an end packet
# alone (under 512 bytes), one middle packet and an end, two middle packets
# and an end.
SHAPES = {
    'derived02.cpro': ('STM32F103RE', 0),
    'derived05.cpro': ('STM32F407ZG', 1),
    'derived12.cpro': ('STM32F407ZG', 2),
}


def read(path):
    with open(path, 'rb') as f:
        return f.read()


class StandIn:
    """standin.py running for the length of a with block."""

    def __init__(self, *options):
        self.options = list(options)

    def __enter__(self):
        self.process = subprocess.Popen([sys.executable, STANDIN] + self.options,
                                        stdout=subprocess.PIPE, text=True)
        self.device = self.process.stdout.readline().strip()
        if not self.device.startswith('/'):
            self.process.kill()
            raise RuntimeError('standin.py gave no device path')
        return self

    def __exit__(self, *_):
        self.process.terminate()
        self.process.wait(10)
        self.process.stdout.close()


class CliRoads(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def path(self, name):
        return os.path.join(self.dir.name, name)

    def cli(self, *args, expect=0):
        done = subprocess.run([CLI] + list(args), capture_output=True, text=True, timeout=120)
        self.assertEqual(done.returncode, expect,
                         'mirel-cli %s\n%s%s' % (' '.join(args), done.stdout, done.stderr))
        return done.stdout

    def table_of(self, project):
        """The table the program sends for a project (its transfer form)."""
        out = self.path('expected.bin')
        self.cli('table', project, '-o', out, '--raw')
        return read(out)

    def served(self, table):
        """A file holding the table a stand-in answers uploads from."""
        path = self.path('served.bin')
        with open(path, 'wb') as f:
            f.write(table)
        return path

    def requests(self, log, command=None):
        """The requests the stand-in took: all, or those of one command
        ('31' download, '32' upload)."""
        lines = [line.split() for line in read(log).decode().splitlines()]
        return [r for r in lines if command is None or r[1].startswith(command)]

    def test_download_sends_the_table_in_blocks(self):
        for name, (chip, middles) in SHAPES.items():
            with self.subTest(project=name):
                project = os.path.join(PROJECTS, name)
                table = self.table_of(project)
                saved, log = self.path(name + '.saved'), self.path(name + '.log')
                with StandIn('--save', saved, '--log', log) as controller:
                    self.cli('download', '--port', controller.device, project)
                self.assertEqual(read(saved), table)
                # Activation, 523-byte middles, an end with the rest; then the
                # read-back.
                self.assertEqual(len(table) // 512, middles)
                sizes = [int(r[2]) for r in self.requests(log, '31')]
                self.assertEqual(len(self.requests(log, '32')), middles + 2)
                self.assertEqual(sizes, [11] + [523] * middles + [11 + len(table) - 512 * middles])

    def test_upload_reads_the_table_back(self):
        for name, (chip, _) in SHAPES.items():
            with self.subTest(project=name):
                project = os.path.join(PROJECTS, name)
                table = self.table_of(project)
                served = self.served(table)
                uploaded = self.path(name)
                with StandIn('--table', served) as controller:
                    self.cli('upload', '--port', controller.device, '--chip', chip, '-o', uploaded)
                    self.cli('upload', '--port', controller.device, '--chip', chip, '--compare',
                             project)
                self.assertEqual(self.table_of(uploaded), table)

    def test_an_empty_controller_is_a_difference(self):
        project = os.path.join(PROJECTS, 'derived12.cpro')
        with StandIn() as controller:  # it holds no table: a length of 0
            out = self.cli('upload', '--port', controller.device, '--chip', 'STM32F103RE',
                           '--compare', project, expect=1)
        self.assertIn('没有配置表', out)

    def test_download_verify_reads_back_what_was_stored(self):
        project = os.path.join(PROJECTS, 'derived12.cpro')
        table = self.table_of(project)
        with StandIn() as controller:
            out = self.cli('download', '--port', controller.device, project, '--verify')
        self.assertIn('校验一致', out)
        # A controller that stores one byte wrong is caught at that byte.
        for offset in (0, 600, len(table) - 1):
            with self.subTest(offset=offset), StandIn('--store-wrong', str(offset)) as controller:
                out = self.cli('download', '--port', controller.device, project, '--verify',
                               expect=1)
                self.assertIn('校验不一致', out)
                self.assertIn('偏移%d处' % offset, out)

    def test_late_answers_never_give_a_wrong_table(self):
        # Two answers each seconds late, then a refused block: the download
        # is confirmed and sent again as needed; the uploads read until two
        # reads agree. Exact or failed, never a wrong table with success.
        project = os.path.join(PROJECTS, 'derived12.cpro')
        table = self.table_of(project)
        served = self.served(table)
        for faults in ('3=late:5000,4=late:5000,6=refused', '2=late:2500,3=late:2500,4=refused',
                       '2=late:5000,3=late:5000'):
            with self.subTest(faults=faults, road='download'):
                saved = self.path('saved.bin')
                if os.path.exists(saved):
                    os.remove(saved)
                with StandIn('--save', saved, '--faults', faults) as controller:
                    out = self.cli('download', '--port', controller.device, project,
                                   '--no-verify')
                self.assertEqual(read(saved), table)
                self.assertIn('校验一致', out)
            for road in ('--raw-out', '-o', '--compare'):
                with self.subTest(faults=faults, road=road):
                    target = self.path('up' + ('.bin' if road == '--raw-out' else '.cpro'))
                    args = [road, project if road == '--compare' else target]
                    faulty = faults.replace('refused', 'corrupt')
                    with StandIn('--table', served, '--faults', faulty) as controller:
                        self.cli('upload', '--port', controller.device, '--chip',
                                 'STM32F407ZG', *args)
                    if road == '--raw-out':
                        self.assertEqual(read(target), table)
                    elif road == '-o':
                        self.assertEqual(self.table_of(target), table)

    def test_trickling_controller_fails_once_and_quickly(self):
        # A byte a second: the request and its three repeats, then the end,
        # naming the cause; the whole transfer is not tried again.
        project = os.path.join(PROJECTS, 'derived02.cpro')
        trickle = ','.join('%d=trickle:1000' % n for n in range(1, 13))
        for road in (['download', project], ['upload', '--chip', 'STM32F103RE', '-o',
                                             self.path('up.cpro')]):
            with self.subTest(road=road[0]):
                log = self.path(road[0] + '.log')
                with StandIn('--faults', trickle, '--log', log) as controller:
                    started = time.monotonic()
                    done = subprocess.run([CLI, road[0], '--port', controller.device] + road[1:],
                                          capture_output=True, text=True, timeout=120)
                    took = time.monotonic() - started
                self.assertEqual(done.returncode, 1, done.stdout + done.stderr)
                self.assertIn('控制器发送过慢', done.stdout.splitlines()[-1])
                self.assertLess(took, 20)
                self.assertEqual(len(self.requests(log)), 4)

    def test_a_block_slow_in_every_read_is_never_shifted(self):
        # The first block is answered 4.5 s late whenever it is asked for:
        # its repeat's answer comes after the next block was asked for, and
        # has that block's header.
        project = os.path.join(PROJECTS, 'derived12.cpro')
        table = self.table_of(project)
        served = self.served(table)
        raw = self.path('up.bin')
        with StandIn('--table', served, '--slow-block', '0=4500') as controller:
            self.cli('upload', '--port', controller.device, '--chip', 'STM32F407ZG',
                     '--raw-out', raw)
        self.assertEqual(read(raw), table)

    def test_a_record_locked_elsewhere_stalls_no_transfer(self):
        # Another program takes the record's lock once the transfers have
        # begun and keeps it 3 s: both ports go on at their pace, and each
        # row is written once the lock is free.
        project = os.path.join(PROJECTS, 'derived12.cpro')
        record, log = self.path('line.csv'), self.path('lock.log')
        with open(record, 'w') as f:
            f.write('time,port,serial_number,project,table_bytes,table_crc16,outcome,seconds,'
                    'verify\n')
        holder = open(record, 'a')
        self.addCleanup(holder.close)

        def hold():
            while not os.path.exists(log) or not read(log):
                time.sleep(0.005)
            fcntl.flock(holder, fcntl.LOCK_EX)
            time.sleep(3)
            fcntl.flock(holder, fcntl.LOCK_UN)

        with StandIn('--log', log) as one, StandIn() as two:
            thread = threading.Thread(target=hold)
            thread.start()
            done = subprocess.run([CLI, 'download', '--port', one.device, '--port', two.device,
                                   project, '--record', record],
                                  capture_output=True, text=True, timeout=120)
            thread.join()
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        self.assertIn('waiting for the lock', done.stderr)
        rows = [line.split(',') for line in read(record).decode().splitlines()[1:]]
        self.assertEqual(sorted(r[1] for r in rows), sorted([one.device, two.device]))
        for row in rows:
            self.assertEqual(row[6], 'ok')
            self.assertLess(float(row[7]), 2.5)

    def test_link_options_as_users_give_them(self):
        project = os.path.join(PROJECTS, 'derived12.cpro')
        table = self.table_of(project)
        saved = self.path('saved.bin')
        os.mkdir(self.path('t'))
        with StandIn('--save', saved) as controller:
            os.symlink(controller.device, self.path('t/link'))
            # A relative path, as a project's; and a wait no line can keep.
            done = subprocess.run([CLI, 'download', '--port', 't/link', project, '--no-verify',
                                   '--timeout-ms', '1'], cwd=self.dir.name,
                                  capture_output=True, text=True, timeout=120)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        self.assertEqual(read(saved), table)
        self.assertIn('--timeout-ms 1 is shorter than the line time', done.stderr)
        self.assertNotIn('重发', done.stdout)

    def test_a_download_after_a_killed_one_starts_on_a_clean_line(self):
        project = os.path.join(PROJECTS, 'derived12.cpro')
        table = self.table_of(project)
        saved, log = self.path('saved.bin'), self.path('killed.log')
        # The second block's answer comes 300 ms late: the program is gone
        # by then, and the answer waits on the line for the next one, whose
        # activation is answered after a pause in which it is judged.
        with StandIn('--save', saved, '--log', log, '--faults', '3=late:300,4=late:100') \
                as controller:
            killed = subprocess.Popen([CLI, 'download', '--port', controller.device, project],
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            deadline = time.monotonic() + 30
            while len(self.requests(log) if os.path.exists(log) else []) < 3:
                self.assertLess(time.monotonic(), deadline, 'the download never got going')
                time.sleep(0.01)
            killed.kill()
            killed.wait()
            time.sleep(0.5)
            out = self.cli('download', '--port', controller.device, project, '--no-verify')
        self.assertEqual(read(saved), table)
        self.assertNotIn('重新下载', out)

    def test_faulty_lines_still_carry_the_exact_bytes(self):
        # Requests: 1 activation, 2 and 3 middle packets, 4 end.
        project = os.path.join(PROJECTS, 'derived12.cpro')
        table = self.table_of(project)
        served = self.served(table)
        link = ['--timeout-ms', '300', '--retries', '3']
        # The faults and whether they cost a repeated request.
        for faults, repeated in (('1=late:700', True), ('2=lost', True), ('3=corrupt', True),
                                 ('2=split:60', False), ('4=noise', False),
                                 ('1=noise,2=corrupt,4=late:500', True),
                                 # A late answer whose repeat is answered too, then a
                                 # lost, a damaged or another late answer.
                                 ('2=late:500,4=lost', True), ('2=late:500,3=corrupt', True),
                                 ('2=late:500,4=late:500', True)):
            with self.subTest(faults=faults):
                saved, log = self.path('saved.bin'), self.path(faults + '.download.log')
                with StandIn('--save', saved, '--faults', faults, '--log', log) as controller:
                    self.cli('download', '--port', controller.device, project, '--no-verify',
                             *link)
                self.assertEqual(read(saved), table)
                self.assertEqual(len(self.requests(log, '31')) > 4, repeated)
                # Read back only when something went other than planned.
                self.assertEqual(len(self.requests(log, '32')) > 0, repeated)
                uploaded, log = self.path('uploaded.cpro'), self.path(faults + '.upload.log')
                with StandIn('--table', served, '--faults', faults, '--log', log) as controller:
                    self.cli('upload', '--port', controller.device, '--chip', 'STM32F407ZG',
                             '-o', uploaded, *link)
                self.assertEqual(self.table_of(uploaded), table)
                # A repeat costs a second read of the whole table.
                self.assertEqual(len(self.requests(log)) > 4, repeated)
                activations = len([r for r in self.requests(log) if r[1] == '3201'])
                self.assertEqual(activations > 1, repeated)


def main():
    global CLI
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--cli', required=True, help='the mirel-cli program')
    args, rest = parser.parse_known_args()
    CLI = os.path.abspath(args.cli)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == '__main__':
    main()
