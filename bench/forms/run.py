"""Times quvela-batch xj print --pdf on roster tables of 100 and 1,000 rows (see
process_timing for wall time, processor time and peak memory).

The table is the example roster imported and adjusted, its 24 rows repeated in order up
to the size wanted. Bytes per page is the PDF's size over its pages."""
import os
import shutil
import sqlite3
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.dirname(HERE))
import process_timing as timing  # noqa: E402

SIZES = (100, 1000)
TARGET_SECONDS = 2.0     # for 1,000 forms
TARGET_PAGE_BYTES = 10 * 1024

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-bench")
runs = int(os.environ.get("QUVELA_BENCH_RUNS", "5"))
data = os.path.join(build, "bench-data", "forms")
batch = os.path.join(build, "bin", "quvela-batch")
os.environ["QT_QPA_PLATFORM"] = "offscreen"


def check(argv):
    done = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if done.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(argv), done.stderr.decode("utf-8", "replace")))
    return done.stdout.decode("utf-8", "replace")


def program_folder(rows):
    """A program folder whose table holds the example roster repeated to rows rows."""
    folder = os.path.join(data, "program-%d" % rows)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    book = os.path.join(folder, "xj-roster.xlsx")
    shutil.copyfile(os.path.join(SOURCE, "examples", "xj-roster.xlsx"), book)
    check([batch, "--dir", folder, "xj", "import", "--workbook", book, "--rows", "7-30"])
    check([batch, "--dir", folder, "xj", "adjust"])
    db = sqlite3.connect(os.path.join(folder, "xjgz.db"))
    columns = [c[1] for c in db.execute("PRAGMA table_info(xjgztz)") if c[1] != "id"]
    listed = ", ".join(columns)
    example = db.execute("SELECT %s FROM xjgztz ORDER BY id" % listed).fetchall()
    db.execute("DELETE FROM xjgztz")
    marks = ", ".join("?" for _ in columns)
    db.executemany("INSERT INTO xjgztz (%s) VALUES (%s)" % (listed, marks),
                   (example[i % len(example)] for i in range(rows)))
    db.commit()
    db.close()
    return folder


def pdf_pages(pdf):
    for line in check(["pdfinfo", pdf]).splitlines():
        if line.startswith("Pages:"):
            return int(line.split()[1])
    return 0


def embedded_fonts(pdf):
    rows = check(["pdffonts", pdf]).splitlines()[2:]
    return all(r.split()[-5] == "yes" for r in rows if r.strip()), len(rows)


def main():
    if not os.path.exists(batch):
        sys.exit("missing %s (build the quvela-batch target)" % batch)
    os.makedirs(data, exist_ok=True)
    print("machine: %d cores, %s; %d runs each; load average %.1f" % (os.cpu_count(), timing.cpu_model(), runs,
                                                                     os.getloadavg()[0]))
    print("command: %s --dir DIR xj print --pdf OUT.pdf  (table of N rows: the example roster repeated)"
          % " ".join(timing.PIN + [batch]))
    peaks = {}
    for rows in SIZES:
        folder = program_folder(rows)
        pdf = os.path.join(data, "forms-%d.pdf" % rows)
        argv = [batch, "--dir", folder, "xj", "print", "--pdf", pdf]
        figure = timing.measure(argv, runs)
        fastest, median, cpu, peak = figure["min"], figure["median"], figure["cpu"], figure["rss"]
        peaks[rows] = peak
        pages = pdf_pages(pdf)
        size = os.path.getsize(pdf)
        embedded, fonts = embedded_fonts(pdf)
        if pages != rows:
            sys.exit("expected %d pages, the PDF has %d" % (rows, pages))
        line = ("forms %5d  wall min %6.3f s  median %6.3f s  cpu %6.3f s  %7.1f forms/s  %6.0f bytes/page  "
                "peak %6.1f MB  fonts %d %s" % (rows, fastest, median, cpu, rows / fastest, size / pages,
                                                 peak, fonts, "embedded" if embedded else "NOT EMBEDDED"))
        if rows == 1000:
            line += "  target < %.0f s: %s, < %d bytes/page: %s" % (
                TARGET_SECONDS, "met" if fastest < TARGET_SECONDS else "MISSED", TARGET_PAGE_BYTES,
                "met" if size / pages < TARGET_PAGE_BYTES else "MISSED")
        print(line, flush=True)
    growth = peaks[SIZES[1]] - peaks[SIZES[0]]
    print("peak memory %d -> %d forms: %+.1f MB (flat: %s)"
          % (SIZES[0], SIZES[1], growth, "yes" if growth < 10 else "NO"))


main()
