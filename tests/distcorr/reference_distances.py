#!/usr/bin/env python3
"""Independent reference for the distcorr tests: plain per-site loops and the published formulas.

For a FASTA alignment writes a table with the columns model alpha deletion a b distance variance,
one line per model, gamma shape, deletion mode and pair, every double as repr() writes it; a
saturated pair (a logarithm's or a power's base at or below 0) has nan for both values, and NA
stands where no variance is defined. Usage: reference_distances.py FASTA > TABLE
"""
import math
import sys

BASES = "ACGT"
PURINES = "AG"
GAMMA_MODELS = ("jc", "k2p", "f81", "tn93")
MODELS = ("raw", "jc", "k2p", "f81", "t92", "tn93", "f84", "logdet")


class Saturated(Exception):
    pass


def read_fasta(path):
    names, sequences = [], []
    with open(path) as f:
        for line in f:
            line = line.strip()
            if line.startswith(">"):
                names.append(line[1:].split()[0])
                sequences.append([])
            elif line:
                sequences[-1].append(line)
    return names, ["".join(s).upper().replace("U", "T") for s in sequences]


def frequencies(sequences):
    """A, C, G, T over every sequence and site, before any deletion."""
    counts = [sum(s.count(b) for s in sequences) for b in BASES]
    return [c / sum(counts) for c in counts]


def kept_sites(sequences, deletion):
    length = len(sequences[0])
    if deletion == "pairwise":
        return list(range(length))
    return [k for k in range(length) if all(s[k] in BASES for s in sequences)]


def table(a, b, sites):
    """4 x 4 counts of the sites both sequences resolve, rows the first sequence."""
    t = [[0] * 4 for _ in range(4)]
    for k in sites:
        if a[k] in BASES and b[k] in BASES:
            t[BASES.index(a[k])][BASES.index(b[k])] += 1
    return t


def log_of(w):
    if w <= 0:
        raise Saturated()
    return math.log(w)


def power(w, alpha):
    if w <= 0:
        raise Saturated()
    return w ** (-1 / alpha)


def log_term(w, alpha):
    """-log(w), or alpha (w^(-1/alpha) - 1) with gamma rates."""
    return alpha * (power(w, alpha) - 1) if alpha else -log_of(w)


def derivative(w, alpha):
    """d log_term / d(-w): 1/w, or w^(-1/alpha - 1) with gamma rates."""
    if w <= 0:
        raise Saturated()
    return w ** (-1 / alpha - 1) if alpha else 1 / w


def delta_variance(xs, cs, n):
    mean = sum(c * x for c, x in zip(cs, xs))
    return (sum(c * c * x for c, x in zip(cs, xs)) - mean * mean) / n


def determinant_and_inverse(m):
    """Gauss-Jordan elimination with partial pivoting."""
    a = [row[:] + [1.0 if i == j else 0.0 for j in range(4)] for i, row in enumerate(m)]
    det = 1.0
    for c in range(4):
        p = max(range(c, 4), key=lambda r: abs(a[r][c]))
        if a[p][c] == 0:
            raise Saturated()
        if p != c:
            a[p], a[c] = a[c], a[p]
            det = -det
        pivot = a[c][c]
        det *= pivot
        a[c] = [v / pivot for v in a[c]]
        for r in range(4):
            if r != c:
                f = a[r][c]
                a[r] = [v - f * w for v, w in zip(a[r], a[c])]
    return det, [row[4:] for row in a]


def distance(model, alpha, t, f):
    """(distance, variance) of one pair from its table t and the base frequencies f."""
    n = sum(map(sum, t))
    if n == 0:
        raise Saturated()
    p1 = (t[0][2] + t[2][0]) / n  # A <-> G
    p2 = (t[1][3] + t[3][1]) / n  # C <-> T
    differing = n - sum(t[k][k] for k in range(4))
    transitions = t[0][2] + t[2][0] + t[1][3] + t[3][1]
    P, Q, p = transitions / n, (differing - transitions) / n, differing / n
    gA, gC, gG, gT = f
    gR, gY = gA + gG, gC + gT
    if model == "raw":
        return p, p * (1 - p) / n
    if model in ("jc", "f81"):
        E = 0.75 if model == "jc" else 1 - sum(x * x for x in f)
        w = 1 - p / E
        c = derivative(w, alpha)
        return E * log_term(w, alpha), p * (1 - p) * c * c / n
    if model == "k2p":
        w1, w2 = 1 - 2 * P - Q, 1 - 2 * Q
        c1, c2 = derivative(w1, alpha), derivative(w2, alpha)
        d = log_term(w1, alpha) / 2 + log_term(w2, alpha) / 4
        return d, delta_variance([P, Q], [c1, (c1 + c2) / 2], n)
    if model == "t92":
        h = 2 * (gC + gG) * (1 - gC - gG)
        w1, w2 = 1 - P / h - Q, 1 - 2 * Q
        d = -h * log_of(w1) - (1 - h) / 2 * log_of(w2)
        return d, delta_variance([P, Q], [1 / w1, h / w1 + (1 - h) / w2], n)
    if model == "tn93":
        k1, k2 = 2 * gA * gG / gR, 2 * gC * gT / gY
        k3 = 2 * (gR * gY - gA * gG * gY / gR - gC * gT * gR / gY)
        w1 = 1 - p1 / k1 - Q / (2 * gR)
        w2 = 1 - p2 / k2 - Q / (2 * gY)
        w3 = 1 - Q / (2 * gR * gY)
        d = k1 * log_term(w1, alpha) + k2 * log_term(w2, alpha) + k3 * log_term(w3, alpha)
        c1, c2, c3 = (derivative(w, alpha) for w in (w1, w2, w3))
        cq = k1 * c1 / (2 * gR) + k2 * c2 / (2 * gY) + k3 * c3 / (2 * gR * gY)
        return d, delta_variance([p1, p2, Q], [c1, c2, cq], n)
    if model == "f84":
        A = gC * gT / gY + gA * gG / gR
        B = gC * gT + gA * gG
        C = gR * gY
        w1 = 1 - P / (2 * A) - (A - B) * Q / (2 * A * C)
        w2 = 1 - Q / (2 * C)
        d = -2 * A * log_of(w1) + 2 * (A - B - C) * log_of(w2)
        return d, delta_variance([P, Q], [1 / w1, (A - B) / (C * w1) - (A - B - C) / (C * w2)], n)
    # LogDet normalised by equal base frequencies: -log(det F)/4 - log 4.
    F = [[v / n for v in row] for row in t]
    det, inverse = determinant_and_inverse(F)
    d = -log_of(det) / 4 - math.log(4)
    squares = sum(inverse[j][i] ** 2 * F[i][j] for i in range(4) for j in range(4))
    return d, (squares / 16 - 1) / n


def main():
    names, sequences = read_fasta(sys.argv[1])
    f = frequencies(sequences)
    print("model\talpha\tdeletion\ta\tb\tdistance\tvariance")
    for model in MODELS:
        for alpha in (0, 0.5, 2):
            if alpha and model not in GAMMA_MODELS:
                continue
            for deletion in ("global", "pairwise"):
                sites = kept_sites(sequences, deletion)
                for i in range(len(names)):
                    for j in range(i + 1, len(names)):
                        try:
                            d, v = distance(model, alpha, table(sequences[i], sequences[j], sites),
                                            f)
                        except Saturated:
                            d = v = math.nan
                        shown_v = "NA" if alpha and model in ("jc", "f81") else repr(v)
                        print("%s\t%g\t%s\t%s\t%s\t%r\t%s" % (model, alpha, deletion, names[i],
                                                           names[j], d, shown_v))


if __name__ == "__main__":
    main()
