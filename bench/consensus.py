#!/usr/bin/env python3
"""Consensus clustering figures: wall time and peak memory of the clusterer per k on the 6999 x
1000 workload, and the clusterer against ConsensusClusterPlus side by side on a 1,000 x 128 table.

usage: consensus.py CLUSTERER WORK_DIR [--pairs N] [--skip-large] [--skip-peer]

The peer runs in R (Debian's r-bioc-consensusclusterplus) with clusterAlg "km", the same reps,
pItem 0.8 and pFeature 1; its time is that of the ConsensusClusterPlus call alone (R's start
and the package load excluded), ours that of the whole process (reading included). Runs
alternate, ours first; the ratio of each pair is theirs / ours, and the target is met when the
median of the ratios is at least 20.
"""
import argparse
import math
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

R_SCRIPT = r"""
suppressMessages(library(ConsensusClusterPlus))
args <- commandArgs(trailingOnly = TRUE)
d <- as.matrix(read.table(args[1], skip = 1, row.names = 1, sep = "\t"))
pdf(NULL)
elapsed <- system.time(ConsensusClusterPlus(t(d), maxK = as.integer(args[2]),
    reps = as.integer(args[3]), pItem = 0.8, pFeature = 1, clusterAlg = "km",
    distance = "euclidean", seed = 1, title = args[4], plot = NULL, verbose = FALSE))
cat(elapsed[["elapsed"]], "\n")
"""


def planted_matrix(path, rows, cols, k, seed):
    """Rows near k random unit directions, random signs and scales, Gaussian noise."""
    rng = random.Random(seed)
    directions = []
    for _ in range(k):
        v = [rng.gauss(0, 1) for _ in range(cols)]
        length = math.sqrt(sum(x * x for x in v))
        directions.append([x / length for x in v])
    noise = 0.5 / math.sqrt(cols)
    with open(path, "w") as out:
        out.write(f"{rows} {cols}\n")
        for r in range(rows):
            sign, scale, d = rng.choice((-1, 1)), rng.uniform(1, 5), directions[rng.randrange(k)]
            out.write(f"g{r}\t" + "\t".join(f"{sign * scale * x + rng.gauss(0, noise):.6g}" for x in d) + "\n")


def timed(command):
    """Wall seconds and peak resident memory (MiB) of one child process."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    out = child.stdout.read().decode()
    if status != 0:
        sys.exit("failed: %s\n%s" % (" ".join(command), child.stderr.read().decode()))
    return wall, usage.ru_maxrss / 1024, out


def large_figures(clusterer, work):
    path = os.path.join(work, "consensus_6999x1000.txt")
    if not os.path.exists(path):
        planted_matrix(path, 6999, 1000, 8, 20261207)
    print("6999 x 1000, B = 50, one k per process:")
    print("  k   wall s   peak MiB")
    for k in range(2, 9):
        wall, peak, _ = timed([clusterer, "-i", path, "-consensus", "50", "-k_range", f"{k}..{k}",
                               "-seed", "1", "-consensus_table", os.devnull])
        print(f"  {k}  {wall:7.1f}  {peak:9.0f}")
    wall, peak, _ = timed([clusterer, "-i", path, "-consensus", "50", "-k_range", "2..8", "-seed",
                           "1", "-consensus_table", os.devnull, "-consensus_labels", os.devnull])
    print(f"  2..8 in one process: {wall:.1f} s, peak {peak:.0f} MiB")


def peer_figures(clusterer, work, pairs):
    path = os.path.join(work, "consensus_1000x128.txt")
    if not os.path.exists(path):
        planted_matrix(path, 1000, 128, 5, 31)
    script = os.path.join(work, "consensus_peer.R")
    with open(script, "w") as f:
        f.write(R_SCRIPT)
    ratios = []
    print("1000 x 128, k = 2..6, B = 100 (theirs: the ConsensusClusterPlus call alone):")
    print("  pair   ours s   theirs s   ratio")
    for pair in range(pairs):
        ours, _, _ = timed([clusterer, "-i", path, "-consensus", "100", "-k_range", "2..6",
                            "-seed", "1", "-consensus_table", os.devnull, "-consensus_labels",
                            os.devnull])
        with tempfile.TemporaryDirectory(dir=work) as title:
            _, _, out = timed(["Rscript", script, path, "6", "100", title])
        theirs = float(out.split()[-1])
        ratios.append(theirs / ours)
        print(f"  {pair + 1:4d}  {ours:7.2f}  {theirs:9.2f}  {ratios[-1]:6.1f}")
    median = statistics.median(ratios)
    print(f"  median ratio {median:.1f} (spread {min(ratios):.1f} .. {max(ratios):.1f}); "
          f"target 20: {'met' if median >= 20 else 'NOT met'}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("clusterer")
    parser.add_argument("work")
    parser.add_argument("--pairs", type=int, default=5)
    parser.add_argument("--skip-large", action="store_true")
    parser.add_argument("--skip-peer", action="store_true")
    a = parser.parse_args()
    os.makedirs(a.work, exist_ok=True)
    print("load average: %.2f %.2f %.2f" % os.getloadavg())
    if not a.skip_peer:
        peer_figures(a.clusterer, a.work, a.pairs)
    if not a.skip_large:
        large_figures(a.clusterer, a.work)


if __name__ == "__main__":
    main()
