"""Times Morlend against `split -b SIZE -d -a 6` and against bare_cut on one source, on one
file system. Run it through bench/compare.sh, which says how.

The headline is what a user gets: the built program on a real (virtual) X server, started
afresh for each run, the source dropped on it from the end-to-end suite's drag source, the
size and the folder typed and Enter pressed through XTEST, timed from the key press until the
join script is complete; nothing is run before it to favour it. The runs of the three take
turns at going first, into fresh folders, each the same time after the last run's pieces
were emptied. After them come the diagnostics: the same cut
through the window on Qt's offscreen platform, timed inside the process after an untimed
bare cut, as morlend_bench measures it; they say where the time goes, not what a user waits.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, 'tests', 'e2e'))

from morlend_e2e import accessibility as a11y  # noqa: E402
from morlend_e2e.drag_source import DragSource  # noqa: E402
from morlend_e2e.processes import Processes, peak_memory  # noqa: E402
from morlend_e2e.program import Morlend  # noqa: E402
from morlend_e2e.session import Session  # noqa: E402
from morlend_e2e.user import User  # noqa: E402
from morlend_e2e.waiting import wait_until  # noqa: E402

BUILD = os.path.join(REPO, 'build')
PROGRAM = os.path.join(BUILD, 'morlend')
DRAG_SOURCE = os.path.join(BUILD, 'tests', 'e2e', 'morlend_drag_source')
LOCALES = os.path.join(BUILD, 'tests', 'e2e', 'locales')
BENCH = os.path.join(BUILD, 'bench', 'morlend_bench')
BARE = os.path.join(BUILD, 'bench', 'bare_cut')
SOURCE_NAME = 'source.bin'
# ext4 passes over the inodes freed in the last minutes each time it makes a file, which
# slows the next comparison of thousands of pieces many times over: a comparison started
# within this many seconds of the last one's clean-up waits first.
SETTLE_SECONDS = 360
# A virtual machine that hands its free memory back to the host does so about two seconds
# after it is freed, and a run's writes are much slower on memory that went back. Each timed
# run starts this long after the last run's pieces were emptied, ours as much as the peers,
# as a user's cut starts long after the last big file went.
START_SECONDS = 3
# What a run may add to the program's memory, whatever the piece size.
MEMORY_ALLOWANCE = 96 * 1024 * 1024


def parse_arguments():
    parser = argparse.ArgumentParser(
        prog='bench/compare.sh',
        description='Times Morlend against split and bare_cut: what a user gets, then diagnostics.')
    parser.add_argument('--source-size', default='1G',
                        help='bytes, or with K, M, G (powers of 1024); default 1G')
    parser.add_argument('--piece-size', type=int, default=1457664, help='default 1457664')
    parser.add_argument('--runs', type=int, default=5,
                        help='rounds of one run of each, taking turns at going first; default 5')
    parser.add_argument('--sparse', action='store_true',
                        help='memory check: a sparse source, ours alone, peak memory against '
                             'the idle program plus 96 MiB')
    parser.add_argument('--accessibility', action='store_true',
                        help='leave assistive technology on during the timed runs, as for a '
                             'user of a screen reader (off by default, as on most desktops)')
    parser.add_argument('--no-diagnostics', action='store_true',
                        help='leave out the offscreen, in-process figures')
    parser.add_argument('--no-warm-up', action='store_true',
                        help='diagnostics only: time each in-process run right after the one '
                             'before it, without the untimed bare cut that otherwise comes first')
    parser.add_argument('--work', default=BUILD,
                        help='folder in which the source and the pieces are made; default build/')
    parser.add_argument('--keep', action='store_true', help='keep the work folder')
    arguments = parser.parse_args()
    arguments.source_bytes = parse_size(arguments.source_size)
    if arguments.piece_size <= 0 or arguments.source_bytes <= 0 or arguments.runs <= 0:
        parser.error('sizes and the number of runs must be positive')
    return arguments


def parse_size(text):
    units = {'K': 1 << 10, 'M': 1 << 20, 'G': 1 << 30}
    if text[-1:].upper() in units:
        return int(text[:-1]) * units[text[-1].upper()]
    return int(text)


def load():
    return '{:.2f} {:.2f} {:.2f}'.format(*os.getloadavg())


def median(values):
    return statistics.median(values)


def mib(count):
    return f'{count / (1 << 20):.1f} MiB'


def join_script(name, count):
    """The join script's bytes for count pieces of name."""
    lines = ['@echo off', f'ren "{name}.1" "{name}"']
    for index in range(2, count + 1):
        lines += [f'copy /b "{name}"+"{name}.{index}" "{name}"', f'del "{name}.{index}"']
    lines.append(f'del "{name}.bat"')
    return '\r\n'.join(lines).encode()


class Bench:
    def __init__(self, arguments):
        self.arguments = arguments
        self.piece_size = arguments.piece_size
        self.pieces = -(-arguments.source_bytes // self.piece_size)
        self.work = tempfile.mkdtemp(prefix='morlend-bench.', dir=arguments.work)
        self.source = os.path.join(self.work, SOURCE_NAME)
        self.settled = 0
        self.checked = set()

    # The source and the folders the pieces go into.

    def make_source(self):
        size = self.arguments.source_bytes
        if self.arguments.sparse:
            with open(self.source, 'wb') as source:
                source.truncate(size)
            print(f'source: {self.arguments.source_size} sparse ({size} bytes), '
                  f'{self.pieces} pieces of {self.piece_size} bytes')
            return
        with open(self.source, 'wb') as source, open('/dev/urandom', 'rb') as random:
            left = size
            while left:
                chunk = random.read(min(left, 1 << 24))
                source.write(chunk)
                left -= len(chunk)
        # Every tool reads the source from memory, not from the disk.
        subprocess.run(['cat', self.source], stdout=subprocess.DEVNULL, check=True)
        print(f'source: {self.arguments.source_size} in the page cache ({size} bytes), '
              f'{self.pieces} pieces of {self.piece_size} bytes')

    def out(self):
        return os.path.join(self.work, 'out')

    def settle(self):
        """Empties the last run's pieces and puts them aside, then syncs: each run starts on
        a settled disk, without another's files to write back. Emptied, they give back their
        memory and disk space as a removal would; removed, they would slow the next run's
        file making (ext4 passes over freed inodes)."""
        if os.path.isdir(self.out()):
            for entry in os.scandir(self.out()):
                os.truncate(entry.path, 0)
            self.settled += 1
            os.rename(self.out(), os.path.join(self.work, f'done.{self.settled}'))
        os.sync()

    def wait_for_start(self):
        """Settles, and waits until a run may start: the same for every contestant."""
        self.settle()
        time.sleep(START_SECONDS)

    def check_pieces(self, who):
        """Once for each of ours and bare: the pieces in order are the source."""
        if who in self.checked:
            return
        self.checked.add(who)
        with open(self.source, 'rb') as source:
            for index in range(1, self.pieces + 1):
                with open(os.path.join(self.out(), f'{SOURCE_NAME}.{index}'), 'rb') as piece:
                    if piece.read() != source.read(self.piece_size):
                        sys.exit(f'compare.sh: {who}\'s piece {index} differs from the source')

    # The peers, timed as whole processes: they start in a few milliseconds.

    def run_process(self, command):
        self.wait_for_start()
        os.makedirs(self.out())
        start = time.monotonic()
        subprocess.run(command, cwd=self.out(), check=True)
        return time.monotonic() - start

    def run_split(self):
        return self.run_process(['split', '-b', str(self.piece_size), '-d', '-a', '6',
                                 self.source, SOURCE_NAME + '.'])

    def run_bare(self):
        seconds = self.run_process([BARE, self.source, str(self.piece_size), '.'])
        self.check_pieces('bare')
        return seconds


class UserRuns:
    """Ours as a user runs it: a desktop of the end-to-end suite's, the program started
    afresh for every run, and the keys and the drop sent through the X server."""

    def __init__(self, bench, accessibility):
        self.bench = bench
        self.accessibility = accessibility
        self.processes = Processes()
        self.session = Session(self.processes)
        self.user = User(self.session)
        # What each run added to the program's memory at its peak.
        self.growths = []

    def __enter__(self):
        self.session.start()
        return self

    def __exit__(self, *_):
        self.session.stop()
        self.processes.close()

    def _assistive_technology(self, on):
        """Turns the desktop's assistive technology on or off, as its settings do; the
        program follows at once. The harness reads the window through it."""
        self.session.run(['dbus-send', '--session', '--print-reply', '--dest=org.a11y.Bus',
                          '/org/a11y/bus', 'org.freedesktop.DBus.Properties.Set',
                          'string:org.a11y.Status', 'string:IsEnabled',
                          f'variant:boolean:{"true" if on else "false"}'])

    def _prepare(self, morlend, folder):
        drag_source = DragSource(self.session, self.processes, DRAG_SOURCE)
        try:
            drag_source.drop(self.user, [self.bench.source],
                             a11y.extents(morlend.controls.drop_area).centre)
            morlend.activate(self.user)
            wait_until(lambda: morlend.file_text().startswith(self.bench.source + ' * '),
                       'the dropped source in the window')
            size = str(self.bench.piece_size)
            self.user.select_all_and_type(morlend.controls.size_text, size)
            morlend.wait_for(morlend.size_text, size)
            self.user.select_all_and_type(morlend.controls.folder_box, folder)
            morlend.wait_for(morlend.folder, folder)
            self.user.park_pointer()
        finally:
            drag_source.close()

    def run(self):
        bench = self.bench
        folder = bench.out()
        morlend = Morlend(self.session, self.processes, PROGRAM, LOCALES, bench.work).start()
        try:
            self._prepare(morlend, folder)
            idle = peak_memory(morlend.process.pid)
            script = os.path.join(folder, SOURCE_NAME + '.bat')
            expected = join_script(SOURCE_NAME, bench.pieces)
            if not self.accessibility:
                self._assistive_technology(False)
            bench.wait_for_start()
            start = time.monotonic()
            self.user.key('Return')
            while not self._complete(script, len(expected)):
                time.sleep(0.002)
            seconds = time.monotonic() - start
            if not self.accessibility:
                self._assistive_technology(True)
            finished = f'{bench.pieces}/{bench.pieces}'
            morlend.wait_for(morlend.progress, finished)
            with open(script, 'rb') as file:
                if file.read() != expected:
                    sys.exit('compare.sh: our join script differs from the expected one')
            self.growths.append(peak_memory(morlend.process.pid) - idle)
        finally:
            self.processes.stop(morlend.process)
        bench.check_pieces('ours')
        return seconds

    @staticmethod
    def _complete(script, length):
        try:
            return os.stat(script).st_size >= length
        except FileNotFoundError:
            return False


def wait_for_settled_disk(work_parent):
    stamp = os.path.join(work_parent, '.morlend-bench-removed')
    if os.path.exists(stamp):
        wait = SETTLE_SECONDS - (time.time() - os.stat(stamp).st_mtime)
        if wait > 0:
            print(f'waiting {wait:.0f} s for the file system to settle after the last '
                  'comparison', flush=True)
            time.sleep(wait)
    return stamp


def print_run(name, seconds, extra=''):
    print(f'  {name:<5} {seconds:8.3f} s  (load {load()}){extra}', flush=True)


def headline(bench, arguments):
    print(f'\nWhat a user gets: the program under Xvfb, Enter to the finished join script, '
          f'{arguments.runs} rounds, no warm-up; assistive technology '
          f'{"on" if arguments.accessibility else "off"} (load at start {load()})', flush=True)
    times = {'ours': [], 'split': [], 'bare': []}
    with UserRuns(bench, arguments.accessibility) as ours:
        contestants = [('ours', ours.run), ('split', bench.run_split), ('bare', bench.run_bare)]
        for round_number in range(arguments.runs):
            print(f'round {round_number + 1}', flush=True)
            for turn in range(len(contestants)):
                name, run = contestants[(round_number + turn) % len(contestants)]
                times[name].append(run())
                print_run(name, times[name][-1])
        growth = max(ours.growths)
    ours_median, split_median, bare_median = (median(times[n]) for n in ('ours', 'split', 'bare'))
    print(f'\nours:  median {ours_median:.3f} s\nsplit: median {split_median:.3f} s\n'
          f'bare:  median {bare_median:.3f} s')
    print(f'ratio ours / split: {ours_median / split_median:.2f}')
    print(f'ratio ours / bare:  {ours_median / bare_median:.2f}'
          '  (what the window, the progress and the script add)')
    print(f'ratio bare / split: {bare_median / split_median:.2f}'
          '  (our system calls alone against split)')
    print(f'load at the end: {load()}')
    return growth


def memory_check(bench, arguments):
    print(f'\nMemory: the program under Xvfb on the sparse source (load {load()})', flush=True)
    with UserRuns(bench, arguments.accessibility) as ours:
        for _ in range(arguments.runs):
            print_run('ours', ours.run(), f', peak memory {mib(ours.growths[-1])} above idle')
        return max(ours.growths)


def diagnostics(bench, arguments):
    """The in-process figures of morlend_bench on Qt's offscreen platform, each run after an
    untimed bare cut (unless told otherwise): where the time goes inside the run."""
    warm_up = not arguments.no_warm_up
    print(f'\nDiagnostics, not what a user gets: morlend_bench on Qt\'s offscreen platform, '
          f'timed inside the process{", each run after an untimed bare cut" if warm_up else ""}'
          f' (load {load()})', flush=True)
    seconds, runs = [], []
    for _ in range(arguments.runs):
        if warm_up:
            bench.run_bare()
        bench.settle()
        start = time.monotonic()
        report = subprocess.run([BENCH, bench.source, str(bench.piece_size), bench.out()],
                                capture_output=True, text=True)
        seconds.append(time.monotonic() - start)
        if report.returncode:
            sys.exit(f'compare.sh: morlend_bench failed:\n{report.stderr}{report.stdout}')
        fields = dict(line.split(' ', 1) for line in report.stdout.splitlines())
        runs.append(float(fields['seconds']))
        print_run('ours', seconds[-1], f'  (cutting run {runs[-1]:.3f} s, '
                  f'peak memory {mib(int(fields["peak_kib"]) * 1024)})')
    print(f'ours in-process: median {median(runs):.3f} s cutting run, '
          f'{median(seconds):.3f} s with the process\'s start-up')


def main():
    arguments = parse_arguments()
    for program in (PROGRAM, DRAG_SOURCE, BENCH, BARE):
        if not os.access(program, os.X_OK):
            sys.exit(f'compare.sh: {program} is missing; build it with tools/build')
    os.makedirs(arguments.work, exist_ok=True)
    stamp = wait_for_settled_disk(arguments.work)
    bench = Bench(arguments)
    try:
        bench.make_source()
        if arguments.sparse:
            growth = memory_check(bench, arguments)
        else:
            growth = headline(bench, arguments)
            if not arguments.no_diagnostics:
                diagnostics(bench, arguments)
    finally:
        if not arguments.keep:
            shutil.rmtree(bench.work, ignore_errors=True)
            os.sync()
            open(stamp, 'w').close()
    print(f'\nwhat a run added to the program\'s memory at its peak under Xvfb: {mib(growth)} '
          f'(allowed: {mib(MEMORY_ALLOWANCE)}, whatever the piece size)')
    if growth > MEMORY_ALLOWANCE:
        sys.exit('peak memory over the limit')


if __name__ == '__main__':
    main()
