"""The join script run as a user on Windows runs it: by the command interpreter, cmd, in
the folder that holds the pieces. Wine provides it; its prefix lives in the build folder.

Wine's cmd reads a batch file in the OEM code page of the Windows locale that Wine derives
from the Unix locale it runs under: 437 for en_US, 850 for de_DE, 866 for ru_RU, 852 for
pl_PL, 932 for ja_JP. A join is run under the locale the program ran under, so both mean the
same page.

`python3 -m morlend_e2e.wine` makes the prefix (the suite's CTest fixture).
"""

import os
import subprocess
import sys


def prefix():
    return os.environ['MORLEND_E2E_WINEPREFIX']


def environment(locale='en_US.UTF-8'):
    return {
        'PATH': os.environ.get('PATH', '/usr/bin:/bin'),
        'HOME': os.environ.get('HOME', '/root'),
        'WINEPREFIX': prefix(),
        'WINEDEBUG': '-all',
        # No browser or .NET runtime in the prefix, and no dialog asking for them.
        'WINEDLLOVERRIDES': 'mscoree,mshtml=',
        'LANG': locale,
        'LC_ALL': locale,
        'LOCPATH': os.environ['MORLEND_E2E_LOCALES'],
    }


def prepare():
    env = environment()
    if not os.path.exists(os.path.join(prefix(), 'system.reg')):
        subprocess.run(['wineboot', '--init'], env=env, check=True, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=150)
    # The server a first start leaves behind would outlive the fixture.
    subprocess.run(['wineserver', '-w'], env=env, check=True, timeout=30)


# The console code page of each locale the suite uses, as Wine derives it.
CONSOLE_CODE_PAGES = {'en_US.UTF-8': 'cp437', 'de_DE.UTF-8': 'cp850', 'ru_RU.UTF-8': 'cp866',
                      'pl_PL.UTF-8': 'cp852', 'ja_JP.UTF-8': 'cp932'}


# How long cmd may take over a join; one takes a second or two.
JOIN_TIMEOUT = 30
# How Wine begins its report of a crash in any of its processes.
WINE_CRASH = 'wine: Unhandled'


def join(processes, folder, script, locale):
    """Has cmd run the script in the folder, and returns what it printed.

    The script is started as a user starts it at the prompt, by its quoted name, from a
    small batch file beside the folder: cmd's /c would split a name holding "&" or expand
    one holding "%...%" before the script even starts, which is how cmd treats any name.

    Wine itself crashes now and then (once in the suite's runs here so far), and its crash
    debugger can then hang, leaving the server to every later cmd of the prefix in that
    state. So a cmd that crashed or did not end has the server stopped after it, and if it
    changed nothing in the folder, the script runs once more; what that run does is what the
    journey judges. A cmd that does not end fails the join.
    """
    env = environment(locale)
    base = folder.rstrip('/')
    # A plain name of its own: cmd must start the starter whatever the script is called.
    starter = os.path.join(os.path.dirname(base), 'start-join.bat')
    with open(starter, 'wb') as file:
        file.write(('@"' + script.replace('%', '%%') + '"').encode(CONSOLE_CODE_PAGES[locale]))
    command = ['wine', 'cmd', '/c', '..\\' + os.path.basename(starter)]
    before = _state(folder)
    printed, ended, crashed = _run(processes, command, folder, base + '.cmd.log', env)
    if (crashed or not ended) and _state(folder) == before:
        print(f'Wine failed before the script changed anything; it runs again. It printed: '
              f'{printed}', file=sys.stderr)
        printed, ended, _ = _run(processes, command, folder, base + '.cmd.log', env)
    if not ended:
        raise AssertionError(f'cmd did not end in {JOIN_TIMEOUT} s; it printed: {printed}')
    return printed


def _state(folder):
    """What a script that did anything at all has changed."""
    return sorted((entry.name, entry.stat().st_size, entry.stat().st_mtime_ns)
                  for entry in os.scandir(folder))


def _run(processes, command, folder, log_path, env):
    """Runs the Wine command in the folder; returns what it printed, whether it ended, and
    whether Wine crashed. After a failure the prefix's server is stopped, else waited for."""
    stop_server = {'command': ['wineserver', '-k'], 'env': env}
    processes.tell_guardian(True, stop_server)
    ended = crashed = False
    try:
        with open(log_path, 'w+b') as log:
            run = processes.start('wine cmd', command, cwd=folder, env=env,
                                  stdin=subprocess.DEVNULL, stdout=log,
                                  stderr=subprocess.STDOUT)
            try:
                run.wait(timeout=JOIN_TIMEOUT)
                ended = True
            except subprocess.TimeoutExpired:
                pass
            processes.stop(run)
            log.seek(0)
            printed = log.read().decode('utf-8', errors='replace')
        crashed = WINE_CRASH in printed
        if ended and not crashed:
            subprocess.run(['wineserver', '-w'], env=env, check=True, timeout=30)
        return printed, ended, crashed
    finally:
        if crashed or not ended:
            subprocess.run(['wineserver', '-k'], env=env, capture_output=True, timeout=30)
        processes.tell_guardian(False, stop_server)


if __name__ == '__main__':
    prepare()
    sys.exit(0)
