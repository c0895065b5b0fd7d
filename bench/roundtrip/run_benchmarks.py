#!/usr/bin/env python3
"""Measures the whole job of rewriting a page and writes docs/benchmarks.md.

For each of the parser benchmark's pages (made by bench/parser/gen_inputs.py:
a ~20 MB page of real-looking markup, a page of 1,000,000 paragraphs, a page
nested 100,000 elements deep, and 1,000,000 deep to show depth is linear;
bare markup is put inside HTML and BODY first, for every tool alike) it
runs, as whole processes: `cp` of the file, libxml2's parse + dump, `tavrel
rebuild`, `tavrel add` and `tavrel list`, the tavrel commands on a copy that has
been given its list once before. Each is run several times, the tools of a page in turn;
the best CPU time (user + system: on a machine shared with other work wall time
says more about the load than about the tool), its best wall time and the
largest peak resident memory are reported, with throughput and memory per page
byte.
It also checks that a second `tavrel rebuild` leaves the bytes as they were,
and measures peak memory on a 160 MB page (the 20 MB page's body eight times)
and `tavrel add` to a list of 100,000 entries.
The parser benchmark's own table (bench/parser/run_bench.py on the same
pages) is included.

Usage: bench/roundtrip/run_benchmarks.py [--no-build] [--repeat N] [--work DIR]
"""
import argparse
import datetime
import os
import platform
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.path.join(ROOT, "build", "bench")
PAGES = [("real.html", "20 MB page"), ("p1m.html", "1,000,000 <p>"),
         ("nested100k.html", "100,000 deep"), ("nested1m.html", "1,000,000 deep")]
TOOLS = ["cp", "libxml2 parse+dump", "tavrel rebuild", "tavrel add", "tavrel list"]


GNU_TIME = "/usr/bin/time"


def run_measured(command):
    """Runs `command`; returns (seconds, CPU seconds, peak resident kB, exit status).

    The peak memory comes from GNU time where it is installed: a child forked
    from this Python process would count the parent's memory as its own. The
    CPU time is that of the child and the children it waited for, to the
    microsecond."""
    with tempfile.NamedTemporaryFile("r") as report:
        measured = command
        if os.access(GNU_TIME, os.X_OK):
            measured = [GNU_TIME, "-f", "%M", "-o", report.name] + command
        start = time.perf_counter()
        process = subprocess.Popen(measured, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(process.pid, 0)
        seconds = time.perf_counter() - start
        peak = usage.ru_maxrss
        cpu = usage.ru_utime + usage.ru_stime
        if measured is not command:
            peak = int(report.read().split()[-1])
    return seconds, cpu, peak, os.waitstatus_to_exitcode(status)


def command_for(tool, page, target):
    tavrel = os.path.join(BUILD, "cli", "tavrel")
    if tool == "cp":
        return ["cp", page, target]
    if tool == "libxml2 parse+dump":
        return [os.path.join(BUILD, "bench", "roundtrip", "xml_roundtrip"), page, target]
    if tool == "tavrel rebuild":
        return [tavrel, "rebuild", target]
    if tool == "tavrel list":
        return [tavrel, "list", target]
    return [tavrel, "add", target, "--link", "/x.htm", "--title", "X", "--date", "today"]


def with_list(page, work):
    """A copy of `page` that has its list: what tavrel works on day to day."""
    listed = os.path.join(work, "listed-" + os.path.basename(page))
    shutil.copyfile(page, listed)
    subprocess.run([os.path.join(BUILD, "cli", "tavrel"), "add", listed, "--link", "/first.htm",
                    "--title", "First", "--date", "today"], check=True)
    return listed


def measure_once(tool, page, work):
    target = os.path.join(work, "target.html")
    if tool.startswith("tavrel"):
        shutil.copyfile(page, target)
    seconds, cpu, rss, code = run_measured(command_for(tool, page, target))
    if code != 0:
        raise SystemExit("%s failed on %s (exit %d)" % (tool, page, code))
    return seconds, cpu, rss


def measure_page(page, work, repeat):
    """{tool: (best CPU seconds, largest peak kB, best wall seconds)}; the
    runs of the tools are interleaved, so a change of load hits all alike."""
    results = {tool: (float("inf"), 0, float("inf")) for tool in TOOLS}
    for _ in range(repeat):
        for tool in TOOLS:
            seconds, cpu, rss = measure_once(tool, page, work)
            best_cpu, peak, best_wall = results[tool]
            results[tool] = (min(best_cpu, cpu), max(peak, rss), min(best_wall, seconds))
    return results


def with_body(page, work):
    """`page`, or for a page of bare markup a copy inside HTML and BODY: a page
    without BODY is refused by tavrel (it has nowhere to put the list)."""
    with open(page, "rb") as f:
        start = f.read(4096).lower()
    if b"<body" in start:
        return page
    wrapped = os.path.join(work, "body-" + os.path.basename(page))
    if not os.path.exists(wrapped):
        with open(page, "rb") as f, open(wrapped, "wb") as out:
            out.write(b"<html><body>\n")
            shutil.copyfileobj(f, out)
            out.write(b"</body></html>\n")
    return wrapped


def second_rebuild_identical(page, work):
    target = os.path.join(work, "stable.html")
    shutil.copyfile(page, target)
    tavrel = os.path.join(BUILD, "cli", "tavrel")
    subprocess.run([tavrel, "rebuild", target], check=True)
    with open(target, "rb") as f:
        once = f.read()
    subprocess.run([tavrel, "rebuild", target], check=True)
    with open(target, "rb") as f:
        return f.read() == once


def measure_page_once(tool, page, work):
    """(CPU seconds, peak kB, wall seconds) of one run."""
    seconds, cpu, rss = measure_once(tool, page, work)
    return cpu, rss, seconds


def big_page(real, work):
    """The 20 MB page's body eight times over, with its list: about 160 MB."""
    big = os.path.join(work, "big.html")
    if not os.path.exists(big):
        with open(real, "rb") as f:
            data = f.read()
        body = data.index(b"<body>") + len(b"<body>")
        end = data.rindex(b"</body>")
        with open(big, "wb") as out:
            out.write(data[:body] + data[body:end] * 8 + data[end:])
    return with_list(big, work)


def long_list_page(work):
    """A page whose list holds 100,000 entries, in the form tavrel writes."""
    page = os.path.join(work, "long-list.html")
    entry = ("<DT><STRONG>Monday, December 07, 2026</STRONG>\n<BR>\n<A href=\"/news/%d.htm\">"
             "<STRONG>Entry %d</STRONG>\n</A>\n</DT>\n<DD>The news of entry %d, in a line of "
             "text.<BR>\n<P></DD>\n")
    with open(page, "w") as out:
        out.write("<html><head><title>News</title></head><body>\n<DL>\n<!-- Automatically "
                  "generated by TavrelWizard. Do Not Delete. -->\n")
        for n in range(100000):
            out.write(entry % (n, n, n))
        out.write("</DL>\n</body></html>\n")
    return page


def machine_text():
    cpu = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    memory = ""
    try:
        with open("/proc/meminfo") as f:
            kb = int(f.readline().split()[1])
            memory = ", %.0f GiB memory" % (kb / 1024 / 1024)
    except (OSError, ValueError, IndexError):
        pass
    return "%s, %d cores%s, %s" % (cpu, os.cpu_count() or 0, memory, platform.platform())


def svg_chart(results, sizes):
    """Horizontal bars of throughput (MB/s, log scale) per page and tool."""
    import math
    colours = {"cp": "#999999", "libxml2 parse+dump": "#d98c3f", "tavrel rebuild": "#3f78d9",
               "tavrel add": "#6fb36f", "tavrel list": "#9f6fb3"}
    bar, gap, left, width = 14, 10, 230, 460
    rows = [(label, tool, sizes[name] / 1e6 / results[name][tool][0])
            for name, label in PAGES for tool in TOOLS]
    top = max(r[2] for r in rows)
    scale = lambda v: width * math.log10(max(v, 1.0)) / math.log10(max(top, 10.0))
    height = len(rows) * (bar + 4) + len(PAGES) * gap + 50
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
           'font-family="DejaVu Sans, sans-serif" font-size="11">' % (left + width + 90, height),
           '<rect width="100%" height="100%" fill="white"/>',
           '<text x="10" y="16" font-size="13">Throughput, MB/s (log scale), '
           'whole process, best CPU time of runs</text>']
    y = 30
    for index, (label, tool, value) in enumerate(rows):
        if index % len(TOOLS) == 0:
            y += gap
        out.append('<text x="10" y="%d">%s &#8211; %s</text>' % (y + 11, label.replace("<", "&lt;"), tool))
        out.append('<rect x="%d" y="%d" width="%.1f" height="%d" fill="%s"/>'
                   % (left, y, max(scale(value), 1), bar, colours[tool]))
        out.append('<text x="%.1f" y="%d">%.1f</text>' % (left + scale(value) + 4, y + 11, value))
        y += bar + 4
    out.append("</svg>")
    return "\n".join(out) + "\n"


def parser_table(pages):
    script = os.path.join(ROOT, "bench", "parser", "run_bench.py")
    programs = os.path.join(BUILD, "bench", "parser")
    if not os.path.exists(script) or not os.path.isdir(programs):
        return ""
    # One run each and a short time-out: a peer that takes minutes on the deep
    # pages says all it has to say by timing out.
    result = subprocess.run([sys.executable, script, programs, pages, "--repeat", "1",
                             "--timeout", "30"], capture_output=True, text=True)
    return result.stdout if result.returncode == 0 else ""


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--no-build", action="store_true")
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--work", default=None, help="folder for the pages (default: temporary)")
    parser.add_argument("--conditions", default="not stated",
                        help="what else ran on the machine meanwhile, for the report")
    parser.add_argument("--out", default=os.path.join(ROOT, "docs", "benchmarks.md"))
    args = parser.parse_args()

    if not args.no_build:
        subprocess.run(["cmake", "--preset", "bench"], cwd=ROOT, check=True,
                       stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", "--preset", "bench"], cwd=ROOT, check=True,
                       stdout=subprocess.DEVNULL)
    work = args.work or tempfile.mkdtemp(prefix="tavrel-bench-")
    pages = os.path.join(work, "pages")
    if not all(os.path.exists(os.path.join(pages, name)) for name, _ in PAGES):
        subprocess.run([sys.executable, os.path.join(ROOT, "bench", "parser", "gen_inputs.py"),
                        pages], check=True)

    sizes, results, stable = {}, {}, {}
    for name, label in PAGES:
        page = with_list(with_body(os.path.join(pages, name), work), work)
        sizes[name] = os.path.getsize(page)
        results[name] = measure_page(page, work, args.repeat)
        for tool in TOOLS:
            print("%-16s %-20s %8.3f s CPU %8d kB %8.3f s wall"
                  % (label, tool, *results[name][tool]))
        stable[name] = second_rebuild_identical(page, work)

    date = datetime.datetime.now().strftime("%Y-%m-%d %H:%M")
    lines = ["# Benchmarks", "",
             "Produced by `bench/roundtrip/run_benchmarks.py` on %s." % date, "",
             "Machine: %s." % machine_text(), "",
             "## Rewriting a whole page", "",
             "Each command runs as a whole process on a fresh copy of the page, %d runs, "
             "the tools of a page in turn; time is the best CPU time (user + system), "
             "speeds and the comparison with libxml2 come from it; wall is the best wall "
             "time; peak memory is the largest peak resident memory. The tavrel commands "
             "work on a copy of the page that was given its list once before: `tavrel add` "
             "puts one entry on top of it, `rebuild` writes it again, `list` prints it."
             % args.repeat, "", "Conditions: %s." % args.conditions, "",
             "| Page | Size | Tool | CPU time (s) | Wall (s) | MB/s | Peak memory (MB) | "
             "Memory / page | vs libxml2 |", "|---|---:|---|---:|---:|---:|---:|---:|---:|"]
    for name, label in PAGES:
        xml_time = results[name]["libxml2 parse+dump"][0]
        for tool in TOOLS:
            seconds, rss, wall = results[name][tool]
            lines.append("| %s | %.1f MB | %s | %.3f | %.3f | %.1f | %.1f | %.2fx | %.2fx faster |"
                         % (label.replace("<", "&lt;"), sizes[name] / 1e6, tool, seconds, wall,
                            sizes[name] / 1e6 / seconds, rss / 1024,
                            rss * 1024 / sizes[name], xml_time / seconds))
    lines += ["", "Second `tavrel rebuild` byte-identical to the first: " +
              ", ".join("%s %s" % (label.replace("<", "&lt;"), "yes" if stable[name] else "NO")
                        for name, label in PAGES) + ".", ""]
    big = big_page(os.path.join(pages, "real.html"), work)
    big_results = {tool: measure_page_once(tool, big, work) for tool in TOOLS[2:]}
    long_list = long_list_page(work)
    long_add = measure_page_once("tavrel add", long_list, work)
    lines += ["Goals:", ""]
    for name, label in PAGES[:1]:
        xml_time = results[name]["libxml2 parse+dump"][0]
        for tool in ("tavrel rebuild", "tavrel add"):
            speedup = xml_time / results[name][tool][0]
            lines.append("- %s, `%s`: %.2fx libxml2's speed (goal 10x: %s)"
                         % (label, tool, speedup, "met" if speedup >= 10 else "missed"))
    for tool, (seconds, rss, _) in big_results.items():
        lines.append("- %.0f MB page, `%s`: peak memory %.1f MB (goal under 32 MB: %s), "
                     "%.2f s CPU" % (os.path.getsize(big) / 1e6, tool, rss / 1024,
                                     "met" if rss < 32 * 1024 else "missed", seconds))
    seconds, rss, _ = long_add
    lines.append("- `tavrel add` to a list of 100,000 entries (%.0f MB): %.2f s CPU (goal under "
                 "1 s: %s), peak memory %.1f MB (goal under 100 MB: %s)" % (
                     os.path.getsize(long_list) / 1e6, seconds,
                     "met" if seconds < 1 else "missed", rss / 1024,
                     "met" if rss < 100 * 1024 else "missed"))
    lines += ["", "libxml2 stops nesting at depth 256 and puts the rest of a deeper page "
              "elsewhere, so its times on the deep pages are not like for like; tavrel keeps "
              "every level. Peak memory is that of the whole process. tavrel scans a page "
              "while it is parsed and releases the tree part by part, reading its list entry "
              "by entry, then copies the page with only its list replaced through a 1 MB "
              "buffer. The parser reads the page in pieces, a 128 KB window of text at a time "
              "(twice for a page whose encoding is sniffed from all its bytes); what is held is "
              "the windows the unsettled part of the tree points into, that part of the tree, "
              "and the entries (a deep page settles nothing before its end and is held whole).", ""]
    chart = svg_chart(results, sizes)
    chart_name = "benchmarks-roundtrip.svg"
    os.makedirs(os.path.dirname(args.out), exist_ok=True)
    with open(os.path.join(os.path.dirname(args.out), chart_name), "w") as f:
        f.write(chart)
    lines += ["![Throughput chart](%s)" % chart_name, "", "```"]
    top = max(sizes[n] / 1e6 / results[n][t][0] for n, _ in PAGES for t in TOOLS)
    for name, label in PAGES:
        for tool in TOOLS:
            rate = sizes[name] / 1e6 / results[name][tool][0]
            lines.append("%-14s %-19s %s %.1f MB/s" % (label, tool, "#" * max(1, round(
                40 * rate / top)), rate))
    lines += ["```", ""]
    table = parser_table(pages)
    if table:
        lines += ["## Parser alone", "", table.strip(), ""]
    with open(args.out, "w") as f:
        f.write("\n".join(lines))
    print("wrote", args.out)


if __name__ == "__main__":
    main()
