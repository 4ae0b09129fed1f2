#!/usr/bin/env python3
"""Soak: one real screensaver session left running for a long time, watched for growth.

An Xvfb server is started and a folder gets fresh copies of Vellora.scr and Vellora.data, a
short WAV file and a Vellora.ini that makes it the looping background music. `Vellora.scr /s`
is started there; it saves the snapshot, starts the renderer and loops the WAV. Once a minute
(by default) the shell and the renderer are sampled: resident memory, open file descriptors,
threads and CPU time, and a screenshot shows whether the renderer's picture still moves. The
sound goes through SDL's disk driver into a named pipe that this script reads, so the number of
times the song has played is counted, not guessed. At the end the pointer is moved and both
programs must end by themselves.

With --clock-ahead-ms the renderer's clock reads that far ahead from its second reading on
(the Linux renderer's testing aid VELLORA_TEST_CLOCK_AHEAD_MS), e.g. 2147423648 to start it one
minute short of 2^31 ms (24.8 days).

Only reports: the exit status is non-zero only when the session could not be run or watched.
"""
import argparse
import hashlib
import math
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import wave

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "session"))
from probe_events import MeasurementError  # noqa: E402
from session_bench import Bench  # noqa: E402
from x_display import VirtualScreen  # noqa: E402

wait_for = Bench.wait_for

SHELL, RENDERER = "Vellora.scr", "Vellora.data"
OUTPUT_BYTES_PER_SECOND = 44100 * 2 * 2  # the shell's output: 44.1 kHz, stereo, 16-bit
TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--dist", required=True, help="folder holding Vellora.scr and Vellora.data")
    parser.add_argument("--minutes", type=float, default=20.0, help="how long the session runs (default 20)")
    parser.add_argument("--interval", type=float, default=60.0, help="seconds between samples (default 60)")
    parser.add_argument("--clock-ahead-ms", type=int, default=0, help="start the renderer's clock this far on")
    parser.add_argument("--wav-seconds", type=float, default=0.5, help="length of the looping WAV (default 0.5)")
    parser.add_argument("--screen", default="640x480", help="WxH of the virtual screen (default 640x480)")
    parser.add_argument("--first-display", type=int, default=230, help="lowest X display number to try")
    parser.add_argument("--label", default="soak", help="name of this run in the report")
    parser.add_argument("--out", help="folder for the report (soak-<label>.md) and the last screenshot")
    return parser.parse_args()


def write_wav(path, seconds):
    """Mono, so the shell spreads it over both channels, at 44.1 kHz, so the output takes it at
    the rate the loop count assumes: a tone that changes pitch each quarter."""
    rate = 44100
    frames = int(rate * seconds)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        data = bytearray()
        for i in range(frames):
            pitch = (330, 440, 550, 660)[4 * i // frames]
            data += struct.pack("<h", int(8000 * math.sin(2 * math.pi * pitch * i / rate)))
        out.writeframes(bytes(data))


class PipeCounter:
    """Reads the sound the shell writes into a named pipe and counts its bytes."""

    def __init__(self, path):
        self.path, self.bytes = path, 0
        os.mkfifo(path)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        # The output may close its device and open it again (at another rate, say); each open
        # waits here for the writer, so the sound is never held up for want of a reader.
        while True:
            with open(self.path, "rb", buffering=0) as pipe:
                while chunk := pipe.read(65536):
                    self.bytes += len(chunk)


def proc_status(pid):
    values = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            values[key] = value.split()
    return values


def sample(pid):
    """Resident KiB, open descriptors, threads and CPU seconds of a process; None once it is gone."""
    try:
        status = proc_status(pid)
        fds = len(os.listdir(f"/proc/{pid}/fd"))
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        cpu = (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND
        return {"rss": int(status["VmRSS"][0]), "fds": fds, "threads": int(status["Threads"][0]), "cpu": cpu}
    except (FileNotFoundError, ProcessLookupError, KeyError):
        return None


def child_of(pid, exe_name):
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as f:
            children = [int(c) for c in f.read().split()]
    except FileNotFoundError:
        return None
    for child in children:
        try:
            if os.path.basename(os.readlink(f"/proc/{child}/exe")) == exe_name:
                return child
        except FileNotFoundError:
            pass
    return None


def screenshot_digest(screen, path):
    subprocess.run(["import", "-silent", "-window", "root", path], env=screen.env(), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    with open(path, "rb") as f:
        return hashlib.sha1(f.read()).hexdigest()


def report(args, rows, loops, ends, started):
    lines = [f"# Soak `{args.label}`", "",
             f"{time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime(started))}, {args.minutes:g} min, screen {args.screen}, "
             f"WAV of {args.wav_seconds:g} s looping, renderer clock ahead {args.clock_ahead_ms} ms "
             f"({args.clock_ahead_ms / 86400000:.3f} days)", "",
             "| min | shell RSS KiB | fds | threads | CPU s | renderer RSS KiB | fds | threads | CPU s | picture moved | song loops |",
             "|---:|---:|---:|---:|---:|---:|---:|---:|---:|:---:|---:|"]
    for row in rows:
        s, r = row["shell"], row["renderer"]
        cells = [f"{row['minute']:.1f}"]
        for p in (s, r):
            cells += [str(p["rss"]), str(p["fds"]), str(p["threads"]), f"{p['cpu']:.1f}"] if p else ["gone"] * 4
        cells += ["yes" if row["moved"] else "no", f"{row['loops']:.0f}"]
        lines.append("| " + " | ".join(cells) + " |")
    lines.append("")
    # Growth from the first full minute on, so that start-up (shader compiles, the first audio
    # buffers) is not counted as growth.
    base = rows[1] if len(rows) > 2 else rows[0]
    last = rows[-1]
    for name in ("shell", "renderer"):
        if base[name] and last[name]:
            grow = {k: last[name][k] - base[name][k] for k in ("rss", "fds", "threads")}
            peak = max(row[name]["rss"] for row in rows if row[name])
            lines.append(f"- {name}: from minute {base['minute']:.1f} to {last['minute']:.1f}: RSS {grow['rss']:+d} KiB "
                         f"(peak {peak} KiB), open files {grow['fds']:+d}, threads {grow['threads']:+d}")
    lines.append(f"- song played {loops:.0f} times; the picture moved at {sum(r['moved'] for r in rows[1:])} of "
                 f"{len(rows) - 1} samples")
    lines.append(f"- after the pointer move: {ends}")
    return "\n".join(lines) + "\n"


def main():
    args = parse_arguments()
    width, height = (int(v) for v in args.screen.split("x"))
    work = tempfile.mkdtemp(prefix=f"vellora-soak-{args.label}-")
    app = os.path.join(work, "app")
    os.makedirs(app)
    for name in (SHELL, RENDERER):
        shutil.copy2(os.path.join(args.dist, name), app)
    wav = os.path.join(work, "loop.wav")
    write_wav(wav, args.wav_seconds)
    with open(os.path.join(app, "Vellora.ini"), "wb") as f:  # music: a WAV file, looping
        f.write(f"[Section]\r\nBGM区分= 2\r\nBGMﾘﾋﾟｰﾄ= 0\r\nBGMﾌｧｲﾙ={wav}\r\n".encode("cp932"))
    sound = PipeCounter(os.path.join(work, "sound.pipe"))

    screen = VirtualScreen(args.first_display, width, height, work)
    shell = renderer = None
    try:
        # A pattern for the snapshot: over a plain black desktop the fogged tunnel looks almost
        # the same in every frame, and a renderer that stopped would hardly show.
        subprocess.run(["xsetroot", "-mod", "16", "16", "-fg", "orange", "-bg", "navy"], env=screen.env(), check=True)
        env = screen.env()
        env.update(SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=sound.path, LIBGL_ALWAYS_SOFTWARE="1",
                   GALLIUM_DRIVER="llvmpipe", LP_NUM_THREADS="1", MESA_SHADER_CACHE_DIR=os.path.join(work, "mesa"))
        if args.clock_ahead_ms:
            env["VELLORA_TEST_CLOCK_AHEAD_MS"] = str(args.clock_ahead_ms)
        log = open(os.path.join(work, "programs.log"), "w")
        started = time.time()
        # nice: the soak measures growth, not speed, and shares the machine.
        shell = subprocess.Popen(["nice", "-n", "10", os.path.join(app, SHELL), "/s"], cwd=app, env=env,
                                 stdout=subprocess.DEVNULL, stderr=log)
        renderer = wait_for(lambda: child_of(shell.pid, RENDERER), 120, "the renderer")
        wait_for(lambda: sound.bytes > 0, 120, "the music")
        rows, previous, t0 = [], None, time.monotonic()
        shot = os.path.join(work, "screen.png")
        total = args.minutes * 60
        while True:
            elapsed = time.monotonic() - t0
            digest = screenshot_digest(screen, shot)
            rows.append({"minute": elapsed / 60, "shell": sample(shell.pid), "renderer": sample(renderer),
                         "moved": previous is not None and digest != previous,
                         "loops": sound.bytes / OUTPUT_BYTES_PER_SECOND / args.wav_seconds})
            previous = digest
            print(f"{args.label}: minute {elapsed / 60:5.1f}: shell {rows[-1]['shell']}, renderer {rows[-1]['renderer']}, "
                  f"loops {rows[-1]['loops']:.0f}", flush=True)
            if rows[-1]["shell"] is None or elapsed >= total - 1:
                break
            time.sleep(max(0.0, min(args.interval, total - elapsed) - (time.monotonic() - t0 - elapsed)))
        loops = sound.bytes / OUTPUT_BYTES_PER_SECOND / args.wav_seconds
        screen.move_pointer_away()
        try:
            shell_code = shell.wait(timeout=15)
        except subprocess.TimeoutExpired:
            shell_code = "still running"
        try:  # a renderer that has ended is a zombie or gone: sample() gives None for both
            wait_for(lambda: sample(renderer) is None, 30, "the renderer's end")
            renderer_gone = True
        except MeasurementError:
            renderer_gone = False
        ends = f"shell exit status {shell_code}, renderer {'ended' if renderer_gone else 'still running'}"
        text = report(args, rows, loops, ends, started)
        print(text)
        if args.out:
            os.makedirs(args.out, exist_ok=True)
            with open(os.path.join(args.out, f"soak-{args.label}.md"), "w") as f:
                f.write(text)
            shutil.copy2(shot, os.path.join(args.out, f"soak-{args.label}-last.png"))
        return 0
    finally:
        for pid in (renderer, shell.pid if shell else None):
            if pid:
                try:
                    os.kill(pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
        if shell:
            shell.wait()
        screen.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
