#!/usr/bin/env python3
"""Runs each parser's parse_* program on each input and prints a markdown
table of whole-process wall time, throughput and peak resident memory.

  run_bench.py PROGRAM_DIR INPUT_DIR [--repeat N] [--timeout S]

Each cell is the best of N runs (default 3). Inputs come from gen_inputs.py.
"""
import argparse
import os
import resource
import subprocess
import time

PARSERS = ["tavrel", "libxml2", "gumbo"]
INPUTS = ["real.html", "p1m.html", "nested100k.html", "nested1m.html"]


def run_once(program_dir, parser, path, timeout):
    start = time.perf_counter()
    program = os.path.join(program_dir, "parse_" + parser)
    process = subprocess.Popen([program, path], stdout=subprocess.PIPE)
    deadline = start + timeout
    while True:
        pid, status, usage = os.wait4(process.pid, os.WNOHANG)
        if pid != 0:
            break
        if time.perf_counter() > deadline:
            process.kill()
            os.wait4(process.pid, 0)
            return None
        time.sleep(0.005)
    elapsed = time.perf_counter() - start
    output = process.stdout.read().decode().strip()
    if os.waitstatus_to_exitcode(status) != 0:
        return {"elapsed": elapsed, "peak": usage.ru_maxrss * 1024, "elements": "failed"}
    return {"elapsed": elapsed, "peak": usage.ru_maxrss * 1024, "elements": output}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program_dir")
    parser.add_argument("input_dir")
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--timeout", type=float, default=120)
    args = parser.parse_args()

    print("| input | size | parser | time (s) | MB/s | peak memory (MB) | peak / input | elements |")
    print("|---|---:|---|---:|---:|---:|---:|---:|")
    for name in INPUTS:
        path = os.path.join(args.input_dir, name)
        if not os.path.exists(path):
            continue
        size = os.path.getsize(path)
        for which in PARSERS:
            runs = []
            for _ in range(args.repeat):
                run = run_once(args.program_dir, which, path, args.timeout)
                if run is None:  # a timeout is not retried
                    break
                runs.append(run)
            if not runs:
                print(f"| {name} | {size / 1e6:.1f} MB | {which} | timeout | | | | |")
                continue
            best = min(runs, key=lambda run: run["elapsed"])
            peak = min(run["peak"] for run in runs)
            print(f"| {name} | {size / 1e6:.1f} MB | {which} | {best['elapsed']:.3f} | "
                  f"{size / 1e6 / best['elapsed']:.1f} | {peak / 1e6:.1f} | {peak / size:.1f}x | "
                  f"{best['elements']} |", flush=True)


if __name__ == "__main__":
    main()
