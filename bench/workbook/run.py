"""Times whole processes on the same generated rosters in one run and prints the figures.

Each workload runs QUVELA_BENCH_RUNS times; wall time is from spawn to exit, peak memory is
the process's maximum resident set as the kernel reports it (wait4). Every process is
pinned to one core when taskset is there, so that the figures of one run compare."""
import os
import shutil
import statistics
import subprocess
import sys
import time

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-bench")
shared = os.environ.get("QUVELA_BENCH_SHARED", "/work/shared/bench")
runs = int(os.environ.get("QUVELA_BENCH_RUNS", "5"))
data = os.path.join(build, "bench-data", "workbook")
os.makedirs(data, exist_ok=True)
pin = ["taskset", "-c", "1"] if shutil.which("taskset") and os.cpu_count() > 1 else []


def need(path, what):
    if not os.path.exists(path):
        sys.exit("missing %s: %s" % (what, path))


def roster(rows):
    path = os.path.join(data, "roster_%dk.xlsx" % (rows // 1000))
    if not os.path.exists(path):
        subprocess.run(["/usr/bin/python3", os.path.join(shared, "gen_roster.py"), str(rows), path, "1"],
                       check=True, stdout=subprocess.DEVNULL)
    return path


def floor_reader():
    exe = os.path.join(data, "floor_pugi")
    source = os.path.join(shared, "floor_pugi.cpp")
    need(source, "DOM reader source")
    if not os.path.exists(exe) or os.path.getmtime(exe) < os.path.getmtime(source):
        subprocess.run(["g++", "-O2", "-std=c++17", "-o", exe, source, "-lpugixml", "-lzip"], check=True)
    return exe


def run_once(argv, before=None):
    if before:
        before()
    start = time.perf_counter()
    process = subprocess.Popen(pin + argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    err = process.stderr.read().decode("utf-8", "replace")
    process.stderr.close()
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit("failed (%d): %s\n%s" % (process.returncode, " ".join(argv), err))
    return elapsed, usage.ru_maxrss / 1024.0, err.strip().splitlines()[-1] if err.strip() else ""


def measure(name, argv, before=None):
    results = [run_once(argv, before) for _ in range(runs)]
    times = sorted(r[0] for r in results)
    rss = max(r[1] for r in results)
    figure = {"name": name, "min": times[0], "median": statistics.median(times), "rss": rss, "note": results[-1][2]}
    print("%-44s min %7.3f s  median %7.3f s  peak %7.1f MB" % (name, figure["min"], figure["median"], rss),
          flush=True)
    print("    %s" % figure["note"], flush=True)
    return figure


def main():
    ours_read = os.path.join(build, "bin", "bench_workbook_read")
    ours_write = os.path.join(build, "bin", "bench_workbook_write")
    need(ours_read, "benchmark program (build with -DQUVELA_BENCHMARKS=ON)")
    need(ours_write, "benchmark program")
    openpyxl_script = os.path.join(shared, "bench_openpyxl.py")
    need(openpyxl_script, "openpyxl workloads")
    floor = floor_reader()
    file10k = roster(10000)
    file50k = roster(50000)
    work = os.path.join(data, "work.xlsx")
    out = os.path.join(data, "openpyxl-out.xlsx")
    fresh = lambda: shutil.copyfile(file10k, work)

    print("machine: %d cores, %s; %d runs each" % (os.cpu_count(), cpu_model(), runs))
    print("-- read every cell of the first worksheet, 10k rows")
    ours = measure("quvela (SpreadsheetSession.readCellText)", [ours_read, file10k])
    ro = measure("openpyxl read-only", ["/usr/bin/python3", openpyxl_script, "ro", file10k])
    dom = measure("libzip + pugixml DOM reader", [floor, file10k])
    print("-- peak memory, 50k rows")
    ours50 = measure("quvela read, 50k rows", [ours_read, file50k])
    print("-- write 5 integer cells in each of the 10k rows and save")
    ours_w = measure("quvela (writeCellInteger + closeWithSave)", [ours_write, work], fresh)
    op_w = measure("openpyxl load + edit + save", ["/usr/bin/python3", openpyxl_script, "write", file10k, out])

    print("-- targets (medians)")
    check("read: openpyxl read-only / quvela >= 6", ro["median"] / ours["median"], 6, ">=")
    check("read: DOM reader / quvela > 1", dom["median"] / ours["median"], 1, ">")
    check("50k peak memory MB < 150", ours50["rss"], 150, "<")
    check("write: openpyxl / quvela >= 8", op_w["median"] / ours_w["median"], 8, ">=")


def check(label, value, bound, relation):
    ok = {">=": value >= bound, ">": value > bound, "<": value < bound}[relation]
    print("%-44s %8.2f  %s" % (label, value, "met" if ok else "MISSED"))


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"


main()
