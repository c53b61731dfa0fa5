#!/usr/bin/env python3
"""The clustering run written plainly in numpy, as a user would: the speed reference for the
clusterer. Same algorithm (k-svd passes from an initial assignment, then bisection refined by
unit-centroid k-means); sums need not be in the same order.

usage: ksvd_numpy.py MATRIX INIT K [T1] [T2]
Prints one line per phase, "<phase> <wall seconds> <cpu seconds>" (read, ksvd, bisection, write,
total), then the pass count and the objective; writes numpy_labels.txt and numpy_groups.txt (label
file layout) into the working directory.
"""
import sys
import time

import numpy as np


class Clock:
    """Wall and processor time of consecutive phases."""

    def __init__(self):
        self.start = self.last = (time.perf_counter(), time.process_time())
        self.phases = []

    def phase(self, name):
        now = (time.perf_counter(), time.process_time())
        self.phases.append((name, now[0] - self.last[0], now[1] - self.last[1]))
        self.last = now

    def report(self):
        for name, wall, cpu in self.phases:
            print(f"{name} {wall:.4f} {cpu:.4f}")
        print(f"total {self.last[0] - self.start[0]:.4f} {self.last[1] - self.start[1]:.4f}")


def principal_direction(rows, steps):
    # Two-sided power iteration from all-ones vectors, as the clusterer does.
    x = np.ones(rows.shape[0])
    y = np.ones(rows.shape[1])
    for _ in range(steps):
        x_next = rows @ y
        y_next = rows.T @ x
        y = y_next / np.linalg.norm(y_next)
        x = x_next / np.linalg.norm(x_next)
    return y / np.linalg.norm(y)


def objective(data, labels, means, squared):
    products = np.einsum("ij,ij->i", data, means[labels])
    return float(np.sum(products * products if squared else products))


def ksvd(data, labels, k, steps, tolerance):
    means = np.zeros((k, data.shape[1]))
    alive = np.zeros(k, dtype=bool)
    for i in range(k):
        members = labels == i
        if members.any():
            means[i] = principal_direction(data[members], steps)
            alive[i] = True
    obj = objective(data, labels, means, True)
    passes = 0
    while True:
        passes += 1
        prev = obj
        scores = (data @ means.T) ** 2
        scores[:, ~alive] = -1.0
        labels = np.argmax(scores, axis=1)
        for i in range(k):
            members = labels == i
            if members.any():
                means[i] = principal_direction(data[members], steps)
            else:
                alive[i] = False
        obj = objective(data, labels, means, True)
        if obj - prev < tolerance:
            return labels, means, obj, passes


def unit(v):
    return v / np.linalg.norm(v)


def kmeans(rows, halves, tolerance):
    means = np.array([unit(rows[halves == h].mean(axis=0)) if (halves == h).any()
                      else np.full(rows.shape[1], np.nan) for h in (0, 1)])
    alive = ~np.isnan(means[:, 0])
    obj = float(np.sum(np.einsum("ij,ij->i", rows, np.nan_to_num(means[halves]))))
    while True:
        prev = obj
        scores = rows @ np.nan_to_num(means).T
        scores[:, ~alive] = -np.inf
        halves = np.argmax(scores, axis=1)
        for h in (0, 1):
            members = halves == h
            if members.any():
                means[h] = unit(rows[members].sum(axis=0) / members.sum())
            else:
                alive[h] = False
        obj = float(np.sum(np.einsum("ij,ij->i", rows, np.nan_to_num(means[halves]))))
        if obj - prev <= tolerance:
            return halves


def bisect(data, labels, means, k, tolerance):
    groups = np.zeros(data.shape[0], dtype=int)
    for i in range(k):
        members = np.flatnonzero(labels == i)
        if members.size == 0:
            continue
        rows = data[members]
        halves = (rows @ means[i] > 0).astype(int)
        groups[members] = 2 * i + kmeans(rows, halves, tolerance)
    return groups


def main():
    matrix_path, init_path = sys.argv[1:3]
    k = int(sys.argv[3])
    steps = int(sys.argv[4]) if len(sys.argv) > 4 else 20
    tolerance = float(sys.argv[5]) if len(sys.argv) > 5 else 0.001

    clock = Clock()
    with open(matrix_path) as f:
        rows, cols = (int(v) for v in f.readline().split())
    data = np.loadtxt(matrix_path, skiprows=1, usecols=range(1, cols + 1), ndmin=2)
    initial = np.loadtxt(init_path, dtype=int, skiprows=1)
    clock.phase("read")

    labels, means, obj, passes = ksvd(data, initial, k, steps, tolerance)
    clock.phase("ksvd")
    groups = bisect(data, labels, means, k, tolerance)
    clock.phase("bisection")
    np.savetxt("numpy_labels.txt", np.concatenate([[rows], labels]), fmt="%d")
    np.savetxt("numpy_groups.txt", np.concatenate([[rows], groups]), fmt="%d")
    clock.phase("write")

    clock.report()
    print(f"passes {passes}")
    print(f"objective {obj:.10g}")


if __name__ == "__main__":
    main()
