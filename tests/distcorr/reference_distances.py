#!/usr/bin/env python3
"""Independent reference for the distcorr tests: plain per-site loops over a FASTA alignment.

Writes one square matrix per model and deletion mode (repr of each double, names first) into the
data directory: expected_<model>_<deletion>.txt. Usage: reference_distances.py FASTA OUTDIR ALPHA
"""
import math
import sys

NUCLEOTIDES = "ACGT"
PURINES = "AG"


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


def kept_sites(sequences, deletion):
    """Sites every sequence resolves (global), or all of them (pairwise: decided per pair)."""
    length = len(sequences[0])
    if deletion == "pairwise":
        return list(range(length))
    return [k for k in range(length) if all(s[k] in NUCLEOTIDES for s in sequences)]


def proportions(a, b, sites):
    """(p, P, Q): differing, transition and transversion sites over sites both resolve."""
    compared = differing = transitions = transversions = 0
    for k in sites:
        x, y = a[k], b[k]
        if x not in NUCLEOTIDES or y not in NUCLEOTIDES:
            continue
        compared += 1
        if x == y:
            continue
        differing += 1
        if (x in PURINES) == (y in PURINES):
            transitions += 1
        else:
            transversions += 1
    return differing / compared, transitions / compared, transversions / compared


def jukes_cantor(p, states=4):
    a = (states - 1) / states
    b = states / (states - 1)
    return -a * math.log(1 - b * p)


def kimura_gamma(P, Q, alpha):
    w1 = 1 - 2 * P - Q
    w2 = 1 - 2 * Q
    e = -1.0 / alpha
    return (alpha / 2) * (w1 ** e + 0.5 * w2 ** e - 1.5)


def matrix(names, sequences, deletion, model, alpha):
    sites = kept_sites(sequences, deletion)
    rows = []
    for i, a in enumerate(sequences):
        row = []
        for j, b in enumerate(sequences):
            if i == j:
                row.append(0.0)
                continue
            p, P, Q = proportions(a, b, sites)
            row.append(jukes_cantor(p) if model == "jc" else kimura_gamma(P, Q, alpha))
        rows.append(row)
    return rows


def main():
    fasta, outdir, alpha = sys.argv[1], sys.argv[2], float(sys.argv[3])
    names, sequences = read_fasta(fasta)
    for model in ("jc", "k2p"):
        for deletion in ("global", "pairwise"):
            rows = matrix(names, sequences, deletion, model, alpha)
            with open(f"{outdir}/expected_{model}_{deletion}.txt", "w") as out:
                for name, row in zip(names, rows):
                    out.write(name + " " + " ".join(repr(v) for v in row) + "\n")


if __name__ == "__main__":
    main()
