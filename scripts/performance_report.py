#!/usr/bin/env python3
"""Writes docs/performance.md to stdout from the measurements scripts/bench leaves in a folder:
the benchmarks' JSON output, the endurance run's text, the idle figures of the exe and the
exe's resource log with a running stopwatch (scripts/gui_endurance)."""

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


def gui_endurance(path):
    """The minutes of the run, the exe's log lines and the Linux samples, each a dict of
    numbers (and the method text) by field name."""
    minutes, exe, linux = 0, [], []
    for line in path.read_text().splitlines():
        source, _, rest = line.partition(" ")
        if source == "minutes":
            minutes = int(rest)
            continue
        fields = dict(field.split("=") for field in rest.split())
        sample = {k: v if k == "method" else int(v) for k, v in fields.items()}
        (exe if source == "exe" else linux).append(sample)
    return minutes, exe, linux


def after_first_minute(samples):
    """The samples from the first one at or after 60 s on; the first of them is "at 1 min"."""
    return [s for s in samples if s["seconds"] >= 60]


def is_flat(samples, field):
    """No rise after minute one: the last value is not above the largest one seen in the
    first half of the samples from minute one on (jitter of a page or two is no growth)."""
    values = [s[field] for s in samples]
    return values[-1] <= max(values[: max(1, len(values) // 2)])


def per_hour(samples, field):
    first, last = samples[0], samples[-1]
    return (last[field] - first[field]) * 3600 / (last["seconds"] - first["seconds"])


def gui_section(minutes, exe, linux):
    """The report's section on the stopwatch run, and its two rows of the goals table."""
    steady, steady_rss = after_first_minute(exe), after_first_minute(linux)
    first, last = steady[0], steady[-1]
    fps = (last["frames"] - first["frames"]) / (last["seconds"] - first["seconds"])
    spread = {f: (min(s[f] for s in steady), max(s[f] for s in steady))
              for f in ("gdi", "user", "handles")}
    objects_flat = all(hi == lo for lo, hi in (spread["gdi"], spread["user"]))
    memory_flat = is_flat(steady, "private_bytes") and is_flat(steady_rss, "vmrss_kib")
    mib = 1024 * 1024
    rows = [
        f"| GDI and USER objects of the exe under Wine, running stopwatch, from minute one to "
        f"minute {minutes} | GDI {spread['gdi'][0]}–{spread['gdi'][1]}, USER "
        f"{spread['user'][0]}–{spread['user'][1]} | flat after the first minute | "
        f"{verdict(objects_flat)} |",
        f"| Memory of the exe under Wine, same run: private bytes and VmRSS growth per hour | "
        f"{per_hour(steady, 'private_bytes') / 1024:+.0f} KiB/h, "
        f"{per_hour(steady_rss, 'vmrss_kib'):+.0f} KiB/h | flat after the first minute | "
        f"{verdict(memory_flat)} |",
    ]
    out = [f"## The exe with a running stopwatch: {minutes} minutes under Wine\n"]
    out.append("`scripts/gui_endurance` starts `NorvaleTimeClock.exe --resource-log FILE` in a "
               "Wine prefix of its own with an empty registry on a private Xvfb display, "
               "switches to Stopwatch mode (key 4), starts the stopwatch with the face's left "
               "button, checks that the read-out changes, and leaves it running. The program "
               "writes a line every ten seconds from its start; beside it the script reads the "
               "Wine process's VmRSS from `/proc` every ten seconds from the stopwatch's start. "
               f"The counts were obtained by method \"{first['method']}\": under Wine 8 "
               "`GetGuiResources` answers 0 with ERROR_CALL_NOT_IMPLEMENTED and "
               "`GetProcessHandleCount` answers 0, so the program counts its GDI objects by "
               "probing the 16-bit handle values with `GetObjectType`, its USER objects as its "
               "windows (`EnumWindows`, `EnumChildWindows`, message-only windows) plus the menus "
               "(`IsMenu`) and icons and cursors (`GetIconInfo`) found by probing Wine's USER "
               "handle values, and its handles in the system's handle table. Private bytes are "
               "`PagefileUsage` of `GetProcessMemoryInfo`: Wine leaves `PrivateUsage` at 0, and "
               "counts in `PagefileUsage` only the private pages written to (seen: 16 MiB "
               "committed add nothing until written, then 16 MiB), so it is the resident "
               "private memory rather than Windows' commit charge.\n")
    out.append("| | At 1 min | At the end | Lowest / highest from 1 min on |")
    out.append("|---|---|---|---|")
    names = {"gdi": "GDI objects", "user": "USER objects", "handles": "Kernel handles"}
    for field, name in names.items():
        out.append(f"| {name} | {first[field]} | {last[field]} | "
                   f"{spread[field][0]} / {spread[field][1]} |")
    for samples, field, name, unit in ((steady, "private_bytes", "Private bytes", mib),
                                       (steady, "working_set_bytes", "Working set", mib),
                                       (steady_rss, "vmrss_kib", "VmRSS (Linux)", 1024)):
        values = [s[field] / unit for s in samples]
        out.append(f"| {name} | {values[0]:.2f} MiB | {values[-1]:.2f} MiB | "
                   f"{min(values):.2f} / {max(values):.2f} MiB |")
    out.append("")
    out.append(f"- Times: the exe's log from {first['seconds']} s to {last['seconds']} s after its "
               f"start, the VmRSS samples from {steady_rss[0]['seconds']} s to "
               f"{steady_rss[-1]['seconds']} s after the stopwatch's start.")
    out.append(f"- Frames presented (calls of `UpdateLayeredWindow`) from 1 min to the end: "
               f"{last['frames'] - first['frames']} in {last['seconds'] - first['seconds']} s, "
               f"{fps:.2f} a second (the tick timer runs every 100 ms).")
    out.append(f"- GUI objects: {verdict(objects_flat)} (goal: GDI and USER counts flat after the "
               "first minute; the lowest and highest value from minute one on are "
               f"{'equal' if objects_flat else 'not equal'}).")
    out.append(f"- Memory: growth per hour from 1 min to the end, extrapolated: private bytes "
               f"{per_hour(steady, 'private_bytes') / 1024:+.0f} KiB, VmRSS "
               f"{per_hour(steady_rss, 'vmrss_kib'):+.0f} KiB; "
               f"{verdict(memory_flat)} (goal: flat after the first minute, taken as: the last "
               "sample no higher than the highest of the first half of the samples from minute "
               "one on, so a page or two of jitter is not growth).")
    out.append("")
    return rows, out


def main():
    folder = Path(sys.argv[1])
    clock, context = medians(folder / "clock.json")
    presentation, _ = medians(folder / "presentation.json")
    raster, _ = medians(folder / "raster.json")
    idle = dict(line.split() for line in (folder / "idle.txt").read_text().splitlines())
    endurance = (folder / "endurance.txt").read_text().splitlines()
    gui_rows, gui_text = gui_section(*gui_endurance(folder / "gui_endurance.txt"))

    def us(table, name):
        value, unit, _ = table[name]
        return in_microseconds(value, unit)

    frame = us(clock, "BM_RenderFrame/scale_1")
    frame2 = us(clock, "BM_RenderFrame/scale_2")
    fade = us(presentation, "BM_FadeStep")
    tick = us(clock, "BM_IdleTick")
    tick_allocations = clock["BM_IdleTick"][2].get("allocations", 0)
    alarm_tick = us(clock, "BM_IdleTickWith100Alarms")
    alarm_tick_allocations = clock["BM_IdleTickWith100Alarms"][2].get("allocations", 0)
    next_moments = us(clock, "BM_NextOccurrences100")
    skin = us(clock, "BM_LoadSkin/scale_1")
    skin2 = us(clock, "BM_LoadSkin/scale_2")
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
    out.append(f"| Frame rendering at 100 % (`RenderFrame`, default skin, Clock mode) | "
               f"{frame / 1000:.3f} ms | <= 1 ms, no slower than before display scales "
               f"(0.242 ms then) | {verdict(frame <= 1000)} |")
    out.append(f"| Frame rendering at 200 % (the same, 300 x 300 pixels) | "
               f"{frame2 / 1000:.3f} ms | <= 1 ms, aim 0.5 ms | {verdict(frame2 <= 1000)} |")
    out.append(f"| Fade step (one step of the fade timer) | {fade / 1000:.4f} ms | <= 0.2 ms | "
               f"{verdict(fade <= 200)} |")
    out.append(f"| Idle tick (nothing to draw) | {tick:.3f} µs, {tick_allocations:g} allocations "
               f"| <= 2 µs | {verdict(tick <= 2)} |")
    out.append(f"| Idle tick with 100 alarms waiting | {alarm_tick:.3f} µs, "
               f"{alarm_tick_allocations:g} allocations | <= 2 µs, none | "
               f"{verdict(alarm_tick <= 2 and alarm_tick_allocations == 0)} |")
    out.append(f"| Next moments of 100 alarms (kinds mixed, zone with daylight saving) | "
               f"{next_moments:.1f} µs | <= 100 µs | {verdict(next_moments <= 100)} |")
    for size in (150, 400, 1024):
        ours = us(raster, f"BM_DecodePngNorvale/{size}")
        theirs = us(raster, f"BM_DecodePngLibpng/{size}")
        ratio = theirs / ours
        out.append(f"| PNG decoding, {size} x {size} face: libpng {theirs:.0f} µs / ours "
                   f"{ours:.0f} µs | {ratio:.2f} x libpng | >= 1.0 x libpng | "
                   f"{verdict(ratio >= 1.0)} |")
    out.append(f"| Idle CPU of the exe under Wine, Clock mode, over {float(idle['seconds']):.0f} s"
               f" | {idle_cpu:.2f} % of a core | < 1 % | {verdict(idle_cpu < 1)} |")
    out.append(f"| Skin load at 100 % (default skin: description, images decoded, their @2x and "
               f"@3x variants read and checked, fonts) | {skin / 1000:.2f} ms | <= 5 ms | "
               f"{verdict(skin <= 5000)} |")
    out.append(f"| Skin load at 200 % (the same, the @2x variants decoded and the bitmaps drawn "
               f"for 200 %) | "
               f"{skin2 / 1000:.2f} ms | <= 30 ms | {verdict(skin2 <= 30000)} |")
    out.append(f"| Label rendering (\"00:00:00\", FreeType) | {label:.1f} µs | none | |")
    out.append(f"| Peak memory of the exe under Wine (VmHWM, Wine's own included) | "
               f"{peak_mib:.0f} MiB | none | |")
    out.extend(gui_rows)
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
               "rasterizer that draws nothing, with the hourly chime, a "
               "countdown and a timer alarm every six hours and an alarm of the Alarms window "
               "every two hours, each acknowledged by a press on the face within ten minutes. It "
               "counts every `operator new` and "
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
    out.extend(gui_text)
    # The long fuzz runs are recorded by hand beside the targets.
    fuzz_runs = Path(__file__).resolve().parents[1] / "fuzz" / "runs.md"
    if fuzz_runs.exists():
        out.append(fuzz_runs.read_text().rstrip("\n"))
    print("\n".join(out))


if __name__ == "__main__":
    main()
