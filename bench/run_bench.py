#!/usr/bin/env python3
"""Renderer benchmark: Vellora.data against a minimal GLX loop drawing the same frames.

For each screen size it starts an Xvfb server, writes a 24-bit snapshot BMP beside a fresh copy
of the renderer, and runs the renderer and the reference loop under the swap probe
(LD_PRELOAD) in pairs of runs, the order flipping with each pair. Each run lasts a fixed time
from launch and ends with SIGTERM; one unmeasured run of each program comes first.
Figures per run:
  start to first frame   probe constructor (after exec and dynamic linking) to the return of
                         the first glXSwapBuffers
  launch to first frame  the driver's clock just before spawning, to the same swap (adds exec
                         and library loading; informational)
  frames per second      (swaps - 1) / (last swap - first swap): unpaced, vblank_mode=0
  CPU per frame          (user + sys of the child, all threads) / swaps, from wait4
  peak memory            ru_maxrss of the child, from wait4
Each program's median is reported, and as the ratio the median of the per-pair ratios. Missed
targets are reported, never fatal: the exit status is non-zero only when a measurement could
not be made.
"""
import argparse
import os
import shutil
import signal
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import time

SCREENS = [(1280, 1024), (1920, 1080)]


def write_snapshot(path, width, height):
    """A bottom-up 24-bit BMP with a diagonal colour pattern, so the texture is not uniform."""
    stride = (width * 3 + 3) & ~3
    period = 509
    pattern = bytes((i * 7 + (i // 3) * 13) % 256 for i in range(stride + 3 * period))
    rows = b"".join(pattern[(y % period) * 3:(y % period) * 3 + stride] for y in range(height))
    header = b"BM" + struct.pack("<IHHI", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + rows)


class VirtualScreen:
    """An Xvfb server on the first free display number from `first` upwards."""

    def __init__(self, first, width, height, log_dir):
        self.process = None
        for number in range(first, first + 40):
            if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
                continue
            log = open(os.path.join(log_dir, f"xvfb{number}.log"), "w")
            self.process = subprocess.Popen(
                # -noreset: without it the server resets each time its only client leaves,
                # and the next program's connection waits about 0.1 s for that.
                ["Xvfb", f":{number}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp", "-noreset"],
                stdout=log, stderr=subprocess.STDOUT)
            self.display = f":{number}"
            if self._wait_ready(number):
                return
            self.close()
        raise RuntimeError("no Xvfb display could be started")

    def _wait_ready(self, number):
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                return False
            try:
                with socket.socket(socket.AF_UNIX) as probe:
                    probe.connect(f"/tmp/.X11-unix/X{number}")
                    return True
            except OSError:
                time.sleep(0.05)
        return False

    def close(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=10)
        self.process = None


TICKS = os.sysconf("SC_CLK_TCK")


def busy_cpu_seconds():
    """CPU time spent by everything on the machine so far (all CPUs, idle and iowait excluded)."""
    with open("/proc/stat") as stat:
        fields = [int(v) for v in stat.readline().split()[1:9]]
    user, nice, system, _idle, _iowait, irq, softirq, steal = fields
    return (user + nice + system + irq + softirq + steal) / TICKS


def process_cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def read_report(path):
    figures = {}
    with open(path) as report:
        for line in report:
            key, _, value = line.rstrip("\n").partition("=")
            figures[key] = value
    return figures


def measure(argv, screen, probe, seconds, report_path, shader_cache, min_swaps=2, extra_env=None):
    """Runs one program for `seconds` and returns its figures, or raises when it broke.

    Also returns how busy the rest of the machine was meanwhile: CPU time used by processes other
    than the program and the X server, in CPUs' worth, as a sign of how far to trust the run."""
    if os.path.exists(report_path):
        os.remove(report_path)
    env = dict(os.environ)
    env.update({
        "DISPLAY": screen.display,
        "LD_PRELOAD": probe,
        "SWAP_PROBE_REPORT": report_path,
        "vblank_mode": "0",
        "LIBGL_ALWAYS_SOFTWARE": "1",
        "GALLIUM_DRIVER": "llvmpipe",
        # A cache of compiled shaders of the benchmark's own, filled by the warm-up runs.
        "MESA_SHADER_CACHE_DIR": shader_cache,
    })
    for key, value in (extra_env or {}).items():
        env[key] = f"{env[key]}:{value}" if key == "LD_PRELOAD" else value
    log_path = report_path + ".stderr"
    devnull = os.open(os.devnull, os.O_RDWR)
    log = os.open(log_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    actions = [(os.POSIX_SPAWN_DUP2, devnull, 0), (os.POSIX_SPAWN_DUP2, devnull, 1),
               (os.POSIX_SPAWN_DUP2, log, 2)]
    busy_before = busy_cpu_seconds()
    server_before = process_cpu_seconds(screen.process.pid)
    try:
        launched = time.monotonic_ns()
        pid = os.posix_spawn(argv[0], argv, env, file_actions=actions)
    finally:
        os.close(devnull)
        os.close(log)

    def broke(what):
        with open(log_path, errors="replace") as text:
            tail = "".join(text.readlines()[-5:]).strip()
        return RuntimeError(f"{argv[0]} {what}" + (f"; its stderr ends:\n{tail}" if tail else ""))

    deadline = launched + int(seconds * 1e9)
    while time.monotonic_ns() < deadline:
        done, status, rusage = os.wait4(pid, os.WNOHANG)
        if done == pid:
            raise broke(f"ended by itself before the measuring time (status {status:#x})")
        time.sleep(0.02)
    os.kill(pid, signal.SIGTERM)
    _, status, rusage = os.wait4(pid, 0)
    wall = (time.monotonic_ns() - launched) / 1e9
    program_cpu = rusage.ru_utime + rusage.ru_stime
    server_cpu = process_cpu_seconds(screen.process.pid) - server_before
    other_load = max(0.0, busy_cpu_seconds() - busy_before - program_cpu - server_cpu) / wall
    if not (os.WIFSIGNALED(status) and os.WTERMSIG(status) == signal.SIGTERM):
        raise broke(f"did not end by SIGTERM (status {status:#x})")
    if not os.path.exists(report_path):
        raise broke("left no swap probe report")
    report = read_report(report_path)
    swaps = int(report["swaps"])
    if swaps < min_swaps:
        raise broke(f"swapped only {swaps} frame(s) in {seconds:g} s (other load "
                    f"{other_load:.2f} CPUs; a longer --seconds may help on a busy machine)")
    if swaps < 2:
        return None
    first, last = int(report["first_swap_ns"]), int(report["last_swap_ns"])
    return {
        "start_ms": (first - int(report["constructor_ns"])) / 1e6,
        "launch_ms": (first - launched) / 1e6,
        "fps": (swaps - 1) / ((last - first) / 1e9),
        "cpu_ms": program_cpu * 1e3 / swaps,
        "rss_mib": rusage.ru_maxrss / 1024,
        "gl": report.get("gl_renderer", ""),
        "other_load": other_load,
    }


# figure key, label, unit, target: (kind, bound) with kind "max" (ratio at most) or "min"
FIGURES = [
    ("start_ms", "start to first frame", "ms", ("max", 1.10)),
    ("launch_ms", "launch to first frame", "ms", None),
    ("fps", "frames per second", "fps", ("min", 0.95)),
    ("cpu_ms", "CPU per frame", "ms", None),
    ("rss_mib", "peak memory (max RSS)", "MiB", None),
]


# CPUs' worth of other work during a run above which the run counts as disturbed.
BUSY_LIMIT = 0.25
# Fewest undisturbed pairs that a table is made of; with fewer, it uses every pair.
MIN_QUIET_PAIRS = 3


def is_quiet(pair):
    return all(figures["other_load"] <= BUSY_LIMIT for figures in pair.values())


def print_table(title, pairs, figures_shown=None, names=("renderer", "reference")):
    """Medians of each program, and the median of the per-pair ratios: the two runs of a pair
    are neighbours in time, so their ratio cancels much of the drift that other load on the
    machine causes. The spread column shows the lowest and highest of those ratios. Pairs
    disturbed by other work are set aside while enough undisturbed ones remain."""
    quiet = [pair for pair in pairs if is_quiet(pair)]
    used = quiet if len(quiet) >= MIN_QUIET_PAIRS else pairs
    print(f"\n{title}")
    mine_name, theirs_name = names
    header = (f"  {'figure':<23}{mine_name:>13}{theirs_name:>13}{'ratio':>8}  {'spread':<13}"
              f"{'target':<9}{'result'}")
    print(header)
    print("  " + "-" * (len(header) - 2))
    missed = []
    for key, label, unit, target in figures_shown or FIGURES:
        mine = statistics.median(pair["renderer"][key] for pair in used)
        theirs = statistics.median(pair["reference"][key] for pair in used)
        ratios = [pair["renderer"][key] / pair["reference"][key] for pair in used]
        ratio = statistics.median(ratios)
        spread = f"{min(ratios):.2f}-{max(ratios):.2f}"
        if target is None:
            target_text, result = "-", ""
        else:
            kind, bound = target
            target_text = f"{'<=' if kind == 'max' else '>='} {bound:.2f}x"
            met = ratio <= bound if kind == "max" else ratio >= bound
            result = "met" if met else "MISSED"
            if not met:
                missed.append(label)
        print(f"  {label:<23}{mine:>9.2f} {unit:<3}{theirs:>9.2f} {unit:<3}{ratio:>7.3f}x  {spread:<13}"
              f"{target_text:<9}{result}")
    other = sorted(figures["other_load"] for pair in used for figures in pair.values())
    print(f"  {len(used)} of {len(pairs)} pairs used; other processes on the machine during them: "
          f"median {statistics.median(other):.2f} CPUs, highest {other[-1]:.2f}")
    if used is pairs and len(quiet) < len(pairs):
        print(f"  the machine was busy with other work ({len(quiet)} undisturbed pairs): "
              "these figures are unreliable, run again when it is quieter")
    return missed


def measure_pairs(args, work, programs, screen):
    """Pairs of runs of the two programs ({name: (argv, extra environment)}) on the screen."""
    probe = os.path.abspath(args.probe)
    report = os.path.join(work, "probe-report.txt")
    shader_cache = os.path.join(work, "shader-cache")
    pairs = []
    try:
        # One unmeasured run each first, so that both find the shader cache and the page cache
        # equally warm.
        for argv, extra in programs.values():
            measure(argv, screen, probe, args.warmup, report, shader_cache, min_swaps=0, extra_env=extra)
        # Disturbed pairs are made up for with up to --extra more.
        while sum(map(is_quiet, pairs)) < args.runs and len(pairs) < args.runs + args.extra:
            order = ["renderer", "reference"] if len(pairs) % 2 == 0 else ["reference", "renderer"]
            pairs.append({name: measure(programs[name][0], screen, probe, args.seconds, report, shader_cache,
                                        extra_env=programs[name][1])
                          for name in order})
    finally:
        screen.close()
    return screen.display, pairs


def measure_screen(args, work, width, height):
    """Measures both programs on one screen size; returns the display used and the pairs."""
    folder = os.path.join(work, f"{width}x{height}")
    os.mkdir(folder)
    renderer = os.path.join(folder, "Vellora.data")
    shutil.copy2(args.renderer, renderer)
    snapshot = os.path.join(folder, "Vellora.bmp")
    write_snapshot(snapshot, width, height)
    programs = {
        "renderer": ([renderer], None),
        "reference": ([os.path.abspath(args.reference), snapshot], None),
    }
    return measure_pairs(args, work, programs, VirtualScreen(args.display, width, height, work))


# Two 1280x1024 monitors side by side on a 2560x1024 root, the primary on the left. Runs of one
# and of two monitors take turns on one server, so the layout shim of the end-to-end tests
# answers the renderer's monitor query with these.
MONITORS = ["1280x1024+0+0", "1280x1024+1280+0"]

MONITOR_FIGURES = [
    ("start_ms", "start to first frame", "ms", ("max", 1.10)),
    ("launch_ms", "launch to first frame", "ms", ("max", 1.10)),
    ("fps", "swaps per second", "/s", None),
    ("cpu_ms", "CPU per swap", "ms", None),
    ("rss_mib", "peak memory (max RSS)", "MiB", None),
]
FRAME_FIGURES = [
    ("fps", "swaps per second", "/s", ("min", 1 / 1.10)),
    ("cpu_ms", "CPU per swap", "ms", ("max", 1.10)),
    ("rss_mib", "peak memory (max RSS)", "MiB", None),
]


def measure_monitors(args, work):
    """Two tables on a desktop of two monitors: the renderer's frames against the reference loop
    drawing the same two windows, and its first frame on the primary against its first frame
    when the primary is the only monitor."""
    folder = os.path.join(work, "monitors")
    os.mkdir(folder)
    renderer = os.path.join(folder, "Vellora.data")
    shutil.copy2(args.renderer, renderer)
    snapshots = [os.path.join(folder, name) for name in ("Vellora.bmp", "Vellora_2.bmp")]
    for path in snapshots:
        write_snapshot(path, 1280, 1024)
    shim = os.path.abspath(args.layout_shim)
    two = {"LD_PRELOAD": shim, "E2E_RANDR_MONITORS": f"{MONITORS[0]}*,{MONITORS[1]}"}
    one = {"LD_PRELOAD": shim, "E2E_RANDR_MONITORS": f"{MONITORS[0]}*"}
    windows = ",".join(f"{m}={path}" for m, path in zip(MONITORS, snapshots))
    frames = {"renderer": ([renderer], two),
              "reference": ([os.path.abspath(args.reference), "--windows", windows], None)}
    display, frame_pairs = measure_pairs(args, work, frames, VirtualScreen(args.display, 2560, 1024, work))
    starts = {"renderer": ([renderer], two), "reference": ([renderer], one)}
    _, start_pairs = measure_pairs(args, work, starts, VirtualScreen(args.display, 2560, 1024, work))
    return display, frame_pairs, start_pairs


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--renderer", required=True, help="the built Vellora.data")
    parser.add_argument("--reference", required=True, help="the built reference loop")
    parser.add_argument("--probe", required=True, help="the swap probe shared object")
    parser.add_argument("--runs", type=int, default=9, help="measured pairs of runs per screen")
    parser.add_argument("--extra", type=int, default=6,
                        help="most pairs added per screen in place of pairs disturbed by other work")
    parser.add_argument("--seconds", type=float, default=2.0, help="time per run, from launch to SIGTERM")
    parser.add_argument("--warmup", type=float, default=1.5, help="time of the unmeasured first run")
    parser.add_argument("--display", type=int, default=94, help="first X display number to try")
    parser.add_argument("--monitors", action="store_true",
                        help="measure a desktop of two monitors instead of the single screens")
    parser.add_argument("--layout-shim", help="the monitor layout shim of the end-to-end tests (with --monitors)")
    args = parser.parse_args()
    for path in (args.renderer, args.reference, args.probe):
        if not os.path.isfile(path):
            sys.exit(f"missing {path}: build first (bench/run.sh does)")

    cpus = os.cpu_count()
    print(f"Renderer benchmark: {args.runs} pairs of {args.seconds:g} s runs per screen, medians; "
          f"{cpus} CPUs, Xvfb, load average {os.getloadavg()[0]:.2f}")
    all_missed = []
    with tempfile.TemporaryDirectory(prefix="vellora-bench-") as work:
        if args.monitors:
            display, frame_pairs, start_pairs = measure_monitors(args, work)
            all_missed += print_table(f"two monitors {' and '.join(MONITORS)} on Xvfb {display}: the renderer "
                                      "against bare loops drawing the same two windows", frame_pairs,
                                      FRAME_FIGURES, ("renderer", "bare loops"))
            all_missed += print_table("first frame on the primary: two monitors against the primary alone",
                                      start_pairs, MONITOR_FIGURES, ("two", "one"))
        for width, height in ([] if args.monitors else SCREENS):
            display, pairs = measure_screen(args, work, width, height)
            gl = pairs[0]["renderer"]["gl"]
            if any(figures["gl"] != gl for pair in pairs for figures in pair.values()):
                raise RuntimeError("the two programs did not run on the same GL implementation")
            missed = print_table(f"{width}x{height} on Xvfb {display}, GL: {gl}", pairs)
            all_missed += [f"{label} at {width}x{height}" for label in missed]
    print(f"\nLoad average at the end: {os.getloadavg()[0]:.2f}")
    if all_missed:
        print(f"Targets missed (reported only): {'; '.join(all_missed)}")
    else:
        print("All targets met.")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except RuntimeError as error:
        sys.exit(f"benchmark broke: {error}")
