"""Times quvela-batch xj import, xj adjust and xj writeback on a generated 10,000-row roster,
each step QUVELA_BENCH_RUNS times in one program folder (see process_timing for the figures)."""
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
import process_timing as timing  # noqa: E402

ROWS = 10000
TARGETS = {"import": 0.5, "adjust": 0.2, "writeback": 1.0}

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-bench")
runs = int(os.environ.get("QUVELA_BENCH_RUNS", "5"))
data = os.path.join(build, "bench-data", "xj")
batch = os.path.join(build, "bin", "quvela-batch")


def measure(name, argv, before=None):
    figure = timing.measure(argv, runs, before)
    target = TARGETS[name]
    print("xj %-10s min %6.3f s  median %6.3f s  cpu %6.3f s  peak %6.1f MB  target < %.1f s: %s"
          % (name, figure["min"], figure["median"], figure["cpu"], figure["rss"], target,
             "met" if figure["median"] < target else "MISSED"), flush=True)
    return figure


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
          % (os.cpu_count(), timing.cpu_model(), os.getloadavg()[0], runs, ROWS, os.path.relpath(roster)))
    print("command: %s import --workbook W --rows %s; adjust; writeback --rows %s"
          % (" ".join(timing.PIN + base), rows, rows))
    measure("import", base + ["import", "--workbook", work, "--rows", rows])
    measure("adjust", base + ["adjust"])
    measure("writeback", base + ["writeback", "--rows", rows], fresh)


main()
