#!/usr/bin/env python3
"""trees consensus against ape (read.tree + prop.part + consensus) and DendroPy's sumtrees on
the same files, side by side: each round runs ours, ape, sumtrees, in turn, and the ratios of
one round are paired. Prints every round, the median ratio and the spread, and peak memory.

usage: bench/trees/compare.py TREES_PROGRAM WORK_DIR [ROUNDS]   (WORK_DIR holds make_trees.R's
files; sumtrees is left out when it is not installed)"""
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run(command):
    """Wall seconds, peak resident KiB and standard output of one process."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    out = process.stdout.read()
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    if status != 0:
        sys.exit("failed: " + " ".join(command))
    return seconds, usage.ru_maxrss, out.decode()


def sumtrees_command(path, out):
    for name in ("sumtrees.py", "sumtrees"):
        if shutil.which(name):
            return [name, "-s", "consensus", "-f", "0.5", "-r", "-q", "-o", out, path]
    return None


def main():
    program, work = sys.argv[1], sys.argv[2]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    for name in ("bootstrap.nwk", "random.nwk"):
        path = os.path.join(work, name)
        sumtrees = sumtrees_command(path, os.path.join(work, "sumtrees.out"))
        ratios, sumtrees_ratios = [], []
        print(f"{name}: 1,000 trees of 500 tips")
        for k in range(rounds):
            ours, ours_kib, _ = run([program, "consensus", "-i", path, "-o", os.devnull])
            ape_wall, ape_kib, ape_out = run(["Rscript", os.path.join(HERE, "ape_consensus.R"), path])
            ape = float(ape_out.split()[-1])  # read + prop.part + consensus, inside R
            line = (f"  round {k + 1}: trees {ours:.3f} s ({ours_kib / 1024:.0f} MiB), ape {ape:.3f} s "
                    f"[{ape_out.strip()}; process {ape_wall:.2f} s, {ape_kib / 1024:.0f} MiB]")
            ratios.append(ape / ours)
            if sumtrees:
                st, st_kib, _ = run(sumtrees)
                sumtrees_ratios.append(st / ours)
                line += f", sumtrees {st:.2f} s ({st_kib / 1024:.0f} MiB)"
            print(line, flush=True)
        print(f"  ape / trees: median {statistics.median(ratios):.1f}x "
              f"(min {min(ratios):.1f}, max {max(ratios):.1f}; target >= 10)")
        if sumtrees_ratios:
            print(f"  sumtrees / trees: median {statistics.median(sumtrees_ratios):.1f}x "
                  f"(min {min(sumtrees_ratios):.1f}, max {max(sumtrees_ratios):.1f})")


if __name__ == "__main__":
    main()
