#!/usr/bin/env python3
"""trees consensus against ape (read.tree + prop.part + consensus) and DendroPy's consensus
(what sumtrees computes; dendropy_consensus.py) on the same files, side by side: each round
runs ours, ape, DendroPy, in turn, and the ratios of one round are paired. Prints every round,
the median ratio and the spread, and peak memory. Ratios are of wall time and, because a busy
machine stretches wall times unevenly, of processor time (user + system) too; ape's times are
measured inside R, without its start-up and library loading.

usage: bench/trees/compare.py TREES_PROGRAM WORK_DIR [ROUNDS [FILE...]]   (WORK_DIR holds
make_trees.R's files, bootstrap.nwk and random.nwk unless FILEs name some of them; DendroPy is
left out when /usr/bin/python3 cannot import it)"""
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run(command):
    """Wall seconds, processor seconds, peak resident KiB and standard output of one process."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    out = process.stdout.read()
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    if status != 0:
        sys.exit("failed: " + " ".join(command))
    return seconds, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, out.decode()


def dendropy_command(path, out):
    python = "/usr/bin/python3"
    if subprocess.run([python, "-c", "import dendropy"], stderr=subprocess.DEVNULL).returncode:
        return None
    return [python, os.path.join(HERE, "dendropy_consensus.py"), path, out]


def summary(name, ratios, note=""):
    print(f"  {name}: median {statistics.median(ratios):.1f}x "
          f"(min {min(ratios):.1f}, max {max(ratios):.1f}){note}")


def main():
    program, work = sys.argv[1], sys.argv[2]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    for name in sys.argv[4:] or ("bootstrap.nwk", "random.nwk"):
        path = os.path.join(work, name)
        dendropy = dendropy_command(path, os.path.join(work, "dendropy.out"))
        ratios, cpu_ratios, dendropy_ratios, dendropy_cpu_ratios = [], [], [], []
        print(f"{name}: 1,000 trees of 500 tips")
        for k in range(rounds):
            ours, ours_cpu, ours_kib, _ = run([program, "consensus", "-i", path, "-o", os.devnull])
            ape_wall, _, ape_kib, ape_out = run(["Rscript", os.path.join(HERE, "ape_consensus.R"), path])
            words = ape_out.split()  # read + prop.part + consensus, inside R
            ape, ape_cpu = float(words[-1]), float(words[-3])
            line = (f"  round {k + 1}: trees {ours:.3f} s (cpu {ours_cpu:.3f} s, {ours_kib / 1024:.0f} MiB), "
                    f"ape {ape:.3f} s [{ape_out.strip()}; process {ape_wall:.2f} s, {ape_kib / 1024:.0f} MiB]")
            ratios.append(ape / ours)
            cpu_ratios.append(ape_cpu / ours_cpu)
            if dendropy:
                dp, dp_cpu, dp_kib, _ = run(dendropy)
                dendropy_ratios.append(dp / ours)
                dendropy_cpu_ratios.append(dp_cpu / ours_cpu)
                line += f", DendroPy {dp:.2f} s (cpu {dp_cpu:.2f} s, {dp_kib / 1024:.0f} MiB)"
            print(line, flush=True)
        summary("ape / trees, wall", ratios, " (target >= 10)")
        summary("ape / trees, cpu", cpu_ratios)
        if dendropy_ratios:
            summary("DendroPy / trees, wall", dendropy_ratios)
            summary("DendroPy / trees, cpu", dendropy_cpu_ratios)


if __name__ == "__main__":
    main()
