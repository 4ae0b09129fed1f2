#!/usr/bin/env python3
"""Session benchmark: from `Vellora.scr /s` to the renderer's first frame, step by step, and the
CPU the shell uses while it waits for the mouse.

For each screen size an Xvfb server is started and a folder holds fresh copies of Vellora.scr
and Vellora.data. Each measured run starts a session under the session probe (LD_PRELOAD,
inherited by the renderer), waits for the renderer's first frame, and ends the session with a
pointer move. Next to it, alternating which goes first, the minimal reference programs do the
same steps: the capture, the save, the start of the renderer from a small parent, and the
reference GLX loop's texture and first frame, its texture built as the renderer builds it and,
in a second run, with every mipmap level. One unmeasured round comes first. The table gives
medians and, as ratios, the median of the per-run ratios. Then one session is watched while it
waits: the shell's CPU over a window with the renderer running and over one after Escape ended
the renderer, next to a program that only reads the pointer every 50 ms. Last, one session
plays an MP3 file as its background music: the shell's CPU and wake-ups, split into its user
interface thread and its audio threads, next to a minimal SDL program playing the same file.

Only reports: the exit status is non-zero only when a measurement could not be made.
"""
import argparse
import ctypes
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ beside the sources
import cpu_use  # noqa: E402
import probe_events  # noqa: E402
from probe_events import MeasurementError  # noqa: E402
from x_display import VirtualScreen  # noqa: E402

SHELL, RENDERER = "Vellora.scr", "Vellora.data"
REFERENCE_EXE = "vellora_bench_session_reference"
WAITING_TARGET_PERCENT = 0.2
# SDL's output thread (SDLAudioP<n>) and the shell's feeder thread, which reads the music ahead.
AUDIO_THREADS = ("SDLAudio", "vellora-feeder")
# SDL's disk output at a device's pace, written nowhere: the same for the shell and the reference.
QUIET_AUDIO = {"SDL_AUDIODRIVER": "disk", "SDL_DISKAUDIOFILE": os.devnull}
PR_SET_CHILD_SUBREAPER = 36


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--dist", required=True, help="folder holding Vellora.scr and Vellora.data")
    parser.add_argument("--probe", required=True, help="session_probe.so")
    parser.add_argument("--reference", required=True, help="vellora_bench_session_reference")
    parser.add_argument("--reference-loop", required=True, help="vellora_bench_reference_loop")
    parser.add_argument("--gtk-poller", required=True, help="vellora_bench_gtk_poller")
    parser.add_argument("--sdl-player", required=True, help="vellora_bench_sdl_player")
    parser.add_argument("--mp3-writer", required=True, help="vellora_bench_mp3_writer")
    parser.add_argument("--runs", type=int, default=9, help="measured runs per screen size (default 9)")
    parser.add_argument("--cpu-seconds", type=float, default=10.0, help="length of each CPU window (default 10)")
    parser.add_argument("--screens", default="1280x1024,1920x1080", help="comma-separated WxH list")
    parser.add_argument("--first-display", type=int, default=160, help="lowest X display number to try")
    parser.add_argument("--keep", action="store_true", help="keep the scratch folder and print its path")
    parser.add_argument("--music-rate", type=int, default=48000,
                        help="sample rate of the MP3 the music measurement plays (default 48000)")
    parser.add_argument("--music-only", action="store_true",
                        help="measure only the CPU while the music plays, not the start or the wait")
    return parser.parse_args()


class Bench:
    def __init__(self, args, work):
        self.args, self.work = args, work
        self.shader_cache = os.path.join(work, "shader-cache")
        os.makedirs(self.shader_cache)
        self.log = open(os.path.join(work, "programs.log"), "w")
        self.counter = 0

    # ---- starting and ending programs ----

    def gl_env(self, screen, events):
        env = screen.env()
        env.update(LD_PRELOAD=os.path.abspath(self.args.probe), SESSION_PROBE_DIR=events, vblank_mode="0",
                   LIBGL_ALWAYS_SOFTWARE="1", GALLIUM_DRIVER="llvmpipe", MESA_SHADER_CACHE_DIR=self.shader_cache)
        return env

    def events_folder(self, label):
        self.counter += 1
        folder = os.path.join(self.work, "events", f"{self.counter:03d}-{label}")
        os.makedirs(folder)
        return folder

    def spawn(self, argv, env):
        actions = [(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
                   (os.POSIX_SPAWN_DUP2, self.log.fileno(), 2)]
        return os.posix_spawn(argv[0], argv, env, file_actions=actions)

    @staticmethod
    def wait_for(condition, seconds, what):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.005)
        raise MeasurementError(f"timed out waiting for {what}")

    @staticmethod
    def kill_quietly(pid):
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass

    @staticmethod
    def reap(pid, seconds=10.0, what="a process"):
        """Waits for a child (or an orphan handed to this subreaper); returns its rusage."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            try:
                done, _, usage = os.wait4(pid, os.WNOHANG)
                if done == pid:
                    return usage
            except ChildProcessError:
                if not os.path.exists(f"/proc/{pid}"):
                    return None  # reaped by its own parent
            time.sleep(0.005)
        Bench.kill_quietly(pid)
        try:
            os.wait4(pid, 0)
        except ChildProcessError:
            pass
        raise MeasurementError(f"{what} did not end within {seconds:.0f} s")

    def run_until_first_swap(self, argv, env, events, exe, stop):
        """Starts a program, waits for `exe` to swap its first frame, then ends it with SIGTERM."""
        pid = self.spawn(argv, env)
        try:
            process = self.wait_for(lambda: probe_events.first_swap_seen(events, exe), 60, f"{exe}'s first frame")
        except MeasurementError:
            self.kill_quietly(pid)
            self.reap(pid)
            raise
        os.kill(process.pid if stop == "renderer" else pid, signal.SIGTERM)
        self.reap(pid, what=argv[0])
        if process.pid != pid:
            self.reap(process.pid, what=exe)

    def reference_output(self, *words):
        result = subprocess.run([self.args.reference, *words], env=self.screen.env(), capture_output=True,
                                text=True, timeout=60)
        if result.returncode != 0:
            raise MeasurementError(f"reference {words[0]} failed: {result.stderr.strip()}")
        return dict(line.split("=", 1) for line in result.stdout.split())

    # ---- one screen size ----

    def prepare(self, screen, label):
        self.screen = screen
        self.app = os.path.join(self.work, label, "app")
        self.ref = os.path.join(self.work, label, "ref")
        os.makedirs(self.app)
        os.makedirs(self.ref)
        for folder in (self.app, self.ref):
            shutil.copy2(os.path.join(self.args.dist, RENDERER), folder)
        shutil.copy2(os.path.join(self.args.dist, SHELL), self.app)

    def start_session(self, extra_env=None):
        events = self.events_folder("session")
        launch = time.monotonic_ns()
        env = self.gl_env(self.screen, events)
        env.update(extra_env or {})
        shell = self.spawn([os.path.join(self.app, SHELL), "/s"], env)

        def first_frame():
            done, status = os.waitpid(shell, os.WNOHANG)
            if done == shell:
                raise MeasurementError(f"Vellora.scr ended (status {os.waitstatus_to_exitcode(status)}) before the "
                                       f"renderer's first frame; events in {events}")
            return probe_events.first_swap_seen(events, RENDERER)

        try:
            self.wait_for(first_frame, 60, "the renderer's first frame")
        except MeasurementError:
            # Every process that wrote events is the shell or a child of it started here.
            for pid in probe_events.read_processes(events):
                self.kill_quietly(pid)
            self.kill_quietly(shell)
            self.reap(shell)
            raise
        marks = probe_events.session_marks(events)
        marks["launch"] = launch
        return shell, marks

    def end_session(self, shell, marks):
        """Ends the session with a pointer move and waits for both programs to be gone."""
        self.screen.move_pointer_away()
        self.reap(shell, what="Vellora.scr after the pointer move")
        self.reap(marks["renderer_pid"], what="Vellora.data after the pointer move")

    def session_run(self):
        # What the rest of the machine does just before the run, while nothing of this
        # benchmark runs: other builds on a shared machine move the figures.
        other_load = cpu_use.machine_load_while_idle(0.5)
        shell, marks = self.start_session()
        self.end_session(shell, marks)
        marks["other_load"] = other_load
        return marks

    def reference_round(self):
        capture = self.reference_output("capture")
        save = self.reference_output("save", os.path.join(self.app, "Vellora.bmp"), os.path.join(self.ref, "Vellora.bmp"))
        events = self.events_folder("spawn")
        self.run_until_first_swap([self.args.reference, "spawn", os.path.join(self.ref, RENDERER)],
                                  self.gl_env(self.screen, events), events, RENDERER, stop="renderer")
        spawn = probe_events.spawn_reference_marks(events, REFERENCE_EXE)
        loops = {}
        for name, options in (("loop", []), ("loop_mipmaps", ["--mipmaps"])):
            events = self.events_folder(name)
            loop_exe = os.path.basename(self.args.reference_loop)
            self.run_until_first_swap([self.args.reference_loop, *options, os.path.join(self.ref, "Vellora.bmp")],
                                      self.gl_env(self.screen, events), events, loop_exe, stop="program")
            loops[name] = probe_events.loop_reference_marks(events, loop_exe)
        return {"capture": int(capture["capture_ns"]), "xgetimage": int(capture["xgetimage_ns"]),
                "save": int(save["save_ns"]), "spawn": spawn, **loops}

    def measure_steps(self):
        self.session_run()  # warm-up: page cache, shader cache, an older snapshot to replace
        self.reference_round()
        runs = []
        for i in range(self.args.runs):
            if i % 2 == 0:
                session = self.session_run()
                reference = self.reference_round()
            else:
                reference = self.reference_round()
                session = self.session_run()
            runs.append((session, reference))
        return runs

    def watch_session(self, references, extra_env=None, ready=None):
        """Starts a session beside already started references and measures the CPU of all of
        them over two windows: with the renderer running, and after Escape ended it. `ready`,
        given the shell's pid, says when the shell has settled enough to start the first."""
        try:
            shell, marks = self.start_session(extra_env)
            programs = {"Vellora.scr": shell, **references}
            try:
                if ready:
                    self.wait_for(lambda: ready(shell), 10, "the shell to settle")
                time.sleep(2.0)  # the renderer past its start, the shell in its steady wait
                running = cpu_use.measure(programs.values(), self.args.cpu_seconds)
                self.screen.press_escape()
                self.wait_for(lambda: not os.path.exists(f"/proc/{marks['renderer_pid']}"), 10,
                              "the renderer to end on Escape (the shell reaps it)")
                time.sleep(1.0)
                ended = cpu_use.measure(programs.values(), self.args.cpu_seconds)
            finally:
                self.screen.move_pointer_away()
                self.reap(shell, what="Vellora.scr after the pointer move")
        finally:
            for pid in references.values():
                if pid != self.screen.process.pid:
                    self.kill_quietly(pid)
                    self.reap(pid, what="a reference")
        return programs, {"renderer running": running, "renderer ended by Escape": ended}

    def measure_waiting(self):
        """The shell's CPU while it waits, next to the waiting references and the X server."""
        seconds = str(2 * self.args.cpu_seconds + 10)
        return self.watch_session({
            "GTK timer reading the pointer": self.spawn([self.args.gtk_poller, seconds], self.screen.env()),
            "Xlib loop reading the pointer": self.spawn([self.args.reference, "poll", seconds], self.screen.env()),
            "wake-ups only": self.spawn([self.args.reference, "tick", seconds], self.screen.env()),
            "X server": self.screen.process.pid,
        })

    def measure_music(self):
        """The shell playing an MP3 as its background music, next to the minimal SDL program
        playing the same file and the GTK waiting reference."""
        seconds = 2 * self.args.cpu_seconds + 10
        mp3 = os.path.join(self.work, f"music-{self.args.music_rate}.mp3")
        if not os.path.exists(mp3):
            subprocess.run([self.args.mp3_writer, mp3, str(seconds + 10), str(self.args.music_rate)],
                           check=True, timeout=120)
        ini = os.path.join(self.app, "Vellora.ini")
        with open(ini, "wb") as f:  # music: an MP3 file
            f.write(f"[Section]\r\nBGM区分= 2\r\nBGMﾘﾋﾟｰﾄ= 0\r\nBGMﾌｧｲﾙ={mp3}\r\n".encode("cp932"))
        env = self.screen.env()
        env.update(QUIET_AUDIO)

        def music_started(shell):
            return any(name.startswith(AUDIO_THREADS) for name, _, _ in cpu_use.ProcessSample(shell).threads.values())

        try:
            return self.watch_session({
                "SDL program playing the same MP3": self.spawn([self.args.sdl_player, mp3, str(seconds)], env),
                "GTK timer reading the pointer": self.spawn([self.args.gtk_poller, str(seconds)], self.screen.env()),
            }, QUIET_AUDIO, music_started)
        finally:
            os.remove(ini)


# ---- the report ----

def ms(ns):
    return ns / 1e6


def reference_sum(r, loop):
    """The step references added up: capture, save, process start, and the reference loop from its
    start to its first frame (its texture built as the renderer builds it, or with every level)."""
    return (r["capture"] + r["save"] + r["spawn"]["renderer_start"] - r["spawn"]["spawn"]
            + r[loop]["first_swap"] - r[loop]["start"])


def step_rows(runs):
    """(label, between, session ms per run, reference ms per run or None)."""
    def spans(get):
        return [get(s, r) for s, r in runs]

    rows = [
        ("exec and linking", "launch → shell probe start", spans(lambda s, r: s["shell_start"] - s["launch"]), None),
        ("shell start-up", "shell start → XGetImage", spans(lambda s, r: s["capture"] - s["shell_start"]), None),
        ("capture", "XGetImage → first snapshot file call", spans(lambda s, r: s["save"] - s["capture"]),
         spans(lambda s, r: r["capture"])),
        ("  of which XGetImage", "XGetImage call", spans(lambda s, r: s["captured"] - s["capture"]),
         spans(lambda s, r: r["xgetimage"])),
        ("save", "first snapshot file call → spawn call", spans(lambda s, r: s["spawn"] - s["save"]),
         spans(lambda s, r: r["save"])),
        ("  of which fsync", "fsync calls in the save", spans(lambda s, r: s["fsync_ns"]), None),
        ("process start", "spawn call → renderer probe start", spans(lambda s, r: s["renderer_start"] - s["spawn"]),
         spans(lambda s, r: r["spawn"]["renderer_start"] - r["spawn"]["spawn"])),
        ("  of which the spawn call", "the spawn function (reference: posix_spawn) until it returns",
         spans(lambda s, r: s["spawned"] - s["spawn"]), spans(lambda s, r: r["spawn"]["spawned"] - r["spawn"]["spawn"])),
        ("renderer set-up", "renderer start → glGenTextures",
         spans(lambda s, r: s["texture"] - s["renderer_start"]),
         spans(lambda s, r: r["loop"]["texture"] - r["loop"]["start"])),
        ("texture build", "glGenTextures → last glTexImage2D returned", spans(lambda s, r: s["textured"] - s["texture"]),
         spans(lambda s, r: r["loop"]["textured"] - r["loop"]["texture"])),
        ("  the same, reference with gluBuild2DMipmaps", "(every level built, as the renderer did before)",
         spans(lambda s, r: s["textured"] - s["texture"]),
         spans(lambda s, r: r["loop_mipmaps"]["textured"] - r["loop_mipmaps"]["texture"])),
        ("first frame", "last glTexImage2D returned → first swap", spans(lambda s, r: s["first_swap"] - s["textured"]),
         spans(lambda s, r: r["loop"]["first_swap"] - r["loop"]["textured"])),
        ("renderer alone", "renderer start → first swap (reference: started by the small parent)",
         spans(lambda s, r: s["first_swap"] - s["renderer_start"]),
         spans(lambda s, r: r["spawn"]["first_swap"] - r["spawn"]["renderer_start"])),
        ("**total**", "launch → first swap (reference: sum of the step references)",
         spans(lambda s, r: s["first_swap"] - s["launch"]), spans(lambda s, r: reference_sum(r, "loop"))),
        ("**total**, reference with gluBuild2DMipmaps", "the same, the reference loop building every level",
         spans(lambda s, r: s["first_swap"] - s["launch"]), spans(lambda s, r: reference_sum(r, "loop_mipmaps"))),
    ]
    return rows


def print_steps(label, runs):
    load = statistics.median(s["other_load"] for s, _ in runs)
    print(f"\n### {label}: start to first frame ({len(runs)} runs)\n")
    print("| Step | Measured between | Vellora ms | Reference ms | Ratio | Spread |")
    print("|---|---|---:|---:|---:|---|")
    for name, between, session, reference in step_rows(runs):
        cells = [name, between, f"{ms(statistics.median(session)):.1f}"]
        if reference is None:
            cells += ["–", "–", ""]
        else:
            ratios = [a / b for a, b in zip(session, reference) if b > 0]
            cells += [f"{ms(statistics.median(reference)):.1f}", f"{statistics.median(ratios):.2f}x",
                      f"{min(ratios):.2f}–{max(ratios):.2f}"]
        print("| " + " | ".join(cells) + " |")
    note = " (above 0.25: figures unreliable)" if load > 0.25 else ""
    print(f"\nOther work on the machine just before each session run: median {load:.2f} CPUs{note}.")


def print_cpu_table_head(title, first_column, names):
    print(f"\n### {title} ({len(names)} windows)\n")
    print(f"| {first_column} | " + " | ".join(f"{n}: % of a core | wake-ups/s" for n in names) + " |")
    print("|---|" + "---:|---:|" * len(names))


def print_waiting(label, programs, windows):
    names = list(windows)
    print_cpu_table_head(f"{label}: CPU while waiting for the mouse", "Program, every 50 ms", names)
    shell = programs["Vellora.scr"]
    rows = [("Vellora.scr", shell, False), ("Vellora.scr, from /proc/pid/stat ticks", shell, True)]
    rows += [(f"reference: {name}", pid, False) for name, pid in programs.items() if name not in ("Vellora.scr", "X server")]
    rows.append(("X server (Xvfb), serving all of them", programs["X server"], False))
    for name, pid, ticks in rows:
        cells = []
        for window in names:
            usage = windows[window][pid]
            cells += [f"{usage.percent_ticks:.2f}", "–"] if ticks else [f"{usage.percent:.3f}", f"{usage.switches_per_second:.0f}"]
        print(f"| {name} | " + " | ".join(cells) + " |")
    gtk = programs["GTK timer reading the pointer"]
    print()
    for window in names:
        s, g = windows[window][shell].percent, windows[window][gtk].percent
        verdict = "met" if s < WAITING_TARGET_PERCENT else "**missed**"
        ratio = f"{s / g:.2f}x the GTK reference" if g > 0 else "no GTK reference figure"
        print(f"- {window}: Vellora.scr {s:.3f} % of a core, {ratio}; target < {WAITING_TARGET_PERCENT} %: {verdict}")


def print_music(label, programs, windows):
    names = list(windows)
    print_cpu_table_head(f"{label}: CPU while an MP3 plays", "Program", names)
    shell = programs["Vellora.scr"]
    player = programs["SDL program playing the same MP3"]
    gtk = programs["GTK timer reading the pointer"]

    def audio(tid, name):
        return name.startswith(AUDIO_THREADS)

    rows = [
        ("Vellora.scr playing the MP3", shell, None),
        ("  its audio threads (SDL output, feeder)", shell, audio),
        ("    of which the feeder (reads the music ahead)", shell, lambda tid, name: name == "vellora-feeder"),
        ("  its user-interface thread (50 ms pointer poll, 1 s MP3 poll)", shell, lambda tid, name: tid == shell),
        ("reference: SDL program playing the same MP3", player, None),
        ("  its SDL output thread", player, audio),
        ("reference: GTK timer reading the pointer", gtk, None),
    ]
    for name, pid, chosen in rows:
        cells = []
        for window in names:
            usage = windows[window][pid]
            percent, wakeups = usage.threads(chosen) if chosen else (usage.percent, usage.switches_per_second)
            cells += [f"{percent:.3f}", f"{wakeups:.0f}"]
        print(f"| {name} | " + " | ".join(cells) + " |")
    print()
    for window in names:
        music, _ = windows[window][shell].threads(audio)
        reference = windows[window][player].percent
        whole = windows[window][shell].percent
        both = reference + windows[window][gtk].percent
        print(f"- {window}: the shell's audio threads {music:.3f} % of a core, "
              f"{music / reference:.2f}x the SDL program; the whole shell {whole:.3f} %, "
              f"{whole / both:.2f}x the SDL program and the GTK reference together")


def main():
    args = parse_arguments()
    libc = ctypes.CDLL(None, use_errno=True)
    # The renderer outlives the shell by a moment; as subreaper this driver reaps it.
    libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    for path in (args.probe, args.reference, args.reference_loop, args.gtk_poller, args.sdl_player, args.mp3_writer,
                 os.path.join(args.dist, SHELL), os.path.join(args.dist, RENDERER)):
        if not os.path.exists(path):
            sys.exit(f"missing {path}")
    work = tempfile.mkdtemp(prefix="vellora-session-bench-", dir=os.path.dirname(os.path.abspath(args.probe)))
    bench = Bench(args, work)
    failed = False
    print(f"Session benchmark, {time.strftime('%Y-%m-%d')}, {os.cpu_count()} CPUs, "
          f"{args.runs} measured runs per screen, CPU windows of {args.cpu_seconds:.0f} s")
    try:
        for size in args.screens.split(","):
            width, height = (int(v) for v in size.split("x"))
            screen = VirtualScreen(args.first_display, width, height, work)
            try:
                bench.prepare(screen, size)
                if not args.music_only:
                    print_steps(f"{size} on Xvfb {screen.display}", bench.measure_steps())
                    print_waiting(size, *bench.measure_waiting())
                print_music(f"{size}, a {args.music_rate / 1000:g} kHz MP3", *bench.measure_music())
                sys.stdout.flush()
            except MeasurementError as error:
                print(f"\n{size}: measurement failed: {error}")
                failed = True
            finally:
                screen.close()
    finally:
        bench.log.close()
        if args.keep:
            print(f"\nScratch folder kept: {work}")
        else:
            shutil.rmtree(work, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
