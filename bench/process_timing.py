"""Timing whole processes for the bench/*/run.py scripts.

Wall time is from spawn to exit; cpu is the process's user plus system time, the figure a
loaded machine disturbs least; peak memory is its maximum resident set (wait4). Processes
are pinned to one core when taskset is there, so that the figures of one run compare."""
import os
import shutil
import statistics
import subprocess
import sys
import time

PIN = ["taskset", "-c", "1"] if shutil.which("taskset") and (os.cpu_count() or 1) > 1 else []


def run_once(argv, before=None):
    """(wall seconds, peak MB, cpu seconds, last line of stderr); exits on failure."""
    if before:
        before()
    start = time.perf_counter()
    process = subprocess.Popen(PIN + argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    err = process.stderr.read().decode("utf-8", "replace")
    process.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s\n%s" % (" ".join(argv), err))
    lines = err.strip().splitlines()
    return elapsed, usage.ru_maxrss / 1024.0, usage.ru_utime + usage.ru_stime, lines[-1] if lines else ""


def measure(argv, runs, before=None):
    """min and median wall time, median cpu, the highest peak and the last run's note."""
    results = [run_once(argv, before) for _ in range(runs)]
    times = sorted(r[0] for r in results)
    return {"min": times[0], "median": statistics.median(times), "rss": max(r[1] for r in results),
            "cpu": statistics.median(r[2] for r in results), "note": results[-1][3]}


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"
