"""A private Xvfb server and the input the benchmark gives it (pointer moves, key presses)."""
import os
import subprocess
import time


class VirtualScreen:
    """An Xvfb server of the given size on the first free display number from `first` upwards."""

    def __init__(self, first, width, height, log_dir):
        self.width, self.height = width, height
        self.process = None
        for number in range(first, first + 40):
            if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
                continue
            log = open(os.path.join(log_dir, f"xvfb{number}.log"), "w")
            process = subprocess.Popen(
                # -noreset: without it the server resets each time its last client leaves, as it
                # does between runs here but never on a desktop, and the next client waits for it.
                ["Xvfb", f":{number}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp", "-noreset"],
                stdout=log, stderr=subprocess.STDOUT)
            if self._wait_ready(number, process):
                self.process, self.display = process, f":{number}"
                break
            process.kill()
            process.wait()
        if self.process is None:
            raise RuntimeError("no Xvfb could be started")
        # The pointer starts in the middle; sessions end by moving it between two points that
        # lie more than 30 pixels apart on both axes.
        self.pointer = (width // 2, height // 2)

    @staticmethod
    def _wait_ready(number, process):
        """True once this process (not another server that took the number) accepts clients."""
        env = dict(os.environ, DISPLAY=f":{number}")
        for _ in range(100):
            if process.poll() is not None:
                return False
            if os.path.exists(f"/tmp/.X11-unix/X{number}") and subprocess.run(
                    ["xdpyinfo"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0:
                return process.poll() is None
            time.sleep(0.05)
        return False

    def env(self, base=None):
        return dict(base if base is not None else os.environ, DISPLAY=self.display)

    def _xdotool(self, *words):
        subprocess.run(["xdotool", *words], env=self.env(), check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def move_pointer_away(self):
        """Moves the pointer 150 pixels from where it was on both axes (an XTest move)."""
        x, y = self.pointer
        step = -150 if x > self.width // 2 - 10 else 150
        self.pointer = (x + step, y + step)
        self._xdotool("mousemove", str(self.pointer[0]), str(self.pointer[1]))

    def press_escape(self):
        """Escape held long enough for a program drawing a frame at a time to see it down."""
        self._xdotool("keydown", "Escape")
        time.sleep(0.3)
        self._xdotool("keyup", "Escape")

    def cpu_ns(self):
        return process_cpu_ns(self.process.pid)

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def process_cpu_ns(pid):
    """Time on CPU of all of a process's threads, from the scheduler's own nanosecond count."""
    total = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                    total += int(f.read().split()[0])
            except (FileNotFoundError, ProcessLookupError):
                pass
    except FileNotFoundError:
        pass
    return total
