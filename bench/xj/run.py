"""Times quvela-batch xj import, xj adjust and xj writeback on a generated 10,000-row roster.

Each step runs QUVELA_BENCH_RUNS times in one program folder; wall time is from spawn to
exit, cpu the process's user plus system time (the figure a loaded machine disturbs
least), peak memory its maximum resident set (wait4). Processes are pinned to one
core when taskset is there, so that the figures of one run compare."""
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROWS = 10000
TARGETS = {"import": 0.5, "adjust": 0.2, "writeback": 1.0}

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-bench")
runs = int(os.environ.get("QUVELA_BENCH_RUNS", "5"))
data = os.path.join(build, "bench-data", "xj")
batch = os.path.join(build, "bin", "quvela-batch")
pin = ["taskset", "-c", "1"] if shutil.which("taskset") and os.cpu_count() > 1 else []


def run_once(argv, before=None):
    if before:
        before()
    start = time.perf_counter()
    process = subprocess.Popen(pin + argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    err = process.stderr.read().decode("utf-8", "replace")
    process.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s\n%s" % (" ".join(argv), err))
    return elapsed, usage.ru_maxrss / 1024.0, usage.ru_utime + usage.ru_stime


def measure(name, argv, before=None):
    results = [run_once(argv, before) for _ in range(runs)]
    times = sorted(r[0] for r in results)
    figure = {"min": times[0], "median": statistics.median(times), "rss": max(r[1] for r in results),
              "cpu": statistics.median(r[2] for r in results)}
    target = TARGETS[name]
    print("xj %-10s min %6.3f s  median %6.3f s  cpu %6.3f s  peak %6.1f MB  target < %.1f s: %s"
          % (name, figure["min"], figure["median"], figure["cpu"], figure["rss"], target,
             "met" if figure["median"] < target else "MISSED"), flush=True)
    return figure


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"


def main():
    if not os.path.exists(batch):
        sys.exit("missing %s (build the quvela-batch target)" % batch)
    os.makedirs(data, exist_ok=True)
    roster = os.path.join(data, "xj_roster_10k.xlsx")
    if not os.path.exists(roster):
        subprocess.run(["/usr/bin/python3", os.path.join(HERE, "gen_xj_roster.py"), str(ROWS), roster, "1"],
                       check=True)
    folder = os.path.join(data, "program")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    work = os.path.join(folder, "roster.xlsx")
    fresh = lambda: shutil.copyfile(roster, work)
    fresh()
    rows = "7-%d" % (6 + ROWS + 1)  # the totals row too, as a clerk would select it
    base = [batch, "--dir", folder, "xj"]

    print("machine: %d cores, %s, load average %.1f; %d runs each; %d-row roster %s"
          % (os.cpu_count(), cpu_model(), os.getloadavg()[0], runs, ROWS, os.path.relpath(roster)))
    print("command: %s import --workbook W --rows %s; adjust; writeback --rows %s"
          % (" ".join(pin + base), rows, rows))
    measure("import", base + ["import", "--workbook", work, "--rows", rows])
    measure("adjust", base + ["adjust"])
    measure("writeback", base + ["writeback", "--rows", rows], fresh)


main()
