#!/usr/bin/env python3
"""Builds the benchmark inputs reproducibly: an expression matrix of rows lying near k random
directions (random signs, Gaussian noise) and a random initial assignment of the rows to k clusters.

usage: workloads.py ROWS COLS K MATRIX_OUT INIT_OUT [SEED]
"""
import sys

import numpy as np


def main():
    rows, cols, k = (int(a) for a in sys.argv[1:4])
    matrix_out, init_out = sys.argv[4:6]
    seed = int(sys.argv[6]) if len(sys.argv) > 6 else 20261207
    rng = np.random.default_rng(seed)

    directions = rng.standard_normal((k, cols))
    directions /= np.linalg.norm(directions, axis=1, keepdims=True)
    truth = rng.integers(0, k, size=rows)
    signs = rng.choice([-1.0, 1.0], size=rows)
    scale = rng.uniform(1.0, 5.0, size=rows)
    data = signs[:, None] * scale[:, None] * directions[truth]
    data += rng.standard_normal((rows, cols)) * (0.5 / np.sqrt(cols))

    with open(matrix_out, "w") as out:
        out.write(f"{rows} {cols}\n")
        for r in range(rows):
            out.write(f"g{r}\t" + "\t".join(f"{v:.6g}" for v in data[r]) + "\n")

    initial = rng.integers(0, k, size=rows)
    with open(init_out, "w") as out:
        out.write(f"{rows}\n")
        out.write("\n".join(str(c) for c in initial) + "\n")


if __name__ == "__main__":
    main()
