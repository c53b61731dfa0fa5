#!/usr/bin/env python3
"""The tool a user would pick instead: scikit-learn KMeans on the unit rows of a matrix.

usage: kmeans_sklearn.py MATRIX K N_INIT THREADS
MATRIX is in the matrix layout (counts, then a name and the values per row). The rows are scaled
to unit length, as the clusterer's k-svd sees them; only the fit is timed. Prints
"fit WALL_S CPU_S" and "inertia X".
"""
import sys
import time

import numpy as np


def read_matrix(path):
    with open(path) as f:
        rows, cols = (int(v) for v in f.readline().split()[:2])
        data = np.loadtxt(f, usecols=range(1, cols + 1), ndmin=2)
    assert data.shape == (rows, cols)
    return data


def main():
    path, k, n_init, threads = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    from sklearn.cluster import KMeans
    from threadpoolctl import threadpool_limits

    data = read_matrix(path)
    lengths = np.linalg.norm(data, axis=1)
    lengths[lengths == 0] = 1.0
    unit = data / lengths[:, None]
    with threadpool_limits(limits=threads):
        model = KMeans(n_clusters=k, n_init=n_init, random_state=0)
        wall, cpu = time.perf_counter(), time.process_time()
        model.fit(unit)
        wall, cpu = time.perf_counter() - wall, time.process_time() - cpu
    print("fit %.6f %.6f" % (wall, cpu))
    print("inertia %.6f" % model.inertia_)


if __name__ == "__main__":
    main()
