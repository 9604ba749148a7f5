#!/usr/bin/env python3
"""Times the window's first frame and holvan-term's start plus close, reads the
benchmark results and prints the tables of figures, ratios and goals; writes
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
# The turn times at 1,000,000 entries per store while every entry was a string
# of its own: the turns must stay as fast.
BEFORE_P50_US = 1.05
BEFORE_P99_US = 10.33


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


def term_start_and_close_ms(program, folder, runs):
    """Median milliseconds of holvan-term starting on the folder's files and
    closing at once (input at its end), timed from outside."""
    times = []
    for _ in range(runs):
        start = time.monotonic_ns()
        subprocess.run([program, "--seed", "1"], cwd=folder, check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        times.append((time.monotonic_ns() - start) / 1e6)
    return statistics.median(times)


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
    term = term_start_and_close_ms(os.path.join(build, "src", "term", "holvan-term"),
                                   os.path.join(work, "term-1000000"), 5)
    starts = {}
    for size in (0, top):
        with open(os.path.join(work, f"start-{size}.json")) as f:
            starts[size] = json.load(f)

    print("\nGoals (1,000,000 entries per store unless said):\n")
    print("| goal | figures | ratio | target | |")
    print("|---|---|---:|---:|---|")
    print(row("A. holvan-term start plus close, from outside, vs reading the files plus writing and syncing them",
              f"{term:.0f} vs {read * 1e3:.0f} + {write * 1e3:.0f} ms", term / 1e3 / (read + write), 3))
    print(row("B. loading the four files in process vs reading their bytes",
              f"{load * 1e3:.0f} vs {read * 1e3:.0f} ms", load / read, 5))
    print(row("B. (start-up of a fresh process, Companion::Start, vs reading)",
              f"{memory['fresh_start_ms']:.0f} vs {read * 1e3:.0f} ms",
              memory["fresh_start_ms"] / 1e3 / read, 5))
    print(row("B. (loading without building the indexes vs reading)",
              f"{bare_load * 1e3:.0f} vs {read * 1e3:.0f} ms", bare_load / read, 5))
    print(row("C. peak memory of a run, with the indexes, vs the data files' bytes",
              f"{memory['peak_bytes'] / 2**20:.0f} vs {memory['data_bytes'] / 2**20:.0f} MiB",
              memory["peak_bytes"] / memory["data_bytes"], 2))
    print(row(f"D. median turn vs the table before ({BEFORE_P50_US} µs)",
              f"{f50:.2f} vs {BEFORE_P50_US} µs", f50 / BEFORE_P50_US, 1))
    print(row(f"D. p99 turn vs the table before ({BEFORE_P99_US} µs)",
              f"{f99:.2f} vs {BEFORE_P99_US} µs", f99 / BEFORE_P99_US, 1))
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

if __name__ == "__main__":
    main()
