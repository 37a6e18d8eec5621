#!/usr/bin/env python3
"""Writes docs/performance.md to stdout from the measurements scripts/bench leaves in a folder:
the benchmarks' JSON output, the endurance run's text and the idle figures of the exe."""

import json
import platform
import re
import sys
from pathlib import Path


def medians(path):
    """Benchmark name -> (median real time, its time unit, extra counters)."""
    data = json.loads(path.read_text())
    result = {}
    for run in data["benchmarks"]:
        if run.get("aggregate_name") == "median":
            counters = {k: v for k, v in run.items() if k == "allocations"}
            result[run["run_name"]] = (run["real_time"], run["time_unit"], counters)
    return result, data["context"]


def in_microseconds(value, unit):
    return value * {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[unit]


def verdict(met):
    return "met" if met else "**missed**"


def main():
    folder = Path(sys.argv[1])
    clock, context = medians(folder / "clock.json")
    presentation, _ = medians(folder / "presentation.json")
    raster, _ = medians(folder / "raster.json")
    idle = dict(line.split() for line in (folder / "idle.txt").read_text().splitlines())
    endurance = (folder / "endurance.txt").read_text().splitlines()

    def us(table, name):
        value, unit, _ = table[name]
        return in_microseconds(value, unit)

    frame = us(clock, "BM_RenderFrame")
    fade = us(presentation, "BM_FadeStep")
    tick = us(clock, "BM_IdleTick")
    tick_allocations = clock["BM_IdleTick"][2].get("allocations", 0)
    skin = us(clock, "BM_LoadSkin")
    label = us(raster, "BM_RenderLabelTextFreeType")
    cpu_seconds = int(idle["cpu_ticks"]) / int(idle["ticks_per_second"])
    idle_cpu = 100 * cpu_seconds / float(idle["seconds"])
    peak_mib = int(idle["peak_kib"]) / 1024

    out = []
    out.append("# Performance\n")
    out.append("Made by `scripts/bench`; regenerate it rather than editing it. Times are the median "
               "of five repetitions of each Google Benchmark in `bench/` (linux preset, "
               "RelWithDebInfo, GCC).\n")
    out.append(f"Machine: {context.get('num_cpus', '?')} CPUs at "
               f"{context.get('mhz_per_cpu', '?')} MHz, {platform.system()} "
               f"{platform.release()}; load average at the start "
               f"{', '.join(f'{x:.1f}' for x in context.get('load_avg', []))}. The machine is "
               "shared, so figures vary from run to run; the ratios and the allocation counts "
               "do not.\n")
    out.append("## Figures against their goals\n")
    out.append("| What | Measured | Goal | |")
    out.append("|---|---|---|---|")
    out.append(f"| Frame rendering (`RenderFrame`, default skin, Clock mode) | "
               f"{frame / 1000:.3f} ms | <= 1 ms | {verdict(frame <= 1000)} |")
    out.append(f"| Fade step (one step of the fade timer) | {fade / 1000:.4f} ms | <= 0.2 ms | "
               f"{verdict(fade <= 200)} |")
    out.append(f"| Idle tick (nothing to draw) | {tick:.3f} µs, {tick_allocations:g} allocations "
               f"| <= 2 µs | {verdict(tick <= 2)} |")
    for size in (150, 400, 1024):
        ours = us(raster, f"BM_DecodePngNorvale/{size}")
        theirs = us(raster, f"BM_DecodePngLibpng/{size}")
        ratio = theirs / ours
        out.append(f"| PNG decoding, {size} x {size} face: libpng {theirs:.0f} µs / ours "
                   f"{ours:.0f} µs | {ratio:.2f} x libpng | >= 1.0 x libpng | "
                   f"{verdict(ratio >= 1.0)} |")
    out.append(f"| Idle CPU of the exe under Wine, Clock mode, over {float(idle['seconds']):.0f} s"
               f" | {idle_cpu:.2f} % of a core | < 1 % | {verdict(idle_cpu < 1)} |")
    out.append(f"| Skin load (default skin: description, images, fonts) | {skin / 1000:.2f} ms "
               "| none | |")
    out.append(f"| Label rendering (\"00:00:00\", FreeType) | {label:.1f} µs | none | |")
    out.append(f"| Peak memory of the exe under Wine (VmHWM, Wine's own included) | "
               f"{peak_mib:.0f} MiB | none | |")
    out.append("")
    out.append("The idle CPU is the user and system time the kernel counted for the Wine "
               "process running `NorvaleTimeClock.exe` (`/proc/<pid>/stat`), divided by the "
               "wall-clock time between the two readings, started five seconds after the "
               "window appeared (after the fade-in), on a private Xvfb display.\n")

    days = sum(1 for line in endurance if line.startswith("Clock day"))
    out.append(f"## Endurance: {days} days on the injected clock\n")
    out.append("`norvale_endurance` (also a CTest test, over two days) ticks the clock window "
               f"every 100 ms for {days} simulated days in Clock mode and again in Stopwatch mode, "
               "drawing every frame through the real `RenderFrame` on an 8 x 8 skin with a text "
               "rasterizer that draws nothing, with the hourly chime and a "
               "countdown and a timer alarm every six hours. It counts every `operator new` and "
               "`operator delete` of the program and fails when the blocks held on the heap at "
               "the end of a day exceed those at the end of day one.\n")
    out.append("```")
    out.extend(endurance)
    out.append("```\n")
    matches = [re.match(r"(\w+) day (\d+): (\d+) live", line) for line in endurance]
    live = {}
    for m in filter(None, matches):
        live.setdefault(m.group(1), []).append(int(m.group(3)))
    for mode, counts in live.items():
        out.append(f"- {mode}: {counts[0]} blocks held after day one, {max(counts[1:])} at most "
                   f"on the days after: {verdict(max(counts[1:]) <= counts[0])} "
                   "(goal: flat after day one).")
    out.append("")
    print("\n".join(out))


if __name__ == "__main__":
    main()
