#!/usr/bin/env python3
"""Runs two commands alternately on one pinned core and prints the median
wall seconds, CPU seconds and peak memory of each, and their ratios (first /
second; below 1 means the first is faster or smaller). Times and memory come
from GNU time's report of the command (its children included), not from this
process's own children: a child forked from Python keeps Python's peak memory
through exec, so no peak below about 10 MB could show.

  compare.py RUNS LABEL -- FIRST COMMAND... -- SECOND COMMAND...
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time


def measure(command, core):
    with tempfile.NamedTemporaryFile("r") as report:
        start = time.perf_counter()
        status = subprocess.call(["/usr/bin/time", "-f", "%U %S %M", "-o", report.name] + command,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                 preexec_fn=lambda: os.sched_setaffinity(0, {core}))
        wall = time.perf_counter() - start
        if status != 0:
            sys.exit(f"failed ({status}): {' '.join(command)}")
        user, system, kilobytes = report.read().split()[-3:]
    return wall, float(user) + float(system), int(kilobytes) / 1024


def main():
    runs, label = int(sys.argv[1]), sys.argv[2]
    rest = sys.argv[3:]
    split = rest.index("--", 1)
    commands = [rest[1:split], rest[split + 1:]]
    # The last core this process may use: the one least busy with the
    # system's own work on most machines.
    core = max(os.sched_getaffinity(0))
    samples = [[], []]
    for run in range(runs):
        # Alternating which goes first evens out caches and the machine's load.
        for which in (0, 1) if run % 2 == 0 else (1, 0):
            samples[which].append(measure(commands[which], core))
    medians = [[statistics.median(column) for column in zip(*s)] for s in samples]
    first, second = medians
    ratios = [a / max(b, 0.01) for a, b in zip(first, second)]
    print(f"{label}: medians of {runs} interleaved runs on core {core}")
    print(f"  {os.path.basename(commands[0][0]):<14} wall {first[0]:7.2f} s  cpu {first[1]:7.2f} s  peak {first[2]:7.1f} MB")
    print(f"  {os.path.basename(commands[1][0]):<14} wall {second[0]:7.2f} s  cpu {second[1]:7.2f} s  peak {second[2]:7.1f} MB")
    print(f"  ratio          wall {ratios[0]:7.3f}    cpu {ratios[1]:7.3f}    peak {ratios[2]:7.3f}")


main()
