#!/usr/bin/env python3
"""Writes the simulated test alignment: 12 related sequences of 400 sites with unequal base
frequencies, gaps and ambiguity codes, and two diverged sequences that saturate some models.
Usage: simulate_alignment.py > data/simulated.fasta (seed fixed)."""
import random

rng = random.Random(20261208)
root = rng.choices("ACGT", weights=[0.35, 0.15, 0.2, 0.3], k=400)
sequences = []
for i in range(12):
    rate = 0.05 + 0.04 * i if i < 10 else 0.9
    s = []
    for c in root:
        if rng.random() < rate:
            # Transitions twice as likely as either transversion.
            c = rng.choice({"A": "GGCT", "G": "AACT", "C": "TTAG", "T": "CCAG"}[c])
        if rng.random() < 0.04:
            c = rng.choice("NRYKM-?n")
        s.append(c if rng.random() < 0.9 else c.lower())
    sequences.append("".join(s))
for i, s in enumerate(sequences):
    print(">sim%d" % i)
    for k in range(0, len(s), 60):
        print(s[k:k + 60])
