#!/usr/bin/env python3
"""distcorr against ape's dist.dna, measured side by side in one script.

1. 2,000 sequences x 1,000 sites (gaps and N), K80 with gamma shape 0.5, pairwise deletion: runs
   alternate (distcorr, ape, distcorr, ape, ...); each pair of runs gives one ratio of ape's
   computation (dist.dna alone, timed inside R, reading excluded) to distcorr's whole process
   (reading, counting, correcting and writing the matrix). Target: median ratio >= 40. distcorr
   runs three ways in each round, so the cost of the 80 MB output shows: -o FILE (written through
   a temporary, synced to the disk, renamed), standard output redirected to a file (no sync), and
   -o /dev/null. A copy of the matrix written and synced alone gives the floor of the first.
2. 10,000 sequences x 1,000 sites, Jukes-Cantor, pairwise deletion, the whole process writing its
   2 GB matrix: wall time (target < 20 s) and peak memory.
Usage: versus_ape.py DISTCORR WORK_DIR [PAIRS]   (PAIRS default 5; needs Rscript with ape)
"""
import os
import random
import statistics
import subprocess
import sys
import time

R_TIMING = """
suppressMessages(library(ape))
x <- read.dna("%s", format = "fasta")
t <- system.time(d <- dist.dna(x, model = "K80", gamma = 0.5, pairwise.deletion = TRUE))
cat(t[["elapsed"]], "\\n")
"""


def alignment(path, sequences, sites, seed):
    """Related sequences: a tenth of the sites changed or unresolved (N or gap) per sequence."""
    if os.path.exists(path):
        return
    rng = random.Random(seed)
    root = [rng.choice("ACGT") for _ in range(sites)]
    with open(path, "w") as out:
        for i in range(sequences):
            s = "".join(c if rng.random() > 0.1 else rng.choice("ACGTN-") for c in root)
            out.write(">s%d\n%s\n" % (i, s))


def timed(command, stdout=None):
    """Wall seconds, processor seconds and peak resident memory (KiB) of one process."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=stdout or subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit("failed: %s" % " ".join(command))
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def synced_copy(source, target):
    """Seconds to write the bytes of source to target and sync them, as -o does at its end."""
    data = open(source, "rb").read()
    start = time.perf_counter()
    with open(target + ".tmp", "wb") as out:
        out.write(data)
        out.flush()
        os.fsync(out.fileno())
    os.rename(target + ".tmp", target)
    return time.perf_counter() - start


def report(name, ours, theirs):
    ratios = [t / o for o, t in zip(ours, theirs)]
    median = statistics.median(ratios)
    print("  %-28s %s s; ratios %s; median %.1f (min %.1f, max %.1f)  [%s]"
          % (name, " ".join("%.3f" % t for t in ours), " ".join("%.1f" % q for q in ratios),
             median, min(ratios), max(ratios), "met" if median >= 40 else "NOT met"))


def main():
    distcorr, work = sys.argv[1], sys.argv[2]
    pairs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    os.makedirs(work, exist_ok=True)
    small = os.path.join(work, "distcorr_2000x1000.fasta")
    large = os.path.join(work, "distcorr_10000x1000.fasta")
    alignment(small, 2000, 1000, 20261208)
    alignment(large, 10000, 1000, 20261209)
    output = os.path.join(work, "distcorr_matrix.phy")

    print("load average before: %.1f %.1f %.1f" % os.getloadavg())
    arguments = [distcorr, "-i", small, "-model", "k2p", "-alpha", "0.5", "-deletion", "pairwise"]
    ways = {"-o FILE (synced)": [], "standard output to a file": [], "-o /dev/null": []}
    theirs_all, processor, floor = [], [], []
    for _ in range(pairs):
        wall, cpu, _ = timed(arguments + ["-o", output])
        ways["-o FILE (synced)"].append(wall)
        processor.append(cpu)
        r = subprocess.run(["Rscript", "-e", R_TIMING % small], capture_output=True, text=True,
                           check=True)
        theirs_all.append(float(r.stdout.split()[0]))
        with open(output + ".stdout", "wb") as out:
            ways["standard output to a file"].append(timed(arguments, out)[0])
        ways["-o /dev/null"].append(timed(arguments + ["-o", os.devnull])[0])
        floor.append(synced_copy(output, output + ".copy"))
    print("2000 x 1000 K80 gamma 0.5, pairwise: ape dist.dna %s s"
          % " ".join("%.2f" % t for t in theirs_all))
    for name, ours in ways.items():
        report(name, ours, theirs_all)
    print("distcorr -o FILE processor seconds (both threads): %s"
          % " ".join("%.2f" % t for t in processor))
    print("the matrix alone written and synced: %s s" % " ".join("%.3f" % t for t in floor))
    for leftover in (output + ".stdout", output + ".copy"):
        os.remove(leftover)

    wall, cpu, rss = timed([distcorr, "-i", large, "-deletion", "pairwise", "-o", output])
    print("10000 x 1000 JC, pairwise, matrix of %.2f GB written: %.1f s wall, %.1f s processor, "
          "peak %.0f MiB  [%s: target < 20 s]" % (os.path.getsize(output) / 1e9, wall, cpu,
                                                  rss / 1024.0, "met" if wall < 20 else "NOT met"))
    print("load average after: %.1f %.1f %.1f" % os.getloadavg())
    os.remove(output)


if __name__ == "__main__":
    main()
