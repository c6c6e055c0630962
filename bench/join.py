"""Times `morlend --join` against `cat` of the same pieces into one file. Run it through
bench/join.sh, which says how.

A source of random bytes is cut here into pieces named as a cut names them, with the join
script a cut writes; then in each round the two join the same pieces, taking turns at going
first, each into a fresh folder on the same file system, each started the same time after the
last run's output was removed. `cat` gets the pieces in order from `xargs`, since a set of
thousands of pieces is longer than one command line may be. Both are timed as whole processes,
from their start to their end, and every output is checked to be the source. Beside the time
each run took, it prints the processor time it took (user and system, of the process and all
it waited for): on a machine that runs other work besides, the time a run takes varies with
that work, and what a run costs is read better from its processor time.
"""

import argparse
import hashlib
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from compare import parse_size

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAM = os.path.join(REPO, 'build', 'morlend')
NAME = 'source.bin'
# As for the cut's comparison: a run starts this long after the last run's output was removed,
# so that neither reuses the memory the other just freed (bench/README.md says why).
START_SECONDS = 3
BLOCK = 8 * 1024 * 1024


def parse_arguments():
    parser = argparse.ArgumentParser(prog='bench/join.sh',
                                     description='Times morlend --join against cat.')
    parser.add_argument('--source-size', default='1G',
                        help='bytes, or with K, M, G (powers of 1024); default 1G')
    parser.add_argument('--piece-size', type=int, default=1457664, help='default 1457664')
    parser.add_argument('--runs', type=int, default=5,
                        help='rounds of one run of each, taking turns at going first; default 5')
    parser.add_argument('--work', default=os.path.join(REPO, 'build'),
                        help='folder in which the pieces and the outputs are made; default '
                             'build/')
    arguments = parser.parse_args()
    arguments.source_bytes = parse_size(arguments.source_size)
    if min(arguments.source_bytes, arguments.piece_size, arguments.runs) <= 0:
        parser.error('sizes and the number of runs must be positive')
    return arguments


def quoted(name):
    return '"' + name.replace('%', '%%') + '"'


def processor_time():
    """The user and system time of every process this one has waited for, in seconds."""
    used = resource.getrusage(resource.RUSAGE_CHILDREN)
    return used.ru_utime + used.ru_stime


def make_set(folder, size, piece_size):
    """Random bytes cut into pieces as a cut names them, with the script a cut writes; returns
    the pieces' names, in order, and the digest of the whole."""
    digest = hashlib.sha256()
    names = []
    lines = ['@echo off', f'ren {quoted(NAME + ".1")} {quoted(NAME)}']
    written = 0
    while written < size:
        name = f'{NAME}.{len(names) + 1}'
        length = min(piece_size, size - written)
        content = os.urandom(length) if length <= BLOCK else None
        with open(os.path.join(folder, name), 'wb') as piece:
            if content is not None:
                piece.write(content)
                digest.update(content)
            else:
                for at in range(0, length, BLOCK):
                    block = os.urandom(min(BLOCK, length - at))
                    piece.write(block)
                    digest.update(block)
        if names:
            lines += [f'copy /b {quoted(NAME)}+{quoted(name)} {quoted(NAME)}',
                      f'del {quoted(name)}']
        names.append(name)
        written += length
    lines.append(f'del {quoted(NAME + ".bat")}')
    with open(os.path.join(folder, NAME + '.bat'), 'wb') as script:
        script.write('\r\n'.join(lines).encode('ascii'))
    return names, digest.hexdigest()


def digest_of(path):
    digest = hashlib.sha256()
    with open(path, 'rb') as file:
        while block := file.read(BLOCK):
            digest.update(block)
    return digest.hexdigest()


def run_ours(pieces, output):
    return subprocess.run([PROGRAM, '--join', os.path.join(pieces, NAME + '.bat'), '--to',
                           output], stdin=subprocess.DEVNULL, capture_output=True, text=True)


def run_cat(pieces, output, listing):
    with open(os.path.join(output, NAME), 'wb') as whole:
        return subprocess.run(['xargs', '-0', '-a', listing, 'cat'], cwd=pieces,
                              stdin=subprocess.DEVNULL, stdout=whole, stderr=subprocess.PIPE,
                              text=True)


def main():
    arguments = parse_arguments()
    work = tempfile.mkdtemp(prefix='morlend-join-bench-', dir=arguments.work)
    try:
        pieces = os.path.join(work, 'pieces')
        os.makedirs(pieces)
        names, expected = make_set(pieces, arguments.source_bytes, arguments.piece_size)
        listing = os.path.join(work, 'listing')
        with open(listing, 'wb') as file:
            file.write(b'\0'.join(name.encode() for name in names))
        subprocess.run(['sync'], check=True)
        print(f'{arguments.source_bytes} bytes in {len(names)} pieces of '
              f'{arguments.piece_size}, {arguments.runs} rounds')
        contenders = {'ours': lambda output: run_ours(pieces, output),
                      'cat': lambda output: run_cat(pieces, output, listing)}
        times = {name: [] for name in contenders}
        processor = {name: [] for name in contenders}
        for round_number in range(arguments.runs):
            order = list(contenders) if round_number % 2 == 0 else list(reversed(contenders))
            for name in order:
                output = os.path.join(work, f'{name}-{round_number}')
                os.makedirs(output)
                time.sleep(START_SECONDS)
                used_before = processor_time()
                started = time.monotonic()
                finished = contenders[name](output)
                seconds = time.monotonic() - started
                used = processor_time() - used_before
                if finished.returncode != 0:
                    sys.exit(f'{name} failed: {finished.stderr}')
                if digest_of(os.path.join(output, NAME)) != expected:
                    sys.exit(f'{name} did not join the source')
                times[name].append(seconds)
                processor[name].append(used)
                load = os.getloadavg()[0]
                print(f'round {round_number + 1} {name:4} {seconds:7.3f} s, processor {used:6.3f} s'
                      f'  (load {load:.2f})')
                shutil.rmtree(output)
                subprocess.run(['sync'], check=True)
        for what, figures in (('time', times), ('processor', processor)):
            medians = {name: statistics.median(values) for name, values in figures.items()}
            for name, values in figures.items():
                print(f'{what} {name:4}: {", ".join(f"{value:.3f}" for value in values)} s; '
                      f'median {medians[name]:.3f} s')
            print(f'{what} ours / cat: {medians["ours"] / medians["cat"]:.2f}')
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    main()
