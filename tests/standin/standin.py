#!/usr/bin/env python3
"""A stand-in controller on a pseudo-terminal, written from the frame
description alone: it shares no code with the program it talks to.

Every frame ends with CRC-16/MODBUS (reflected polynomial 0xA001, start
0xFFFF, low byte first). A header is: command (0x31 download, 0x32 upload),
kind (0x01 activation, 0x02 middle, 0x03 end), 0x00, the kind again, the chip
code (0x01 STM32F103RE, 0x10 STM32F407ZG). Integers are uint32 little-endian.

Requests                                   Answers
31 01 00 01 chip total            (11)     header + free space          (11)
31 02 00 02 chip offset + 512     (523)    header + status (0x01 ok)    (8)
31 03 00 03 chip offset + 1..512           header + status              (8)
32 01 00 01 chip                  (7)      header + table length        (11)
32 02 00 02 chip offset           (11)     header + 512 table bytes     (519)
32 03 00 03 chip offset           (11)     header + the rest            (rest + 7)

The first line of standard output is the device path. Requests are counted
from 1 in the order they arrive whole with a good checksum; --faults names
what happens to the answers of some of them:
    late:MS   the answer comes MS milliseconds late
    lost      no answer
    corrupt   one byte of the answer is changed (its checksum no longer fits)
    split:MS  the answer comes in two halves, MS milliseconds apart
    noise     four stray bytes come in front of the answer
    refused   a download block is answered with status 0x00 and not stored
    trickle:MS  the answer's bytes come one at a time, MS milliseconds apart
e.g. --faults 2=late:600,3=corrupt. --slow-block OFFSET=MS makes every
request for the block at OFFSET (upload and download alike) answered MS
milliseconds late, in every read: a controller slow in one place. Answers
go out in the order of their
requests, each after the one before, as a single-threaded controller sends
them, also after the program that asked has gone: a killed program leaves
them on the line. Runs until SIGTERM or SIGINT.
"""
import argparse
import os
import select
import signal
import struct
import sys
import time
import tty

DOWNLOAD, UPLOAD = 0x31, 0x32
ACTIVATION, MIDDLE, END = 0x01, 0x02, 0x03
BLOCK = 512
LINE_BYTES_PER_S = 11520  # 115200 baud, 10 bits a byte


def crc16_modbus(data):
    crc = 0xFFFF
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def checksum_fits(frame):
    return struct.unpack('<H', frame[-2:])[0] == crc16_modbus(frame[:-2])


def framed(body):
    return body + struct.pack('<H', crc16_modbus(body))


def parse_faults(text):
    faults = {}
    for item in filter(None, (text or '').split(',')):
        number, _, fault = item.partition('=')
        name, _, ms = fault.partition(':')
        if name not in ('late', 'lost', 'corrupt', 'split', 'noise', 'refused', 'trickle'):
            raise SystemExit('standin.py: unknown fault %r' % fault)
        if (name in ('late', 'split', 'trickle')) != bool(ms):
            raise SystemExit('standin.py: %s wants :MS only for late, split and trickle' % fault)
        faults[int(number)] = (name, int(ms) if ms else 0)
    return faults


def parse_slow(text):
    slow = {}
    for item in filter(None, (text or '').split(',')):
        offset, _, ms = item.partition('=')
        slow[int(offset)] = int(ms)
    return slow


class Controller:
    def __init__(self, args):
        self.free_space = args.buffer_space
        self.table = open(args.table, 'rb').read() if args.table else b''
        self.save = args.save
        self.store_wrong = args.store_wrong
        self.faults = parse_faults(args.faults)
        self.slow = parse_slow(args.slow_block)
        self.log = open(args.log, 'a') if args.log else None
        self.count = 0
        self.total = 0
        self.blocks = {}
        self.held = b''
        self.queue = []  # (when, bytes), in sending order
        self.free_at = 0.0

    def request_size(self):
        """The size of the request at the front of the held bytes; None when
        more bytes are needed, 0 when the front byte starts no request."""
        if len(self.held) < 2:
            return None
        command, kind = self.held[0], self.held[1]
        if command == DOWNLOAD and kind == ACTIVATION:
            return 11
        if command == DOWNLOAD and kind == MIDDLE:
            return 11 + BLOCK
        if command == DOWNLOAD and kind == END:
            if len(self.held) < 9:
                return None
            offset = struct.unpack_from('<I', self.held, 5)[0]
            rest = self.total - offset
            return 11 + rest if 1 <= rest <= BLOCK else 0
        if command == UPLOAD and kind == ACTIVATION:
            return 7
        if command == UPLOAD and kind in (MIDDLE, END):
            return 11
        return 0

    def take(self, data):
        self.held += data
        while True:
            size = self.request_size()
            if size is None or len(self.held) < size:
                return
            if size == 0 or not checksum_fits(self.held[:size]):
                self.held = self.held[1:]  # not a request here: look one byte on
                continue
            request, self.held = self.held[:size], self.held[size:]
            self.count += 1
            fault = self.faults.get(self.count, ('', 0))
            if not fault[0] and request[1] in (MIDDLE, END):
                offset = struct.unpack_from('<I', request, 5)[0]
                if offset in self.slow:
                    fault = ('late', self.slow[offset])
            answer = self.answer(request, fault[0] == 'refused')
            if self.log:
                self.log.write('%d %s %d %s %02x\n' % (self.count, request[:2].hex(),
                                                       len(request), fault[0] or 'ok',
                                                       request[4]))
                self.log.flush()
            self.schedule(answer, fault)

    def answer(self, request, refused=False):
        command, kind, chip = request[0], request[1], request[4]
        header = bytes([command, kind, 0x00, kind, chip])
        if command == DOWNLOAD and kind == ACTIVATION:
            self.total = struct.unpack_from('<I', request, 5)[0]
            self.blocks = {}
            return framed(header + struct.pack('<I', self.free_space))
        if command == DOWNLOAD:
            if refused:
                return framed(header + b'\x00')
            offset = struct.unpack_from('<I', request, 5)[0]
            self.blocks[offset] = request[9:-2]
            if kind == END:
                self.store()
            return framed(header + b'\x01')
        if kind == ACTIVATION:
            return framed(header + struct.pack('<I', len(self.table)))
        offset = struct.unpack_from('<I', request, 5)[0]
        size = BLOCK if kind == MIDDLE else max(0, len(self.table) - offset)
        return framed(header + self.table[offset:offset + size])

    def store(self):
        data, offset = b'', 0
        while offset in self.blocks and offset < self.total:
            data += self.blocks[offset]
            offset += len(self.blocks[offset])
        if len(data) != self.total:
            print('standin.py: download incomplete (%d of %d bytes)' % (len(data), self.total),
                  file=sys.stderr)
            return
        if self.store_wrong is not None and self.store_wrong < len(data):
            data = bytearray(data)
            data[self.store_wrong] ^= 0xFF
            data = bytes(data)
        self.table = data  # uploads read what was stored
        if self.save:
            with open(self.save + '.part', 'wb') as out:
                out.write(data)
            os.replace(self.save + '.part', self.save)

    def schedule(self, answer, fault):
        name, ms = fault
        start = max(time.monotonic() + 0.002, self.free_at)
        if name == 'late':
            start += ms / 1000
        if name == 'lost':
            return
        if name == 'corrupt':
            answer = bytearray(answer)
            answer[len(answer) // 2] ^= 0x44
            answer = bytes(answer)
        if name == 'noise':
            answer = b'\x00\xa5\x5a\x13' + answer
        if name == 'split':
            half = len(answer) // 2
            self.queue.append((start, answer[:half]))
            start += ms / 1000
            answer = answer[half:]
        if name == 'trickle':
            for byte in answer[:-1]:
                self.queue.append((start, bytes([byte])))
                start += ms / 1000
            answer = answer[-1:]
        self.queue.append((start, answer))
        self.free_at = start + len(answer) / LINE_BYTES_PER_S

    def next_wait(self):
        if not self.queue:
            return None
        return max(0.0, self.queue[0][0] - time.monotonic())

    def send_due(self, master):
        while self.queue and self.queue[0][0] <= time.monotonic():
            os.write(master, self.queue.pop(0)[1])


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--save', help='write each completed download to this file')
    parser.add_argument('--table', help='answer uploads from this file (else the last download)')
    parser.add_argument('--faults', help='faults by request number, e.g. 2=late:600,3=lost')
    parser.add_argument('--slow-block', metavar='OFFSET=MS,...',
                        help='answer every request for the block at OFFSET MS ms late')
    parser.add_argument('--buffer-space', type=int, default=65536,
                        help='free buffer space announced to downloads (default 65536)')
    parser.add_argument('--store-wrong', type=int, metavar='OFFSET',
                        help='store the downloaded byte at OFFSET changed')
    parser.add_argument('--log', help='append one line per request to this file: its number, '
                        'command and kind, size, fault and chip byte')
    args = parser.parse_args()
    controller = Controller(args)

    master, slave = os.openpty()
    tty.setraw(slave)
    # The slave stays open here too: the far end closing it is no hang-up.
    print(os.ttyname(slave), flush=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    signal.signal(signal.SIGINT, lambda *_: sys.exit(0))
    while True:
        ready, _, _ = select.select([master], [], [], controller.next_wait())
        if ready:
            try:
                controller.take(os.read(master, 4096))
            except OSError:
                return 0
        controller.send_due(master)


if __name__ == '__main__':
    sys.exit(main())
