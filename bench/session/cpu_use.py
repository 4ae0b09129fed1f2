"""CPU use of processes and of the whole machine, read from /proc."""
import os
import time

from probe_events import MeasurementError
from x_display import process_cpu_ns

TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


class ProcessSample:
    """One reading of a process: scheduler nanoseconds, /proc/<pid>/stat ticks, context switches,
    and per thread (by thread id) its name, nanoseconds and context switches."""

    def __init__(self, pid):
        self.pid = pid
        self.at_ns = time.monotonic_ns()
        self.cpu_ns = process_cpu_ns(pid)
        with open(f"/proc/{pid}/stat") as f:
            # Fields after the parenthesised name; utime and stime are fields 14 and 15.
            fields = f.read().rsplit(")", 1)[1].split()
        self.ticks = int(fields[11]) + int(fields[12])
        self.switches = 0
        self.threads = {}
        for task in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{task}/comm") as f:
                    name = f.read().strip()
                with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                    cpu_ns = int(f.read().split()[0])
                switches = 0
                with open(f"/proc/{pid}/task/{task}/status") as f:
                    for line in f:
                        if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                            switches += int(line.split()[1])
            except (FileNotFoundError, ProcessLookupError):
                continue
            self.switches += switches
            self.threads[int(task)] = (name, cpu_ns, switches)


class Usage:
    """What a process used between two samples."""

    def __init__(self, before, after):
        seconds = (after.at_ns - before.at_ns) / 1e9
        self.seconds = seconds
        self.percent = 100.0 * (after.cpu_ns - before.cpu_ns) / 1e9 / seconds
        self.percent_ticks = 100.0 * (after.ticks - before.ticks) / TICKS_PER_SECOND / seconds
        self.switches_per_second = (after.switches - before.switches) / seconds
        self.before, self.after = before, after

    def threads(self, chosen):
        """(% of a core, wake-ups/s) of the threads for which chosen(tid, name) is true, over the
        window (a thread that started inside it counts from 0; one that ended inside it is left out)."""
        cpu_ns = switches = 0
        for tid, (name, ns, count) in self.after.threads.items():
            if chosen(tid, name):
                _, ns_before, count_before = self.before.threads.get(tid, (name, 0, 0))
                cpu_ns += ns - ns_before
                switches += count - count_before
        return 100.0 * cpu_ns / 1e9 / self.seconds, switches / self.seconds


def measure(pids, seconds):
    """Samples each process at the start and end of a window of `seconds`; returns {pid: Usage}."""
    try:
        before = {pid: ProcessSample(pid) for pid in pids}
        time.sleep(seconds)
        return {pid: Usage(before[pid], ProcessSample(pid)) for pid in pids}
    except FileNotFoundError as error:
        raise MeasurementError(f"a watched process ended during the CPU window ({error.filename})")


def machine_busy_seconds():
    """CPU seconds the whole machine has spent busy (all but idle and I/O wait) since boot."""
    with open("/proc/stat") as f:
        values = [int(v) for v in f.readline().split()[1:]]
    return (sum(values[:8]) - values[3] - values[4]) / TICKS_PER_SECOND


def machine_load_while_idle(seconds):
    """CPUs busy over a pause of `seconds` in which the caller runs nothing: other work's load."""
    before, start = machine_busy_seconds(), time.monotonic()
    time.sleep(seconds)
    return (machine_busy_seconds() - before) / (time.monotonic() - start)
