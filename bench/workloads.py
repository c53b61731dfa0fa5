#!/usr/bin/env python3
"""Builds the benchmark inputs reproducibly from a fixed seed.

usage: workloads.py ROWS COLS K MATRIX_OUT INIT_OUT [SEED]
           an expression matrix of rows lying near k random unit directions (random signs and
           scales, Gaussian noise), and a random initial assignment of its rows to k clusters
       workloads.py --init ROWS K INIT_OUT [SEED]
           only an initial assignment, for a matrix that exists already (the shipped example)

The initial assignment has the clusterer's label file layout (the row count, then one cluster
index per line), so it serves as its -init_clusters file and as the numpy script's input.
"""
import sys

import numpy as np

DEFAULT_SEED = 20261207


def write_assignment(path, rng, rows, k):
    initial = rng.integers(0, k, size=rows)
    with open(path, "w") as out:
        out.write(f"{rows}\n")
        out.write("\n".join(str(c) for c in initial) + "\n")


def write_matrix(path, rng, rows, cols, k):
    directions = rng.standard_normal((k, cols))
    directions /= np.linalg.norm(directions, axis=1, keepdims=True)
    truth = rng.integers(0, k, size=rows)
    signs = rng.choice([-1.0, 1.0], size=rows)
    scale = rng.uniform(1.0, 5.0, size=rows)
    data = signs[:, None] * scale[:, None] * directions[truth]
    data += rng.standard_normal((rows, cols)) * (0.5 / np.sqrt(cols))
    with open(path, "w") as out:
        out.write(f"{rows} {cols}\n")
        for r in range(rows):
            out.write(f"g{r}\t" + "\t".join(f"{v:.6g}" for v in data[r]) + "\n")


def main():
    args = sys.argv[1:]
    if args and args[0] == "--init":
        rows, k = int(args[1]), int(args[2])
        seed = int(args[4]) if len(args) > 4 else DEFAULT_SEED
        write_assignment(args[3], np.random.default_rng(seed), rows, k)
        return
    if len(args) < 5:
        sys.exit(__doc__)
    rows, cols, k = (int(a) for a in args[:3])
    seed = int(args[5]) if len(args) > 5 else DEFAULT_SEED
    rng = np.random.default_rng(seed)
    write_matrix(args[3], rng, rows, cols, k)
    write_assignment(args[4], rng, rows, k)


if __name__ == "__main__":
    main()
