"""Times the ZW workbook view (zw-view-bench) on 10,000 and 50,000 rows and quvela-batch zw
print --pdf of 1,000 and 100 flagged rows out of 10,000, and quvela-batch jb print --pdf of
1,000 flagged rows out of 10,000 in each of its modes, and quvela-batch jg print --pdf of
1,000 flagged rows out of 10,000, each QUVELA_BENCH_RUNS times (see process_timing for the
figures)."""
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
import process_timing as timing  # noqa: E402

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-bench")
runs = int(os.environ.get("QUVELA_BENCH_RUNS", "5"))
data = os.path.join(build, "bench-data", "zw")
batch = os.path.join(build, "bin", "quvela-batch")
view = os.path.join(build, "bin", "zw-view-bench")


def generated(name, generator, *args):
    """The roster a generator writes for these arguments, made once and kept in data."""
    path = os.path.join(data, name)
    if not os.path.exists(path):
        subprocess.run(["/usr/bin/python3", os.path.join(HERE, generator)] + [str(a) for a in args] + [path],
                       check=True)
    return path


def roster(rows, every):
    return generated("zw_roster_%d_every_%d.xlsx" % (rows, every), "gen_zw_roster.py", rows, every)


def jb_roster(mode, rows, every):
    return generated("jb_roster_mode_%d_%d_every_%d.xlsx" % (mode, rows, every), "gen_jb_roster.py", mode, rows,
                     every)


def jg_roster(rows, every):
    return generated("jg_roster_%d_every_%d.xlsx" % (rows, every), "gen_jg_roster.py", rows, every)


def main():
    for program in (batch, view):
        if not os.path.exists(program):
            sys.exit("missing %s (build quvela-batch and zw-view-bench)" % program)
    os.makedirs(data, exist_ok=True)
    print("machine: %d cores, %s, load average %.1f; %d runs each"
          % (os.cpu_count(), timing.cpu_model(), os.getloadavg()[0], runs), flush=True)

    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    os.environ.update(env)
    for rows in (10000, 50000):
        path = roster(rows, 10)
        figure = timing.measure([view, path], runs)
        print("zw view %6d rows: process wall min %6.3f s  median %6.3f s  peak %6.1f MB  (%s)"
              "  target shown < 1 s, < 150 MB" % (rows, figure["min"], figure["median"], figure["rss"],
                                                   subprocess.run(timing.PIN + [view, path], capture_output=True,
                                                                  text=True, env=env).stdout.strip()),
              flush=True)

    folder = os.path.join(data, "program")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    out = os.path.join(folder, "forms.pdf")
    for every, target in ((10, 2.0), (100, None)):
        path = roster(10000, every)
        argv = [batch, "--dir", folder, "zw", "print", "--workbook", path, "--rows", "7-10006", "--pdf", out]
        figure = timing.measure(argv, runs)
        pages = (10000 + every - 1) // every
        size = os.path.getsize(out) / 1024.0
        print("zw print --pdf %4d forms of 10,000 rows: wall min %6.3f s  median %6.3f s  cpu %6.3f s  peak %6.1f MB"
              "  %.1f KB/page%s" % (pages, figure["min"], figure["median"], figure["cpu"], figure["rss"],
                                    size / pages,
                                    "  target < %.0f s, < 10 KB/page: %s" % (
                                        target, "met" if figure["median"] < target and size / pages < 10
                                        else "MISSED") if target else ""), flush=True)

    # The JB forms through the same driver: 1,000 flagged rows of 10,000 in each mode.
    for mode, name in ((0, "normal step"), (1, "rolling promotion")):
        path = jb_roster(mode, 10000, 10)
        argv = [batch, "--dir", folder, "jb", "print", "--mode", str(mode), "--workbook", path,
                "--rows", "7-10006", "--pdf", out]
        figure = timing.measure(argv, runs)
        pages = 1000
        size = os.path.getsize(out) / 1024.0
        print("jb print --pdf %4d forms of 10,000 rows (%s): wall min %6.3f s  median %6.3f s  cpu %6.3f s"
              "  peak %6.1f MB  %.1f KB/page  target < 2 s, < 10 KB/page: %s"
              % (pages, name, figure["min"], figure["median"], figure["cpu"], figure["rss"], size / pages,
                 "met" if figure["median"] < 2.0 and size / pages < 10 else "MISSED"), flush=True)

    # The JG forms through the same driver: 1,000 flagged rows of 10,000.
    path = jg_roster(10000, 10)
    argv = [batch, "--dir", folder, "jg", "print", "--workbook", path, "--rows", "7-10006", "--pdf", out]
    figure = timing.measure(argv, runs)
    pages = 1000
    size = os.path.getsize(out) / 1024.0
    print("jg print --pdf %4d forms of 10,000 rows: wall min %6.3f s  median %6.3f s  cpu %6.3f s"
          "  peak %6.1f MB  %.1f KB/page  target < 2 s, < 10 KB/page: %s"
          % (pages, figure["min"], figure["median"], figure["cpu"], figure["rss"], size / pages,
             "met" if figure["median"] < 2.0 and size / pages < 10 else "MISSED"), flush=True)


main()
