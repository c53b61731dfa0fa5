"""Rows near k random unit directions (random signs and scales, Gaussian noise), from a seed."""

import numpy as np


def planted_rows(rows, cols, k, seed):
    rng = np.random.default_rng(seed)
    directions = rng.standard_normal((k, cols))
    directions /= np.linalg.norm(directions, axis=1, keepdims=True)
    which = rng.integers(0, k, rows)
    scales = rng.uniform(1, 5, rows) * rng.choice([-1.0, 1.0], rows)
    X = directions[which] * scales[:, None]
    X += rng.standard_normal((rows, cols)) * (0.5 / np.sqrt(cols))
    return np.ascontiguousarray(X)
