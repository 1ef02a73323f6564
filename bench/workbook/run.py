"""Times whole processes on the same generated rosters in one run and prints the figures:
reading every cell of the first worksheet (quvela, openpyxl read-only, a bare DOM reader),
peak memory on 50k rows, and writing five integer cells per row with a save (quvela,
openpyxl load-edit-save). Each workload runs QUVELA_BENCH_RUNS times."""
import os
import re
import shutil
import statistics
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.dirname(HERE))
from process_timing import cpu_model, measure  # noqa: E402

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-bench")
# The comparison helpers live beside the checkout, not in it, wherever it lies.
shared = os.environ.get("QUVELA_BENCH_SHARED", os.path.join(os.path.dirname(SOURCE), "shared", "bench"))
runs = int(os.environ.get("QUVELA_BENCH_RUNS", "5"))
data = os.path.join(build, "bench-data", "workbook")


def need(path, what):
    if not os.path.exists(path):
        sys.exit("missing %s: %s" % (what, path))


def roster(rows):
    path = os.path.join(data, "roster_%dk.xlsx" % (rows // 1000))
    if not os.path.exists(path):
        generator = os.path.join(shared, "gen_roster.py")
        need(generator, "roster generator (set QUVELA_BENCH_SHARED)")
        subprocess.run(["/usr/bin/python3", generator, str(rows), path, "1"],
                       check=True, stdout=subprocess.DEVNULL)
    return path


def without_formulas(path):
    """The same roster with every formula cell holding its stored value only, so that the
    write-back's work on formulas (carrying them, recalculating their results) shows as
    the difference between the two."""
    plain = path.replace(".xlsx", "_values.xlsx")
    if not os.path.exists(plain) or os.path.getmtime(plain) < os.path.getmtime(path):
        with zipfile.ZipFile(path) as z, zipfile.ZipFile(plain, "w", zipfile.ZIP_DEFLATED) as out:
            for info in z.infolist():
                data = z.read(info.filename)
                if info.filename.startswith("xl/worksheets/"):
                    data = re.sub(rb"<f>[^<]*</f>|<f [^>]*/>|<f [^>]*>[^<]*</f>", b"", data)
                out.writestr(info, data)
    return plain


def as_xls(path):
    """The roster saved by LibreOffice as an Excel 97-2003 workbook, as offices keep them."""
    xls = path.replace(".xlsx", ".xls")
    if not os.path.exists(xls) or os.path.getmtime(xls) < os.path.getmtime(path):
        subprocess.run(["soffice", "--headless", "--convert-to", "xls", "--outdir", os.path.dirname(path), path],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return xls


def floor_reader():
    exe = os.path.join(data, "floor_pugi")
    source = os.path.join(shared, "floor_pugi.cpp")
    need(source, "DOM reader source")
    if not os.path.exists(exe) or os.path.getmtime(exe) < os.path.getmtime(source):
        subprocess.run(["g++", "-O2", "-std=c++17", "-o", exe, source, "-lpugixml", "-lzip"], check=True)
    return exe


def show(name, argv, before=None):
    figure = measure(argv, runs, before)
    print("%-42s min %7.3f s  median %7.3f s  cpu %7.3f s  peak %7.1f MB"
          % (name, figure["min"], figure["median"], figure["cpu"], figure["rss"]), flush=True)
    print("    %s" % figure["note"], flush=True)
    return figure


def check(label, value, bound, relation):
    ok = {">=": value >= bound, ">": value > bound, "<": value < bound}[relation]
    print("%-42s %8.2f  %s" % (label, value, "met" if ok else "MISSED"))


def main():
    ours = os.path.join(build, "bin", "bench_workbook")
    need(ours, "benchmark program (build with -DQUVELA_BENCHMARKS=ON)")
    openpyxl = ["/usr/bin/python3", os.path.join(shared, "bench_openpyxl.py")]
    need(openpyxl[1], "openpyxl workloads")
    os.makedirs(data, exist_ok=True)
    floor = floor_reader()
    file10k = roster(10000)
    file50k = roster(50000)
    work = os.path.join(data, "work.xlsx")
    out = os.path.join(data, "openpyxl-out.xlsx")

    print("machine: %d cores, %s; load average %s; %d runs each"
          % (os.cpu_count(), cpu_model(), "%.1f" % os.getloadavg()[0], runs))
    print("-- read every cell of the first worksheet, 10k rows")
    read = show("quvela (readCellText)", [ours, "read", file10k])
    ro = show("openpyxl read-only", openpyxl + ["ro", file10k])
    dom = show("libzip + pugixml DOM reader", [floor, file10k])
    print("-- peak memory, 50k rows")
    read50 = show("quvela read, 50k rows", [ours, "read", file50k])
    print("-- write 5 integer cells in each of the 10k rows and save")
    write = show("quvela (writeCellInteger, closeWithSave)", [ours, "write", work],
                 lambda: shutil.copyfile(file10k, work))
    full = show("openpyxl load + edit + save", openpyxl + ["write", file10k, out])
    print("-- the same write-back with the formula cells as plain values (3 formulas a row, each")
    print("   reading written cells: the difference is carrying and recalculating them)")
    plain10k = without_formulas(file10k)
    # Runs taken in turns, so that a change in the machine's load falls on both alike.
    pairs = [(measure([ours, "write", work], 1, lambda: shutil.copyfile(file10k, work)),
              measure([ours, "write", work], 1, lambda: shutil.copyfile(plain10k, work)))
             for _ in range(runs)]
    formulas = {k: statistics.median(p[0][k] for p in pairs) for k in ("median", "cpu")}
    plain = {k: statistics.median(p[1][k] for p in pairs) for k in ("median", "cpu")}
    print("%-42s median %7.3f s  cpu %7.3f s  (the same roster with formulas, in turns: %7.3f s, cpu %7.3f s)"
          % ("quvela write, no formulas", plain["median"], plain["cpu"], formulas["median"], formulas["cpu"]),
          flush=True)

    print("-- the same write-back into the roster saved as .xls (LibreOffice's export)")
    xls10k = as_xls(file10k)
    work_xls = os.path.join(data, "work.xls")
    write_xls = show("quvela write, .xls", [ours, "write", work_xls],
                     lambda: shutil.copyfile(xls10k, work_xls))

    print("-- targets (median wall time; cpu time in brackets)")
    check("read: openpyxl read-only / quvela >= 6", ro["median"] / read["median"], 6, ">=")
    print("    (cpu %.2f)" % (ro["cpu"] / read["cpu"]))
    check("read: DOM reader / quvela > 1", dom["median"] / read["median"], 1, ">")
    print("    (cpu %.2f)" % (dom["cpu"] / read["cpu"]))
    check("50k peak memory MB < 150", read50["rss"], 150, "<")
    check("write: openpyxl / quvela >= 8", full["median"] / write["median"], 8, ">=")
    print("    (cpu %.2f)" % (full["cpu"] / write["cpu"]))
    check("write: recalculation adds % (< 30)", 100 * (formulas["median"] / plain["median"] - 1), 30, "<")
    print("    (cpu %.1f %%)" % (100 * (formulas["cpu"] / plain["cpu"] - 1)))
    check("write: .xls / .xlsx < 2", write_xls["median"] / write["median"], 2, "<")
    print("    (cpu %.2f)" % (write_xls["cpu"] / write["cpu"]))


main()
