#!/usr/bin/env python3
"""Times the window's first frame; holvan-term's start plus close, a plain
program reading and saving the same files and holvan-memory's commands, all
from outside and in turn; reads the benchmark results and prints the tables of figures, ratios and goals; writes
the data of the scaling plot.

usage: report.py WORK_DIR BUILD_DIR PLOT_DATA
"""

import json
import os
import statistics
import subprocess
import sys
import time

SIZES = [0, 1000, 10000, 100000, 1000000]


def core_results(path):
    """Median figures of every benchmark, by name."""
    with open(path) as f:
        data = json.load(f)
    out = {}
    for b in data["benchmarks"]:
        name = b["run_name"].split("/iterations")[0]
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        out[name] = b
    return out


def seconds(b):
    unit = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
    return b["real_time"] * unit


def first_frame_ms(program, folder, runs):
    """Median milliseconds from starting program to its first frame."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    times = []
    for _ in range(runs):
        start = time.monotonic_ns()
        out = subprocess.run(program, cwd=folder, env=env, capture_output=True,
                             text=True, check=True).stdout
        times.append((int(out.split()[-1]) - start) / 1e6)
    return statistics.median(times)


def run_outside(command, folder, statuses):
    """Milliseconds and peak resident bytes of one run of command in folder,
    input at its end, timed from outside; its exit status must be one of
    statuses."""
    start = time.monotonic_ns()
    child = subprocess.Popen(command, cwd=folder, stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    elapsed = (time.monotonic_ns() - start) / 1e6
    code = os.waitstatus_to_exitcode(status)
    if code not in statuses:
        sys.exit(f"{command} in {folder} ended with {code}")
    return elapsed, usage.ru_maxrss * 1024


def outside_medians(commands, folder, runs):
    """Runs each command (name: (argv, exit statuses)) in turn, runs times, so
    that load on the machine hits all alike; the median milliseconds and the
    largest peak bytes of each, by name."""
    samples = {name: [] for name in commands}
    for _ in range(runs):
        for name, (argv, statuses) in commands.items():
            samples[name].append(run_outside(argv, folder, statuses))
    return {name: (statistics.median(ms for ms, _ in runs_of),
                   max(peak for _, peak in runs_of))
            for name, runs_of in samples.items()}


def data_bytes(folder):
    return sum(os.path.getsize(os.path.join(folder, name))
               for name in ("brain.dat", "dic.dat", "res.dat", "holv.dat"))


def editor_rows(work, build):
    """The memory editor's rows: ready against holvan-term's start and close on
    the same folder (alternated, both timed from outside), its peak memory
    against the files, and its search keystrokes, edit, undo and save."""
    folder = os.path.join(work, "editor-1000000")
    editor = os.path.join(build, "bench", "holvan-bench-editor")
    term = os.path.join(build, "src", "term", "holvan-term")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    ready_ms, term_ms = [], []
    for _ in range(3):
        start = time.monotonic_ns()
        out = subprocess.run([editor, folder, "1"], env=env, capture_output=True,
                             text=True, check=True).stdout
        ready_ms.append((json.loads(out)["ready_ns"] - start) / 1e6)
        term_ms.append(run_outside([term, "--seed", "1"], folder, {0})[0])
    ready, term_close = statistics.median(ready_ms), statistics.median(term_ms)
    with open(os.path.join(work, "editor.json")) as f:
        e = json.load(f)
    files = sum(os.path.getsize(os.path.join(folder, name))
                for name in ("dic.dat", "brain.dat", "res.dat", "holv.dat"))
    print("\nThe memory editor (1,000,000 entries per store):\n")
    print("| goal | figures | ratio | target | |")
    print("|---|---|---:|---:|---|")
    print(row("editor ready vs holvan-term start plus close, same folder",
              f"{ready:.0f} vs {term_close:.0f} ms", ready / term_close, 1.5))
    print(row("editor peak memory until ready vs the files' bytes",
              f"{e['ready_peak_bytes'] / 2**20:.0f} vs {files / 2**20:.0f} MiB",
              e["ready_peak_bytes"] / files, 2.5))
    print(row("(the same, to the end of a save)",
              f"{e['peak_bytes'] / 2**20:.0f} vs {files / 2**20:.0f} MiB",
              e["peak_bytes"] / files, 2.5))
    print(row(f"search keystroke p95 ({e['keys']} keys: 猫, 猫が, back) vs 50 ms",
              f"{e['key_p95_ms']:.1f} ms (median {e['key_p50_ms']:.1f}; whole search p95 {e['search_p95_ms']:.0f})",
              e["key_p95_ms"] / 50, 1))
    for step in ("edit", "undo"):
        print(row(f"{step} of one entry vs 100 ms", f"{e[step + '_ms']:.0f} ms",
                  e[step + "_ms"] / 100, 1))
    print(row("save of one entry, less the file's write (medians of 5), vs 100 ms",
              f"{e['save_ms']:.0f} - {e['write_ms']:.0f} ms",
              (e["save_ms"] - e["write_ms"]) / 100, 1))


def turn_rows(work):
    """Today's turns at a million entries per store against those of the build
    from before the stores moved into their files' bytes, timed in turn by
    bench/run: the median over its rounds of each round's figure."""
    rounds = {"before": [], "now": []}
    for when, runs in rounds.items():
        for n in range(1, 6):
            path = os.path.join(work, f"turns-{when}-{n}.json")
            if os.path.exists(path):
                runs.append(core_results(path)["turns/fast/1000000"])
    if not rounds["before"]:
        print("| D. (no build from before: the turns are not compared) | | | | |")
        return
    for stat, what in (("p50_us", "median"), ("p99_us", "p99")):
        now = statistics.median(b[stat] for b in rounds["now"])
        before = statistics.median(b[stat] for b in rounds["before"])
        print(row(f"D. {what} turn vs the build before the stores moved into their files' bytes",
                  f"{now:.2f} vs {before:.2f} µs", now / before, 1))


def window_start_rows(work, bench):
    """The window's first frame at a million entries per store against the
    starter memory, and its start until the greeting at a million, as rows of
    the goals table."""
    program = os.path.join(bench, "holvan-bench-window")
    starter = os.path.join(work, "window-first-frame")
    million = os.path.join(work, "window-first-frame-1000000")
    starter_ms, million_ms, greeting_ms = [], [], []
    for _ in range(3):  # alternate, so that load on the machine hits all
        starter_ms.append(first_frame_ms([program, "first-frame"], starter, 3))
        million_ms.append(first_frame_ms([program, "first-frame"], million, 3))
        greeting_ms.append(first_frame_ms([program, "greeting"], million, 3))
    starter_frame = statistics.median(starter_ms)
    million_frame = statistics.median(million_ms)
    greeting = statistics.median(greeting_ms)
    print(row("G. window start to first frame, a million entries vs the starter memory",
              f"{million_frame:.1f} vs {starter_frame:.1f} ms",
              million_frame / starter_frame, 1.2))
    print(f"| G. (window start to the greeting, a million entries) | {greeting:.0f} ms | | | |")


def row(measure, figures, ratio, limit, above=False):
    met = ratio >= limit if above else ratio <= limit
    sign = "≥" if above else "≤"
    return f"| {measure} | {figures} | {ratio:.2f} | {sign} {limit:g} | {'met' if met else 'MISSED'} |"


def main():
    work, build, plot_data = sys.argv[1], sys.argv[2], sys.argv[3]
    core = core_results(os.path.join(work, "core.json"))
    with open(os.path.join(work, "memory.json")) as f:
        memory = json.load(f)
    with open(os.path.join(work, "window.json")) as f:
        window = json.load(f)

    bench = os.path.join(build, "bench")
    window_folder = os.path.join(work, "window-first-frame")
    holvan_ms = []
    bare_ms = []
    text_ms = []
    bare = os.path.join(bench, "holvan-bench-bare-window")
    for _ in range(5):  # alternate, so that load on the machine hits all
        holvan_ms.append(first_frame_ms(
            [os.path.join(bench, "holvan-bench-window"), "first-frame"],
            window_folder, 5))
        bare_ms.append(first_frame_ms([bare], window_folder, 5))
        text_ms.append(first_frame_ms([bare, "text"], window_folder, 5))
    holvan_frame = statistics.median(holvan_ms)
    bare_frame = statistics.median(bare_ms)
    text_frame = statistics.median(text_ms)

    def turn(kind, size, stat):
        b = core.get(f"turns/{kind}/{size}")
        return b[stat] if b else None

    print("Turn times per step of the 1,000-line script (µs):\n")
    print("| entries per store | fast p50 | fast p99 | reference p50 | reference p99 |")
    print("|---:|---:|---:|---:|---:|")
    with open(plot_data, "w") as plot:
        for i, size in enumerate(SIZES):
            cells = [turn(k, size, s) for k in ("fast", "reference")
                     for s in ("p50_us", "p99_us")]
            print(f"| {size:,} | " + " | ".join(
                "-" if c is None else f"{c:,.1f}" for c in cells) + " |")
            plot.write(f"{i} \"{size:,}\" " + " ".join(
                "NaN" if c is None else f"{c:.3f}" for c in cells) + "\n")

    top = 1000000
    f50, f99 = turn("fast", top, "p50_us"), turn("fast", top, "p99_us")
    e50, e99 = turn("fast", 0, "p50_us"), turn("fast", 0, "p99_us")
    r50, r99 = turn("reference", top, "p50_us"), turn("reference", top, "p99_us")
    load, read = seconds(core[f"load/{top}"]), seconds(core[f"read/{top}"])
    save, write = seconds(core[f"save/{top}"]), seconds(core[f"write_sync/{top}"])
    bare_load = seconds(core[f"load_without_indexes/{top}"])
    term_folder = os.path.join(work, "term-1000000")
    memory_tool = os.path.join(build, "src", "memory_cli", "holvan-memory")
    outside = outside_medians({
        "plain": ([os.path.join(bench, "holvan-bench-plain-files")], {0}),
        "term": ([os.path.join(build, "src", "term", "holvan-term"), "--seed", "1"], {0}),
        # A check that finds problems ends with 4.
        "check": ([memory_tool, "--dir", ".", "check"], {0, 4}),
        "list": ([memory_tool, "--dir", ".", "list", "brain", "--grep", "猫"], {0}),
        "add": ([memory_tool, "--dir", ".", "add", "fact", "ベンチの鍵", "ベンチの値"], {0}),
        "remove": ([memory_tool, "--dir", ".", "remove", "fact", "ベンチの鍵"], {0}),
    }, term_folder, 5)
    term, term_peak = outside["term"]
    plain, plain_peak = outside["plain"]
    files = data_bytes(term_folder)
    starts = {}
    for size in (0, top):
        with open(os.path.join(work, f"start-{size}.json")) as f:
            starts[size] = json.load(f)

    print("\nGoals (1,000,000 entries per store unless said):\n")
    print("| goal | figures | ratio | target | |")
    print("|---|---|---:|---:|---|")
    print(row("A. holvan-term start plus close vs a plain program reading the files, writing, syncing and renaming those the close writes (both from outside)",
              f"{term:.0f} vs {plain:.0f} ms", term / plain, 3))
    print(row("A. (the same vs reading plus writing and syncing in process)",
              f"{term:.0f} vs {read * 1e3:.0f} + {write * 1e3:.0f} ms", term / 1e3 / (read + write), 3))
    print(row("C. peak memory of holvan-term's start plus close vs the data files' bytes",
              f"{term_peak / 2**20:.0f} vs {files / 2**20:.0f} MiB", term_peak / files, 2))
    print(row("C. (the plain program's peak vs the files' bytes)",
              f"{plain_peak / 2**20:.0f} vs {files / 2**20:.0f} MiB", plain_peak / files, 2))
    print(row("B. loading the four files in process vs reading their bytes",
              f"{load * 1e3:.0f} vs {read * 1e3:.0f} ms", load / read, 5))
    print(row("B. (start-up of a fresh process, Companion::Start, vs reading)",
              f"{memory['fresh_start_ms']:.0f} vs {read * 1e3:.0f} ms",
              memory["fresh_start_ms"] / 1e3 / read, 5))
    print(row("B. (loading without building the indexes vs reading)",
              f"{bare_load * 1e3:.0f} vs {read * 1e3:.0f} ms", bare_load / read, 5))
    print(row("C. (peak memory of a run of the script, in process, vs the files' bytes)",
              f"{memory['peak_bytes'] / 2**20:.0f} vs {memory['data_bytes'] / 2**20:.0f} MiB",
              memory["peak_bytes"] / memory["data_bytes"], 2))
    turn_rows(work)
    late, first = starts[top]["late_median_us"], starts[top]["first_median_us"]
    print(row(f"E. starting a program through 命令 after {starts[top]['turns']:,} turns vs at the first",
              f"{late:,.0f} vs {first:,.0f} µs", late / first, 1.2))
    empty = starts[0]["first_median_us"]
    print(row("E. (the same after those turns vs at the first on empty stores)",
              f"{late:,.0f} vs {empty:,.0f} µs", late / empty, 1.2))
    print(row("F. window start to first frame vs a bare window showing one Japanese line",
              f"{holvan_frame:.1f} vs {text_frame:.1f} ms", holvan_frame / text_frame, 1.2))
    print(row("F. (the same vs a bare window, empty stores)",
              f"{holvan_frame:.1f} vs {bare_frame:.1f} ms", holvan_frame / bare_frame, 1.3))
    window_start_rows(work, bench)

    check, check_peak = outside["check"]
    print(row("G. holvan-memory check vs holvan-term start plus close (from outside)",
              f"{check:.0f} vs {term:.0f} ms", check / term, 3))
    print(row("G. peak memory of holvan-memory check vs the data files' bytes",
              f"{check_peak / 2**20:.0f} vs {files / 2**20:.0f} MiB", check_peak / files, 2.5))
    for name, what in (("list", "list brain --grep"), ("add", "add fact"),
                       ("remove", "remove fact")):
        ms, _ = outside[name]
        print(row(f"G. holvan-memory {what} vs holvan-term start plus close",
                  f"{ms:.0f} vs {term:.0f} ms", ms / term, 1.5))

    print("\nEarlier targets:\n")
    print("| target | figures | ratio | target | |")
    print("|---|---|---:|---:|---|")
    print(row("median turn, 1M vs empty", f"{f50:.2f} vs {e50:.2f} µs", f50 / e50, 3))
    print(row("p99 turn, 1M vs empty", f"{f99:.2f} vs {e99:.2f} µs", f99 / e99, 3))
    if r50 is not None:
        print(row("median turn, reference scans vs indexed", f"{r50:,.1f} vs {f50:.2f} µs", r50 / f50, 100, above=True))
        print(row("p99 turn, reference scans vs indexed", f"{r99:,.1f} vs {f99:.2f} µs", r99 / f99, 100, above=True))
    print(row("saving at exit vs writing and syncing the bytes",
              f"{save * 1e3:.0f} vs {write * 1e3:.0f} ms", save / write, 2))
    print(row(f"window turn after {window['turns']:,} turns vs first 1,000 (median)",
              f"{window['late_median_us']:.0f} vs {window['first_median_us']:.0f} µs",
              window["late_median_us"] / window["first_median_us"], 2))
    print(row("(the same, mean)",
              f"{window['late_mean_us']:.0f} vs {window['first_mean_us']:.0f} µs",
              window["late_mean_us"] / window["first_mean_us"], 2))

    editor_rows(work, build)


if __name__ == "__main__":
    main()
