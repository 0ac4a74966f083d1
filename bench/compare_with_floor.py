#!/usr/bin/env python3
"""Times scenario-builder as a whole process against the machine's own floor: `cp` of the
files it writes into a fresh folder, and `dd` writing as many bytes into a fresh folder.
The runs are paired: each round runs the program and its floors one after the other (the
order turning from round to round), so that a busy moment of the machine falls on all of
them alike; the figures are medians over the rounds, ratios taken within each round.
Prints also the peak memory of each compile, for routes of several lengths, and of inspect
against the size of the file it reads.

The readers are paired with their floors too, on the longest route: summary with `cat` of
the three files, plot with `cp` of the picture it draws, diff of the scenario with itself and
with one compiled from a service source a row apart with `cmp` of the two plan files (four
fifths of the bytes; cmp of files that differ would stop at their first difference).
Then the readers' peak memory on cells dense with slowdown starts without ends, against the
files they read. --readers times the readers alone.

usage: compare_with_floor.py BUILD_DIR [ROUNDS] [--readers]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

arguments = [a for a in sys.argv[1:] if a != "--readers"]
readers_only = "--readers" in sys.argv[1:]
build = os.path.abspath(arguments[0])
rounds = int(arguments[1]) if len(arguments) > 1 else 60
exe = os.path.join(build, "scenario-builder")
generate = os.path.join(build, "generate_route")
measure_process = os.path.join(build, "measure_process")
MIB = 1024 * 1024


def measure(args, cwd=None, statuses=("0",)):
    """Runs one process; its wall time in seconds and its own peak memory in KiB."""
    out = subprocess.run([measure_process, *args], cwd=cwd, check=True, capture_output=True, text=True).stdout
    seconds, peak_kib, status = out.split()
    if status not in statuses:
        raise SystemExit(f"{' '.join(args)} ended with {status}")
    return float(seconds), int(peak_kib)


def files_of(folder, leave_out=()):
    return sorted(os.path.join(folder, f) for f in os.listdir(folder) if f not in leave_out)


def total_bytes(files):
    return sum(os.path.getsize(f) for f in files)


def paired(contenders, statuses=("0",)):
    """Each round runs every contender once, in turn; a contender prepares its process
    (untimed) and returns its arguments, the folder to start it in and the folder to delete
    after it. Returns each contender's times and peaks, round by round."""
    names = list(contenders)
    times = {name: [] for name in names}
    peaks = {name: [] for name in names}
    for r in range(rounds):
        for name in names[r % len(names):] + names[:r % len(names)]:
            args, cwd, scratch = contenders[name]()
            seconds, peak = measure(args, cwd, statuses)
            times[name].append(seconds)
            peaks[name].append(peak)
            if scratch:
                shutil.rmtree(scratch)
    return times, peaks


def median_ratio(times, name, floor):
    return statistics.median(t / f for t, f in zip(times[name], times[floor]))


def ms(times, name):
    return f"{statistics.median(times[name]) * 1000:.1f} ms"


with tempfile.TemporaryDirectory() as root:
    def fresh():
        return tempfile.mkdtemp(dir=root)

    def cp_into_fresh(files):
        def prepare():
            folder = fresh()
            return ["cp", *files, folder], None, folder
        return prepare

    def dd_into_fresh(size):
        def prepare():
            folder = fresh()
            return (["dd", "if=/dev/zero", f"of={os.path.join(folder, 'bytes')}", "bs=1M", f"count={size}",
                     "iflag=count_bytes", "status=none"], None, folder)
        return prepare

    # The readers of the longest route against their floors, paired round by round.
    def compiled_route(name, line, service):
        folder = os.path.join(root, name)
        os.mkdir(folder)
        measure([exe, "compile", line, service, "-o", folder])
        return folder

    readers_route = os.path.join(root, "readers_sources")
    os.mkdir(readers_route)
    subprocess.run([generate, "1000000", readers_route], check=True)
    route_line = os.path.join(readers_route, "Generated_linea.txt")
    route_service = os.path.join(readers_route, "Generated_1-.txt")
    route = compiled_route("readers_route", route_line, route_service)
    # A row apart: one speed-limit row of the service source, half way along.
    with open(route_service, "rb") as f:
        service_text = f.read()
    row = b"velocita,   500000,    150"
    if row not in service_text:
        raise SystemExit("the generated service source has no row to change")
    changed_service = os.path.join(readers_route, "changed", "Generated_1-.txt")
    os.mkdir(os.path.dirname(changed_service))
    with open(changed_service, "wb") as f:
        f.write(service_text.replace(row, b"velocita,   500000,    140"))
    changed_route = compiled_route("readers_changed", route_line, changed_service)
    route_files = files_of(route)
    plan_file = os.path.join(route, "Generated_linea.dat")
    picture = os.path.join(root, "readers.svg")
    measure([exe, "plot", route, "-o", picture])

    def fixed(args):
        return lambda: (args, None, None)

    def plot_into_fresh():
        folder = fresh()
        return [exe, "plot", route, "-o", os.path.join(folder, "route.svg")], None, folder

    times, peaks = paired({"summary": fixed([exe, "summary", route]), "cat": fixed(["cat", *route_files]),
                           "plot": plot_into_fresh, "cp picture": cp_into_fresh([picture]),
                           "diff itself": fixed([exe, "diff", route, route]),
                           "diff a row apart": fixed([exe, "diff", route, changed_route]),
                           "cmp": fixed(["cmp", plan_file, os.path.join(changed_route, "Generated_linea.dat")])},
                          statuses=("0", "1"))

    def reader_line(name, floor):
        return (f"{name} {ms(times, name)}, {floor} {ms(times, floor)}: ratio {median_ratio(times, name, floor):.2f} "
                f"(goal 2 at most); peak memory {statistics.median(peaks[name]) / 1024:.1f} MiB")

    print(f"Readers of a 1000 km route ({total_bytes(route_files) / MIB:.1f} MiB), medians of {rounds} rounds:")
    print("  " + reader_line("summary", "cat"))
    print("  " + reader_line("plot", "cp picture"))
    print("  " + reader_line("diff itself", "cmp"))
    print("  " + reader_line("diff a row apart", "cmp"))

    # The readers' peak memory against the files they read, on cells dense with slowdown
    # starts without ends: a start in every cell of a cell file of 16.8 MB (1 120 000 cells,
    # the route's cell fills kept), beside the route's records, without a plan; and one with
    # a start in every other cell. diff of the two tells a start removed in every other
    # cell, diff of the route and the dense one a start added in every cell.
    def dense_starts(name, cells, every):
        folder = os.path.join(root, name)
        os.mkdir(folder)
        with open(os.path.join(route, "Generated_1.dat"), "rb") as f:
            fills = bytearray(f.read()[15 * 100:15 * 101])
        start = bytes([3, 60, 0]) + bytes(fills[3:])
        free = bytes([0, 0, 0]) + bytes(fills[3:])
        with open(os.path.join(folder, "Generated_1.dat"), "wb") as f:
            f.write(b"".join(start if i % every == every // 2 else free for i in range(cells)))
        shutil.copy(os.path.join(route, "Generated_1.sim"), folder)
        return folder

    dense = dense_starts("dense_every", 1120000, 1)
    dense_half = dense_starts("dense_every_other", 1120000, 2)
    print("Readers' peak memory on 1 120 000 cells of slowdown starts without ends (goal 4 times the files "
          "at most, and a few MiB):")
    for label, args, folders in (("summary", ["summary", dense], [dense]),
                                 ("summary --json", ["summary", dense, "--json"], [dense]),
                                 ("diff with a start in every other cell", ["diff", dense, dense_half],
                                  [dense, dense_half]),
                                 ("diff of the route and the dense cells", ["diff", route, dense], [route, dense])):
        size = sum(total_bytes(files_of(folder)) for folder in folders)
        seconds, peak = measure([exe, *args], statuses=("0", "1"))
        print(f"  {label}: {size / MIB:.1f} MiB of files, {seconds:.1f} s, peak memory {peak / 1024:.1f} MiB, "
              f"{peak * 1024 / size:.1f} times the files")
    if readers_only:
        raise SystemExit(0)

    print(f"Medians of {rounds} rounds; each round runs the program, cp of its files into a fresh folder "
          f"and dd of as many bytes into a fresh folder, one after the other.")

    # The built-in run: a copy of the program in a fresh folder of its own, started with no
    # arguments; and again in a folder where its files already stand.
    def fresh_program():
        return shutil.copy(exe, fresh())

    def builtin_run():
        program = fresh_program()
        return [program], os.path.dirname(program), os.path.dirname(program)

    settled = fresh_program()
    measure([settled], os.path.dirname(settled))
    outputs = files_of(os.path.dirname(settled), leave_out=("scenario-builder",))
    size = total_bytes(outputs)
    # The run compiles its two sources from memory; copying them too is the floor of a run
    # that would write them as well.
    texts = fresh()
    measure([exe, "sources", "-o", texts])
    source_texts = [os.path.join(texts, f) for f in ("Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt")]
    times, peaks = paired({"run": builtin_run, "rerun": lambda: ([settled], os.path.dirname(settled), None),
                           "cp": cp_into_fresh(outputs), "cp with sources": cp_into_fresh(outputs + source_texts),
                           "dd": dd_into_fresh(size)})
    print(f"built-in run ({len(outputs)} files, {size / MIB:.1f} MiB): {ms(times, 'run')}; cp {ms(times, 'cp')}, "
          f"dd {ms(times, 'dd')}; ratio to cp {median_ratio(times, 'run', 'cp'):.2f} (goal 1.5 at most), "
          f"to dd {median_ratio(times, 'run', 'dd'):.2f}; peak memory {statistics.median(peaks['run']) / 1024:.1f} MiB")
    print(f"  cp of its files and of its two sources: "
          f"{ms(times, 'cp with sources')}; ratio to that {median_ratio(times, 'run', 'cp with sources'):.2f}")
    print(f"  run again over its own files: {ms(times, 'rerun')}; ratio to cp {median_ratio(times, 'rerun', 'cp'):.2f}")

    # Generated routes up to the longest allowed, compiled from their sources.
    compile_peaks = {}
    for length in (250000, 500000, 1000000):
        route = os.path.join(root, f"src{length}")
        os.mkdir(route)
        subprocess.run([generate, str(length), route], check=True)
        line = os.path.join(route, "Generated_linea.txt")
        service = os.path.join(route, "Generated_1-.txt")

        def compile_into_fresh(line=line, service=service):
            folder = fresh()
            return [exe, "compile", line, service, "-o", folder], None, folder

        # One compile kept, for the readers below and for the files the floors copy.
        compiled = os.path.join(root, f"out{length}")
        os.mkdir(compiled)
        measure([exe, "compile", line, service, "-o", compiled])
        outputs = files_of(compiled)
        size = total_bytes(outputs)
        times, peaks = paired({"compile": compile_into_fresh, "cp": cp_into_fresh(outputs), "dd": dd_into_fresh(size)})
        compile_peaks[length] = statistics.median(peaks["compile"]) / 1024
        goal = " (goal 1.5 at most)" if length == 1000000 else ""
        print(f"compile of a {length // 1000} km route ({len(outputs)} files, {size / MIB:.1f} MiB): "
              f"{ms(times, 'compile')}; cp {ms(times, 'cp')}, dd {ms(times, 'dd')}; "
              f"ratio to cp {median_ratio(times, 'compile', 'cp'):.2f}{goal}, "
              f"to dd {median_ratio(times, 'compile', 'dd'):.2f}; peak memory {compile_peaks[length]:.1f} MiB")
    shortest, longest = min(compile_peaks), max(compile_peaks)
    print(f"peak memory of a compile: {', '.join(f'{n // 1000} km {p:.1f} MiB' for n, p in compile_peaks.items())}; "
          f"{compile_peaks[longest] - compile_peaks[shortest]:+.1f} MiB from {shortest // 1000} to {longest // 1000} km "
          f"(goal: a few MiB, the same for every length)")

    # The commands that read a compiled scenario whole, on the built-in one and on the
    # longest route: time (median of a few runs) and peak memory.
    def reader_figures(args):
        runs = [measure(args) for _ in range(5)]
        return (f"{statistics.median(t for t, _ in runs) * 1000:.1f} ms, "
                f"peak memory {statistics.median(p for _, p in runs) / 1024:.1f} MiB")

    longest_route = os.path.join(root, "out1000000")
    for label, folder in (("built-in scenario", os.path.dirname(settled)), ("1000 km route", longest_route)):
        sources_out = os.path.join(root, "decompiled")
        print(f"{label}: decompile with its round trip {reader_figures([exe, 'decompile', folder, '-o', sources_out, '--force'])}; "
              f"plot {reader_figures([exe, 'plot', folder, '-o', os.path.join(root, 'route.svg')])}; "
              f"summary {reader_figures([exe, 'summary', folder])}")

    # inspect: its peak memory against the size of the file it reads. A cell file far longer
    # than any route gives (a million cells, 15 MB), every cell different from the one
    # before, so that every one is listed; and the longest route's plan.
    big = os.path.join(root, "Big_1.dat")
    with open(big, "wb") as f:
        f.write(b"".join(bytes([i % 15, 1, 2, 3, 4, 5, 6, 7, 8, 9, i % 7, 11, 12, 13, 14]) for i in range(1000000)))
    linea = os.path.join(longest_route, "Generated_linea.dat")
    for path, options in ((big, []), (big, ["--json"]), (big, ["--annotate"]), (linea, ["--all"])):
        size_kib = os.path.getsize(path) / 1024
        _, peak = measure([exe, "inspect", path, *options])
        print(f"inspect {' '.join([os.path.basename(path)] + options)}: {size_kib / 1024:.1f} MiB file, "
              f"peak memory {peak / 1024:.1f} MiB, {peak / size_kib:.1f} times the file (goal 4 at most)")
