#!/usr/bin/env python3
"""Times scenario-builder as a whole process against the machine's own floor: copying the
files it writes. Prints the ratios and the peak memory of the longest compile, and the peak memory of
inspect against the size of the file it reads.

usage: compare_with_copy.py BUILD_DIR [RUNS]
"""
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

build = os.path.abspath(sys.argv[1])
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
exe = os.path.join(build, "scenario-builder")
generate = os.path.join(build, "generate_route")


def best_of(runs, action, prepare=lambda: None):
    """The fastest of several runs: the floor of each, free of the machine's noise.
    `prepare` runs untimed before each run and hands the run its argument."""
    best = float("inf")
    for _ in range(runs):
        argument = prepare()
        start = time.perf_counter()
        action(argument) if argument is not None else action()
        best = min(best, time.perf_counter() - start)
    return best


def copy_into_fresh_folder(files, root):
    """What the goal is measured against: one cp of the files into a new folder."""
    target = tempfile.mkdtemp(dir=root)
    run("cp", *files, target)


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL)


with tempfile.TemporaryDirectory() as root:
    # The built-in run, from a copy of the program in a fresh folder of its own (as cp
    # copies into a fresh folder), and again in a folder where its files already stand.
    def fresh_program():
        return shutil.copy(exe, tempfile.mkdtemp(dir=root))

    builtin = best_of(runs, lambda program: run(program), fresh_program)
    program = fresh_program()
    run(program)
    folder = os.path.dirname(program)
    outputs = [os.path.join(folder, f) for f in os.listdir(folder) if f != "scenario-builder"]
    rerun = best_of(runs, lambda: run(program))
    copy = best_of(runs, lambda: copy_into_fresh_folder(outputs, root))
    print(f"built-in run: {builtin * 1000:.1f} ms; copying its {len(outputs)} files: {copy * 1000:.1f} ms; "
          f"ratio {builtin / copy:.2f} (goal 1.5); run again over its own files: {rerun * 1000:.1f} ms")

    # Generated routes up to the longest allowed, compiled from their sources.
    for length in (250000, 500000, 1000000):
        src = os.path.join(root, f"src{length}")
        out = os.path.join(root, f"out{length}")
        os.mkdir(src)
        os.mkdir(out)
        run(generate, str(length), src)
        line = os.path.join(src, "Generated_linea.txt")
        service = os.path.join(src, "Generated_1-.txt")
        before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        compile_time = best_of(max(3, runs // 4), lambda folder: run(exe, "compile", line, service, "-o", folder),
                               lambda: tempfile.mkdtemp(dir=root))
        run(exe, "compile", line, service, "-o", out)
        peak_kib = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        files = [os.path.join(out, f) for f in os.listdir(out)]
        copy = best_of(max(3, runs // 4), lambda: copy_into_fresh_folder(files, root))
        note = f"; peak memory {peak_kib / 1024:.1f} MiB (goal 64)" if peak_kib > before else ""
        print(f"route of {length} m: compile {compile_time * 1000:.1f} ms; copying its outputs {copy * 1000:.1f} ms; "
              f"ratio {compile_time / copy:.2f} (goal 1.5){note}")

    # inspect on the longest route's compiled files: its peak memory against the file's size.
    def peak_kib_of(*args):
        with open(os.devnull, "wb") as sink:
            process = subprocess.Popen(args, stdout=sink)
            _, status, usage = os.wait4(process.pid, 0)
        if status != 0:
            raise SystemExit(f"{' '.join(args)} failed")
        return usage.ru_maxrss

    # A cell file far longer than any route gives (a million cells, 15 MB), every cell
    # different from the one before, so that every one is listed.
    big = os.path.join(root, "Big_1.dat")
    with open(big, "wb") as f:
        for i in range(1000000):
            f.write(bytes([i % 15, 1, 2, 3, 4, 5, 6, 7, 8, 9, i % 7, 11, 12, 13, 14]))
    linea = os.path.join(root, "out1000000", "Generated_linea.dat")
    for path, options in ((big, []), (big, ["--json"]), (big, ["--annotate"]), (linea, ["--all"])):
        size_kib = os.path.getsize(path) / 1024
        peak = peak_kib_of(exe, "inspect", path, *options)
        print(f"inspect {' '.join([os.path.basename(path)] + options)}: {size_kib / 1024:.1f} MiB file, "
              f"peak memory {peak / 1024:.1f} MiB, {peak / size_kib:.1f} times the file (goal 4)")
