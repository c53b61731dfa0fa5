#!/usr/bin/env python3
"""Measures and prints every performance figure of the clusterer next to its target.

usage: figures.py BUILD_DIR WORK_DIR
BUILD_DIR holds a Release build with the benchmarks and the golden tests built; WORK_DIR holds
the workloads that bench/run.sh generates. Times are the best of a few repetitions; ratios are
formed from wall clock time, since two threads only show there (run it on a quiet machine: the
load average is printed first), with processor time beside them.
"""
import json
import os
import random
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
MIB = 1024.0 * 1024.0
REPEATS = 3
STEPS = 20  # -t1 default


def run(cmd, cwd=None, env=None):
    done = subprocess.run(cmd, cwd=cwd, env=env, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit("failed (%d): %s\n%s" % (done.returncode, " ".join(cmd), done.stderr[-2000:]))
    return done


def numpy_env():
    # One BLAS thread; the core-type overrides of this machine slow a current numpy down.
    env = dict(os.environ, OPENBLAS_NUM_THREADS="1")
    env.pop("OPENBLAS_CORETYPE", None)
    env.pop("OPENBLAS_L2_SIZE", None)
    return env


def gbench(binary, args, repetitions=REPEATS, env=None, by_wall=False):
    """Google Benchmark runs: name -> best (real seconds, cpu seconds, counters), best by
    processor time, or by wall clock with by_wall."""
    out = run([binary, "--benchmark_format=json", "--benchmark_repetitions=%d" % repetitions]
              + args, env=env).stdout
    best = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
        real, cpu = b["real_time"] * scale, b["cpu_time"] * scale
        name = b["run_name"].replace("/real_time", "")
        key = 0 if by_wall else 1
        if name not in best or (real, cpu)[key] < best[name][key]:
            best[name] = (real, cpu, b)
    return best


def timed(cmd, cwd=None, env=None):
    """One process: (wall s, user+sys s, max RSS KiB, stdout), resources as wait4 reports them
    (the figures /usr/bin/time -v prints, at microsecond resolution)."""
    with tempfile.TemporaryFile(mode="w+") as out, tempfile.TemporaryFile(mode="w+") as err:
        start = time.perf_counter()
        child = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=out, stderr=err)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
        child.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        err.seek(0)
        if child.returncode != 0:
            sys.exit("failed (%d): %s\n%s" % (child.returncode, " ".join(cmd), err.read()[-2000:]))
        return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, out.read()


def best_timed(cmd, cwd=None, env=None):
    runs = [timed(cmd, cwd, env) for _ in range(REPEATS)]
    return (min(r[0] for r in runs), min(r[1] for r in runs), max(r[2] for r in runs), runs[0][3])


def numpy_phases(matrix, init, k, cwd):
    """Best of REPEATS runs of the numpy script: phase -> (wall, cpu); passes; process wall."""
    best, passes, process_wall = {}, None, None
    for _ in range(REPEATS):
        wall, _, _, out = timed([sys.executable, os.path.join(HERE, "ksvd_numpy.py"), matrix,
                                 init, str(k)], cwd=cwd, env=numpy_env())
        process_wall = wall if process_wall is None else min(process_wall, wall)
        for line in out.splitlines():
            words = line.split()
            if words[0] == "passes":
                passes = int(words[1])
            elif len(words) == 3:
                w, c = float(words[1]), float(words[2])
                old = best.get(words[0], (w, c))
                best[words[0]] = (min(old[0], w), min(old[1], c))
    return best, passes, process_wall


def verdict(ok):
    return "MET" if ok else "NOT MET"


def header(title):
    print()
    print(title)
    print("-" * len(title))


def dims(path):
    with open(path) as f:
        rows, cols = (int(v) for v in f.readline().split()[:2])
    return rows, cols


def kernel_name():
    """The OpenBLAS build and core numpy runs on, as its own library reports them."""
    code = ("import ctypes, numpy\n"
            "try:\n"
            "    lib = ctypes.CDLL('libblas.so.3')\n"
            "    f = lib.openblas_get_config; f.restype = ctypes.c_char_p\n"
            "    g = lib.openblas_get_corename; g.restype = ctypes.c_char_p\n"
            "    print(f().decode(), '/ core', g().decode())\n"
            "except (OSError, AttributeError):\n"
            "    print('BLAS is not OpenBLAS')\n")
    return run([sys.executable, "-c", code], env=numpy_env()).stdout.strip()


def passes_of_clusterer(clusterer, matrix, init, k, cwd):
    out = run([clusterer, "-i", matrix, "-init_clusters", init, "-num_clusters", str(k), "-v4"],
              cwd=cwd).stdout
    objective = re.search(r"Objective function = (\S+)", out).group(1)
    return out.count("reset clusters for next round\n"), objective


def labels_agree(ours, theirs):
    with open(ours) as a, open(theirs) as b:
        return a.read().split() == b.read().split()


def main():
    build, work = (os.path.abspath(p) for p in sys.argv[1:3])
    clusterer = os.path.join(build, "cluster", "clusterer")
    bench = os.path.join(build, "bench")
    w1, w1_init = os.path.join(work, "w1.txt"), os.path.join(work, "w1_init.txt")
    rows, cols = dims(w1)
    size = os.path.getsize(w1)
    print("machine: %s; load average %s" % (os.uname().machine, " ".join(
        "%.2f" % x for x in os.getloadavg())))
    print("numpy %s on %s" % (run([sys.executable, "-c", "import numpy; print(numpy.__version__)"])
                              .stdout.strip(), kernel_name()))
    print("W1: %d x %d, k = 8, %.1f MB of text" % (rows, cols, size / 1e6))

    reads = reading_figures(bench, work, w1, size)
    ksvd = ksvd_figures(bench, work, w1, w1_init)
    whole_run_figures(clusterer, work, w1, w1_init, rows, cols)
    restarts = restarts_figures(clusterer, work, w1, reads)
    top_figure(clusterer, work)
    scaling_figures(bench, work, w1, rows, cols, reads, ksvd, restarts)
    golden_figure(build)
    other_figures(build, bench, work)


def threads_env(threads):
    return dict(os.environ, TOOLKIT_THREADS=str(threads))


def reading_figures(bench, work, w1, size):
    """Figure 1: MB/s of text on 1 and 2 threads (wall clock: two threads only show there)."""
    header("(1) Reading W1's text: >= 1000 MB/s with 2 threads; TSV form >= 800 MB/s; gzip: "
           "MB/s of text")
    reader = os.path.join(bench, "cluster_read_matrix_benchmark")
    tsv, tsv_gz = os.path.join(work, "w1.tsv"), os.path.join(work, "w1.tsv.gz")
    tsv_size = os.path.getsize(tsv)
    best = gbench(reader, ["-threads=1,2", w1, tsv, tsv_gz])
    reads = {}
    for path, bytes_, target in ((w1, size, 1000), (tsv, tsv_size, 800), (tsv_gz, tsv_size, None)):
        for threads in (1, 2):
            real, cpu, _ = best["BM_read_matrix/%s/threads:%d" % (path, threads)]
            reads[(path, threads)] = real
            mark = ""
            if target is not None and threads == 2:
                mark = "  [%s]" % verdict(bytes_ / real / 1e6 >= target)
            print("%-12s %d thread(s): %6.0f MB/s of text (wall, %.1f ms; main thread %.1f ms)%s"
                  % (os.path.basename(path), threads, bytes_ / real / 1e6, real * 1e3, cpu * 1e3,
                     mark))
    return {threads: reads[(w1, threads)] for threads in (1, 2)}


def ksvd_figures(bench, work, w1, w1_init):
    """Figure 2: the k-svd phase against the numpy script's, wall clock on 1 and 2 threads."""
    header("(2) k-svd phase on W1 (initial directions through the objective), target >= 10x numpy")
    phases, np_passes, _ = numpy_phases(w1, w1_init, 8, work)
    np_wall, np_cpu = phases["ksvd"]
    print("numpy: %8.1f ms (processor %8.1f ms), %d passes" % (np_wall * 1e3, np_cpu * 1e3,
                                                              np_passes))
    walls = {}
    for threads in (1, 2):
        best = run_ksvd_benchmark(bench, [w1, w1_init, "8"], threads)
        real, cpu, b = next(iter(best.values()))
        walls[threads] = real
        passes = int(b["passes"])
        print("ours, %d thread(s): %8.1f ms wall (main thread %8.1f ms), %d passes, %.2fx numpy%s%s"
              % (threads, real * 1e3, cpu * 1e3, passes, np_wall / real,
                 "  [%s]" % verdict(np_wall / real >= 10) if threads == 2 else "",
                 "" if passes == np_passes else "  (pass counts differ!)"))
    return walls


def run_ksvd_benchmark(bench, args, threads):
    return gbench(os.path.join(bench, "cluster_ksvd_phase_benchmark"), args,
                  env=threads_env(threads), by_wall=True)


def whole_run_figures(clusterer, work, w1, w1_init, rows, cols):
    """Figure 3: the whole W1 run against the numpy script (wall clock, default threads)."""
    header("(3) Whole W1 run, reading and writing included, target >= 8x numpy")
    wall, e2e_cpu, rss_kib, _ = best_timed([clusterer, "-i", w1, "-init_clusters", w1_init,
                                            "-num_clusters", "8", "-o2", "ours_labels.txt",
                                            "-o", "ours_groups.txt"], cwd=work)
    phases, _, np_process_wall = numpy_phases(w1, w1_init, 8, work)
    np_total_wall, np_total_cpu = phases["total"]
    print("ours : %6.3f s wall, %6.3f s processor (whole process, every usable core)"
          % (wall, e2e_cpu))
    print("numpy: %6.3f s wall inside the script (read %.3f, k-svd %.3f, bisection %.3f, write "
          "%.3f); %6.3f s with interpreter start"
          % (np_total_wall, phases["read"][0], phases["ksvd"][0], phases["bisection"][0],
             phases["write"][0], np_process_wall))
    print("speed-up: %.2fx wall (%.2fx processor; %.2fx against the whole numpy process)  [%s]"
          % (np_total_wall / wall, np_total_cpu / e2e_cpu, np_process_wall / wall,
             verdict(np_total_wall / wall >= 8)))
    print("labels agree with numpy's: k-svd %s, bisection %s"
          % ("yes" if labels_agree(os.path.join(work, "ours_labels.txt"),
                                   os.path.join(work, "numpy_labels.txt")) else "no",
             "yes" if labels_agree(os.path.join(work, "ours_groups.txt"),
                                   os.path.join(work, "numpy_groups.txt")) else "no"))
    bound = 2 * rows * cols * 8 / MIB + 50
    print("peak memory: %.1f MiB, bound 2 x matrix + 50 MiB = %.1f MiB  [%s]"
          % (rss_kib / 1024.0, bound, verdict(rss_kib / 1024.0 <= bound)))


def restarts_figures(clusterer, work, w1, reads):
    """Figure 4: -restarts 10, clustering phase = whole run less the read of the same threads."""
    header("(4) -restarts 10 on W1, clustering phase, target >= 4x scikit-learn KMeans(n_init=10) "
           "on 2 threads")
    walls = {}
    usage = subprocess.run([clusterer, "-h"], capture_output=True, text=True)
    threads_option = "-threads" in usage.stdout + usage.stderr
    if not threads_option:
        print("(this clusterer has no -threads option: both runs use every usable core)")
    for threads in (1, 2):
        wall, _, _, _ = best_timed([clusterer, "-i", w1, "-num_clusters", "8", "-restarts", "10",
                                    "-seed", "20261208", "-o2", "ours_restarts.txt"]
                                   + (["-threads", str(threads)] if threads_option else []),
                                   cwd=work)
        walls[threads] = wall - reads[threads]
        print("ours, %d thread(s): %6.3f s whole run, %6.3f s clustering (less the read)"
              % (threads, wall, walls[threads]))
    fits = []
    for _ in range(REPEATS):
        out = run([sys.executable, os.path.join(HERE, "kmeans_sklearn.py"), w1, "8", "10", "2"],
                  cwd=work, env=numpy_env()).stdout
        fits.append(float(out.split()[1]))
    print("scikit-learn KMeans(n_init=10), 2 threads, fit only: %6.3f s" % min(fits))
    print("speed-up: %.2fx  [%s]" % (min(fits) / walls[2], verdict(min(fits) / walls[2] >= 4)))
    return walls


def top_figure(clusterer, work):
    """Figure 5: a 60,000 x 500 table read with -top 6999 (streamed: memory for the kept rows)."""
    rows, cols, top = 60000, 500, 6999
    header("(5) %d x %d table with -top %d: time and peak memory, bound 2 x kept matrix + the "
           "table's values + 50 MiB" % (rows, cols, top))
    table = os.path.join(work, "top_%dx%d.tsv" % (rows, cols))
    wall, cpu, rss_kib, _ = best_timed([clusterer, "-i", table, "-top", str(top), "-num_clusters",
                                        "8", "-seed", "1", "-o2", "ours_top.txt"], cwd=work)
    bound = (2 * top * cols + rows * cols) * 8 / MIB + 50
    print("ours: %.3f s wall, %.3f s processor, %.1f MiB peak; bound %.1f MiB  [%s]"
          % (wall, cpu, rss_kib / 1024.0, bound, verdict(rss_kib / 1024.0 <= bound)))


def scaling_figures(bench, work, w1, rows, cols, reads, ksvd, restarts):
    """Figure 6: W3's k-svd phase against rows x cols and k; 2 threads against 1."""
    header("(6) Scaling: W3's k-svd phase (linear cost: last column flat), and 2 threads over 1")
    args = []
    for r, c in ((1000, 100), (3000, 300), (6999, 1000)):
        matrix = w1 if (r, c) == (rows, cols) else os.path.join(work, "w3_%dx%d.txt" % (r, c))
        for k in (4, 8, 16):
            args += [matrix, os.path.join(work, "w3_%d_k%d_init.txt" % (r, k)), str(k)]
    best = run_ksvd_benchmark(bench, args, 2)
    print("%6s %6s %4s %6s %10s %10s %14s %16s %14s" % (
        "rows", "cols", "k", "passes", "phase ms", "ms/pass", "ns/(r*c)/pass",
        "ns/(r*c*k)/pass", "ns/model op"))
    for name in sorted(best, key=lambda n: (best[n][2]["rows"], best[n][2]["k"])):
        real, _, b = best[name]
        r, c, k, p = int(b["rows"]), int(b["cols"]), int(b["k"]), int(b["passes"])
        # Multiply-adds: the power iteration (2 x t1 products per member row) for the initial
        # means and after every pass, and k products plus the objective per row in every pass.
        model = r * c * (2 * STEPS * (p + 1) + (k + 1) * p)
        print("%6d %6d %4d %6d %10.1f %10.2f %14.3f %16.4f %14.3f" % (
            r, c, k, p, real * 1e3, real * 1e3 / p, real * 1e9 / p / (r * c),
            real * 1e9 / p / (r * c * k), real * 1e9 / model))
    for what, walls in (("read W1", reads), ("k-svd phase W1", ksvd), ("restarts 10 W1", restarts)):
        print("%-16s 1 thread %8.1f ms, 2 threads %8.1f ms: speed-up %.2fx"
              % (what, walls[1] * 1e3, walls[2] * 1e3, walls[1] / walls[2]))


def golden_figure(build):
    header("(7) Golden outputs bit-identical (ctest golden.* and GoldenBits.*)")
    done = subprocess.run(["ctest", "--test-dir", build, "-R", r"^golden\.|^GoldenBits\."],
                          capture_output=True, text=True)
    summary = [l for l in done.stdout.splitlines() if "tests passed" in l or "tests failed" in l]
    print((summary[-1] if summary else done.stdout[-500:]).strip()
          + "  [%s]" % verdict(done.returncode == 0 and bool(summary)))


def other_figures(build, bench, work):
    header("onepdist and twopdist on 4000 taxa against a bare loop, target ratio <= 2")
    best = gbench(os.path.join(bench, "treelib_distance_benchmark"),
                  ["--benchmark_filter=/4000$"], repetitions=1)
    for unit in ("onepdist", "twopdist"):
        ours, bare = best["BM_%s/4000" % unit][1], best["BM_%s_bare_loop/4000" % unit][1]
        print("%s: %.1f ms, bare loop %.1f ms, ratio %.2f  [%s]"
              % (unit, ours * 1e3, bare * 1e3, ours / bare, verdict(ours / bare <= 2)))
    distcorr_figures(build, work)


def random_alignment(path, sequences, sites, seed):
    """FASTA of random sequences over ACGT with one N in fifty sites, made once."""
    if os.path.exists(path):
        return
    rng = random.Random(seed)
    with open(path, "w") as out:
        for i in range(sequences):
            out.write(">s%d\n%s\n" % (i, "".join(
                "N" if rng.random() < 0.02 else rng.choice("ACGT") for _ in range(sites))))


def distcorr_figures(build, work):
    header("distcorr on 1,000 sequences x 10,000 sites, target a few seconds (<= 5 s wall)")
    alignment = os.path.join(work, "distcorr_1000x10000.fasta")
    random_alignment(alignment, 1000, 10000, 20261208)
    for model in (["-model", "jc"], ["-model", "k2p", "-alpha", "0.5"]):
        wall, cpu, rss_kib, _ = best_timed([os.path.join(build, "distcorr", "distcorr"), "-i",
                                            alignment, "-deletion", "pairwise", "-fix", "x",
                                            "-o", "distcorr_matrix.phy"] + model, cwd=work)
        print("%s: %.2f s wall, %.2f s processor, %.0f MiB  [%s]"
              % (" ".join(model), wall, cpu, rss_kib / 1024.0, verdict(wall <= 5)))
    best = gbench(os.path.join(build, "bench", "distcorr_benchmark"),
                  ["--benchmark_filter=BM_pair_distances"], repetitions=1)
    for name in sorted(best):
        real, cpu, b = best[name]
        print("%-40s %8.1f ms wall, %8.1f ms processor (main thread)" % (name, real * 1e3,
                                                                        cpu * 1e3))


if __name__ == "__main__":
    main()
