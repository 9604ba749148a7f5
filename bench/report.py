#!/usr/bin/env python3
"""Times the window's first frame, reads the benchmark results and prints the
table of figures and ratios; writes the data of the scaling plot.

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
    print("\nTargets (1,000,000 entries per store unless said):\n")
    print("| measure | figures | ratio | target | |")
    print("|---|---|---:|---:|---|")
    f50, f99 = turn("fast", top, "p50_us"), turn("fast", top, "p99_us")
    e50, e99 = turn("fast", 0, "p50_us"), turn("fast", 0, "p99_us")
    r50, r99 = turn("reference", top, "p50_us"), turn("reference", top, "p99_us")
    print(row("1. median turn, 1M vs empty", f"{f50:.2f} vs {e50:.2f} µs", f50 / e50, 3))
    print(row("1. p99 turn, 1M vs empty", f"{f99:.2f} vs {e99:.2f} µs", f99 / e99, 3))
    if r50 is not None:
        print(row("2. median turn, reference vs fast", f"{r50:,.1f} vs {f50:.2f} µs", r50 / f50, 100, above=True))
        print(row("2. p99 turn, reference vs fast", f"{r99:,.1f} vs {f99:.2f} µs", r99 / f99, 100, above=True))
    load, read = seconds(core[f"load/{top}"]), seconds(core[f"read/{top}"])
    save, write = seconds(core[f"save/{top}"]), seconds(core[f"write_sync/{top}"])
    print(row("3. loading four files vs reading their bytes",
              f"{load * 1e3:.0f} vs {read * 1e3:.0f} ms", load / read, 8))
    print(row("3. (start-up of a fresh process, Companion::Start, vs reading)",
              f"{memory['fresh_start_ms']:.0f} vs {read * 1e3:.0f} ms",
              memory["fresh_start_ms"] / 1e3 / read, 8))
    bare_load = seconds(core[f"load_without_indexes/{top}"])
    print(row("3. (loading without building the indexes vs reading)",
              f"{bare_load * 1e3:.0f} vs {read * 1e3:.0f} ms", bare_load / read, 8))
    print(row("3. saving at exit vs writing and syncing the bytes",
              f"{save * 1e3:.0f} vs {write * 1e3:.0f} ms", save / write, 2))
    print(row("4. peak memory vs data file bytes",
              f"{memory['peak_bytes'] / 2**20:.0f} vs {memory['data_bytes'] / 2**20:.0f} MiB",
              memory["peak_bytes"] / memory["data_bytes"], 4))
    print(row("5. window start to first frame vs bare Qt window (empty stores)",
              f"{holvan_frame:.1f} vs {bare_frame:.1f} ms", holvan_frame / bare_frame, 1.3))
    print(row("5. (the same against a bare window showing one Japanese line)",
              f"{holvan_frame:.1f} vs {text_frame:.1f} ms", holvan_frame / text_frame, 1.3))
    print(row(f"5. window turn after {window['turns']:,} turns vs first 1,000 (median)",
              f"{window['late_median_us']:.0f} vs {window['first_median_us']:.0f} µs",
              window["late_median_us"] / window["first_median_us"], 2))
    print(row("5. (the same, mean)",
              f"{window['late_mean_us']:.0f} vs {window['first_mean_us']:.0f} µs",
              window["late_mean_us"] / window["first_mean_us"], 2))


if __name__ == "__main__":
    main()
