"""Reading the session probe's event files and turning them into the marks of a start-up."""
import os


class MeasurementError(Exception):
    pass


class ProbedProcess:
    """The events one process wrote: (kind, monotonic ns, detail) in the order they happened."""

    def __init__(self, pid, lines):
        self.pid = pid
        self.events = []
        self.exe, self.ppid = "", 0
        for line in lines:
            parts = line.rstrip("\n").split(" ", 2)
            if len(parts) < 2:
                continue  # a line cut short by the process ending in mid-write
            kind, ns, detail = parts[0], int(parts[1]), parts[2] if len(parts) > 2 else ""
            if kind == "start":
                words = detail.split()
                self.exe = words[0] if words else ""
                self.ppid = int(words[1].split("=")[1]) if len(words) > 1 else 0
            self.events.append((kind, ns, detail))

    def last_before(self, kind, before):
        """Time of the last event of this kind before `before`, or None."""
        found = None
        for k, ns, _ in self.events:
            if k == kind and ns < before:
                found = ns
        return found

    def first(self, kind, after=0, detail_prefix=""):
        """Time of the first event of this kind at or after `after`, or None."""
        for k, ns, detail in self.events:
            if k == kind and ns >= after and detail.startswith(detail_prefix):
                return ns
        return None

    def paired_ns(self, enter, leave, start, end):
        """Total time inside enter..leave pairs that began within [start, end)."""
        total, opened = 0, None
        for k, ns, _ in self.events:
            if k == enter and start <= ns < end:
                opened = ns
            elif k == leave and opened is not None:
                total += ns - opened
                opened = None
        return total


def read_processes(folder):
    """{pid: ProbedProcess} for every event file in the folder."""
    processes = {}
    for name in os.listdir(folder):
        if name.endswith(".events"):
            pid = int(name.split(".")[0])
            with open(os.path.join(folder, name)) as f:
                processes[pid] = ProbedProcess(pid, f.readlines())
    return processes


def process_named(processes, exe, parent=None):
    """The first process running `exe` (and started by `parent`, if given), or None."""
    for process in sorted(processes.values(), key=lambda p: p.first("start") or 0):
        if process.exe == exe and (parent is None or process.ppid == parent):
            return process
    return None


def first_swap_seen(folder, exe):
    """The process running `exe` once it has swapped its first frame, else None."""
    process = process_named(read_processes(folder), exe)
    return process if process is not None and process.first("swap") is not None else None


def _require(value, what):
    if value is None:
        raise MeasurementError(f"the probe saw no {what}")
    return value


def texture_marks(process, after, what):
    """texture (glGenTextures entered), textured (the last glTexImage2D returned before the
    first frame) and first_swap of a process drawing the tunnel; the texture is built once."""
    first_swap = _require(process.first("swap"), f"first frame of {what}")
    texture = _require(process.first("texture-enter", after), f"glGenTextures in {what}")
    textured = _require(process.last_before("teximage-leave", first_swap), f"glTexImage2D in {what}")
    return {"texture": texture, "textured": textured, "first_swap": first_swap}


def session_marks(folder, shell_exe="Vellora.scr", renderer_exe="Vellora.data"):
    """The marks of one session start, each a monotonic time in ns:
    shell_start, capture, captured, save, fsync_ns (a duration), spawn, spawned, renderer_start,
    snapshot_read, texture, textured, first_swap."""
    processes = read_processes(folder)
    shell = _require(process_named(processes, shell_exe), f"{shell_exe} start")
    renderer = _require(process_named(processes, renderer_exe, parent=shell.pid),
                        f"{renderer_exe} started by {shell_exe}")
    marks = {"shell_start": shell.first("start")}
    marks["capture"] = _require(shell.first("xgetimage-enter"), "XGetImage in the shell")
    marks["captured"] = shell.first("xgetimage-leave", marks["capture"])
    marks["save"] = _require(shell.first("file", marks["captured"]), "snapshot file written by the shell")
    marks["spawn"] = _require(shell.first("spawn-enter", marks["save"], renderer_exe), f"start of {renderer_exe}")
    marks["spawned"] = _require(shell.first("spawn-leave", marks["spawn"]), f"return of the {renderer_exe} start")
    marks["fsync_ns"] = shell.paired_ns("fsync-enter", "fsync-leave", marks["save"], marks["spawn"])
    marks["renderer_start"] = renderer.first("start")
    marks["snapshot_read"] = _require(renderer.first("file", detail_prefix="fopen"), "snapshot read by the renderer")
    marks.update(texture_marks(renderer, marks["snapshot_read"], "the renderer"))
    order = ["shell_start", "capture", "captured", "save", "spawn", "renderer_start", "snapshot_read",
             "texture", "textured", "first_swap"]
    for earlier, later in zip(order, order[1:]):
        if marks[earlier] is None or marks[later] is None or marks[later] < marks[earlier]:
            raise MeasurementError(f"probe marks out of order: {earlier} then {later}")
    marks["shell_pid"], marks["renderer_pid"] = shell.pid, renderer.pid
    return marks


def spawn_reference_marks(folder, parent_exe, renderer_exe="Vellora.data"):
    """spawn, spawned, renderer_start, texture, textured, first_swap of the renderer started by the
    minimal parent."""
    processes = read_processes(folder)
    parent = _require(process_named(processes, parent_exe), f"{parent_exe} start")
    renderer = _require(process_named(processes, renderer_exe, parent=parent.pid), f"{renderer_exe} start")
    marks = {
        "spawn": _require(parent.first("spawn-enter", 0, renderer_exe), "posix_spawn in the reference"),
        "spawned": _require(parent.first("spawn-leave"), "return of posix_spawn in the reference"),
        "renderer_start": renderer.first("start"),
    }
    marks.update(texture_marks(renderer, 0, "the renderer started by the reference"))
    return marks


def loop_reference_marks(folder, exe):
    """start, texture, textured, first_swap of the reference GLX loop."""
    loop = _require(process_named(read_processes(folder), exe), f"{exe} start")
    marks = {"start": loop.first("start")}
    marks.update(texture_marks(loop, 0, "the reference loop"))
    return marks
