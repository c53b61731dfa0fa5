#!/usr/bin/env python3
"""Recomputes the consensus table and labels from a counts file, independently of the program.

Usage: consensus_table_check.py CLUSTERER INPUT SCRATCH_DIR
Runs CLUSTERER on INPUT for a consensus table, labels and counts file, then rebuilds the table
and the labels from the counts alone (exact fractions for the bins and PAC, a whole-matrix
average linkage) and checks that every number agrees to 1e-12 and every class exactly.
"""
import math
import os
import struct
import subprocess
import sys
from fractions import Fraction

TOLERANCE = 1e-12


def read_counts(path):
    with open(path, "rb") as f:
        header = f.readline().decode().split()
        assert header[:2] == ["consensus-counts", "1"], header
        fields = dict(word.split("=", 1) for word in header[2:])
        n = int(fields["rows"])
        names = [f.readline().decode().rstrip("\n") for _ in range(n)]
        k1, k2 = (int(x) for x in fields["k"].split(".."))
        pairs = n * (n - 1) // 2
        arrays = []
        for _ in range(k1, k2 + 1):
            together = struct.unpack("<%dI" % pairs, f.read(4 * pairs))
            drawn = struct.unpack("<%dI" % pairs, f.read(4 * pairs))
            arrays.append((together, drawn))
        assert f.read() == b""
    return fields, names, list(range(k1, k2 + 1)), arrays


def average_linkage(dist, k):
    """Greedy merges of the least (distance, lower group, other group); groups by lowest row."""
    n = len(dist)
    d = [row[:] for row in dist]
    size = [1] * n
    owner = list(range(n))
    active = set(range(n))
    while len(active) > k:
        best = None
        for a in sorted(active):
            for b in sorted(active):
                if b > a and (best is None or d[a][b] < best[0]):
                    best = (d[a][b], a, b)
        _, a, b = best
        for x in active:
            if x not in (a, b):
                d[a][x] = d[x][a] = (size[a] * d[a][x] + size[b] * d[b][x]) / (size[a] + size[b])
        active.remove(b)
        size[a] += size[b]
        owner = [a if o == b else o for o in owner]
    number = {}
    return [number.setdefault(o, len(number) + 1) for o in owner]


def consensus_of_k(n, together, drawn, k, low, high):
    m = [[1.0] * n for _ in range(n)]
    exact = []
    p = 0
    for i in range(n):
        for j in range(i + 1, n):
            value = together[p] / drawn[p] if drawn[p] else 0.0
            m[i][j] = m[j][i] = value
            exact.append(Fraction(together[p], drawn[p]) if drawn[p] else Fraction(0))
            p += 1
    bins = [0] * 100
    for x in exact:
        b = max(1, math.ceil(x * 100))
        bins[b - 1] += 1
    area, below = 0.0, 0
    for count in bins:
        below += count
        area += below / len(exact) / 100
    pac = sum(1 for x in exact if Fraction(low) < x <= Fraction(high)) / len(exact)
    classes = average_linkage([[1.0 - m[i][j] for j in range(n)] for i in range(n)], k)
    cluster = []
    for c in range(1, k + 1):
        members = [i for i in range(n) if classes[i] == c]
        values = [m[i][j] for a, i in enumerate(members) for j in members[a + 1:]]
        cluster.append(sum(values) / len(values) if values else float("nan"))
    item = []
    for i in range(n):
        others = [j for j in range(n) if classes[j] == classes[i] and j != i]
        item.append(sum(m[i][j] for j in others) / len(others) if others else float("nan"))
    held = [c for c in cluster if not math.isnan(c)]
    mean = sum(held) / len(held) if held else float("nan")
    least = min(held) if held else float("nan")
    return dict(pac=pac, area=area, mean=mean, least=least, classes=classes, item=item)


def same(expected, text):
    if math.isnan(expected):
        return text == "NA"
    return abs(float(text) - expected) <= TOLERANCE


def main():
    clusterer, data, scratch = sys.argv[1:4]
    os.makedirs(scratch, exist_ok=True)
    table, labels, counts = (os.path.join(scratch, name) for name in ("table.tsv", "labels.tsv", "counts.bin"))
    subprocess.run([clusterer, "-i", data, "-center", "-consensus", "25", "-k_range", "2..5",
                    "-seed", "3", "-pac", "0.05,0.95", "-consensus_table", table,
                    "-consensus_labels", labels, "-consensus_counts", counts], check=True)
    fields, names, ks, arrays = read_counts(counts)
    n = len(names)
    results = [consensus_of_k(n, t, d, k, 0.05, 0.95) for k, (t, d) in zip(ks, arrays)]
    lines = [line.split("\t") for line in open(table).read().splitlines()]
    assert lines[0] == ["k", "runs", "pac", "area", "delta", "mean_consensus", "least_consensus", "best"], lines[0]
    best = min(range(len(results)), key=lambda i: (results[i]["pac"], i))
    faults = []
    for i, (k, r, line) in enumerate(zip(ks, results, lines[1:])):
        delta = r["area"] if i == 0 else (r["area"] - results[i - 1]["area"]) / results[i - 1]["area"]
        expected = [k, int(fields["total"]), r["pac"], r["area"], delta, r["mean"], r["least"], int(i == best)]
        for column, value, text in zip(lines[0], expected, line):
            if not same(value, text):
                faults.append("k=%d %s: expected %r, table %s" % (k, column, value, text))
    rows = [line.split("\t") for line in open(labels).read().splitlines()[1:]]
    for i, row in enumerate(rows):
        for index, r in enumerate(results):
            if int(row[2 + 2 * index]) != r["classes"][i] or not same(r["item"][i], row[3 + 2 * index]):
                faults.append("row %d k=%d: class %s consensus %s" % (i, ks[index], row[2 + 2 * index], row[3 + 2 * index]))
    if len(lines) != len(ks) + 1 or len(rows) != n:
        faults.append("%d table lines, %d label lines" % (len(lines), len(rows)))
    for fault in faults:
        print(fault)
    print("%d k, %d rows: %s" % (len(ks), n, "agree" if not faults else "DISAGREE"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
