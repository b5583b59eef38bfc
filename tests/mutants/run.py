#!/usr/bin/env python3
"""Applies each realistic fault of mutants.py in turn to a copy of the sources, rebuilds, runs
the suite and records which test functions fail ("kill" it). Not part of `make test`.

    tests/mutants/run.py [ID ...]        all mutants, or the named ones
    MUTANT_TESTS=tst_records,tst_info    build and run only these test programs (quicker)
    MUTANT_DIR=/tmp/elsewhere            work folder (default /tmp/scanlet-mutants)
Results go to stdout as a table; a mutant whose anchor text is gone from the sources is "stale".
"""
import os, re, shutil, subprocess, sys

from mutants import MUTANTS

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
WORK = os.environ.get('MUTANT_DIR', '/tmp/scanlet-mutants')
SRC, BUILD = os.path.join(WORK, 'src'), os.path.join(WORK, 'build')


def sync_sources():
    os.makedirs(WORK, exist_ok=True)
    # Only files whose bytes differ are written, and then with a new time: unchanged files are
    # not rebuilt, and a mutant left behind by an interrupted run is rebuilt away.
    def copy_changed(source, target):
        if os.path.exists(target) and open(source, 'rb').read() == open(target, 'rb').read():
            return target
        return shutil.copy(source, target)  # the mode too, not the times
    shutil.copytree(ROOT, SRC, dirs_exist_ok=True, copy_function=copy_changed,
                    ignore=shutil.ignore_patterns('.git', 'build*', 'demo', 'out', 'corpus-work'))
    if not os.path.exists(os.path.join(BUILD, 'Makefile')):
        subprocess.run(['cmake', '-S', SRC, '-B', BUILD, '-DCMAKE_BUILD_TYPE=RelWithDebInfo'],
                       check=True, stdout=subprocess.DEVNULL)


def build_and_test():
    jobs = str(os.cpu_count() or 2)
    only = [t for t in os.environ.get('MUTANT_TESTS', '').split(',') if t]
    targets = sum((['--target', t] for t in only), [])
    if only and 'tst_info' in only:
        targets += ['--target', 'scanlet-info']
    built = subprocess.run(['cmake', '--build', BUILD, '-j', jobs] + targets, capture_output=True, text=True)
    if built.returncode != 0:
        return None, built.stdout[-2000:] + built.stderr[-2000:]
    env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
    select = ['-R', '^(' + '|'.join(only) + ')$'] if only else []
    run = subprocess.run(['ctest', '--output-on-failure', '-j', jobs, '--timeout', '120'] + select,
                         cwd=BUILD, env=env, capture_output=True, text=True)
    killers = sorted(set(re.findall(r'FAIL!\s+:\s+(\S+?)\(', run.stdout)))
    if run.returncode != 0 and not killers:
        killers = sorted(set(re.findall(r'\d+ - (\S+) \((?:Failed|SEGFAULT|Subprocess aborted|Timeout|Child aborted)',
                                        run.stdout))) or ['(suite failed)']
    return killers, ''


def main():
    wanted = set(sys.argv[1:])
    sync_sources()
    killers, log = build_and_test()
    if killers:
        sys.exit('the unmutated suite fails: %s\n%s' % (killers, log))
    print('| id | fault | killed by |\n|---|---|---|')
    for mutant in MUTANTS:
        ident, path, old, new, what = mutant
        if wanted and ident not in wanted:
            continue
        file = os.path.join(SRC, path)
        text = open(file, encoding='utf-8').read()
        if text.count(old) != 1:
            print('| %s | %s | stale (%d anchors) |' % (ident, what, text.count(old)), flush=True)
            continue
        open(file, 'w', encoding='utf-8').write(text.replace(old, new))
        try:
            killers, log = build_and_test()
        finally:
            open(file, 'w', encoding='utf-8').write(text)
        verdict = 'does not build' if killers is None else ', '.join(killers) or '**survived**'
        print('| %s | %s | %s |' % (ident, what, verdict), flush=True)
    build_and_test()  # leaves the copy built without faults


if __name__ == '__main__':
    main()
