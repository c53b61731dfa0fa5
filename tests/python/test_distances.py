"""distances: distcorr's distance matrix, bit for bit."""

import numpy as np
import pytest

import clustering_toolkit as ct


def parse_phylip(text):
    lines = text.splitlines()
    count = int(lines[0])
    names = [line[:10].strip() for line in lines[1:count + 1]]
    values = np.array([[float(word) for word in line[10:].split()] for line in lines[1:count + 1]])
    return values, names


# keyword arguments and the matching distcorr options
CASES = [
    ({}, []),
    ({"deletion": "pairwise"}, ["-deletion", "pairwise"]),
    ({"model": "k2p", "alpha": 0.5}, ["-model", "k2p", "-alpha", "0.5"]),
    ({"model": "k2p", "alpha": 2.0, "deletion": "pairwise"},
     ["-model", "k2p", "-alpha", "2", "-deletion", "pairwise"]),
    ({"fix": "x", "x": 1.5}, ["-fix", "x", "-x", "1.5"]),
    ({"states": 20}, ["-states", "20"]),
    ({"model": "k2p"}, ["-model", "k2p"]),
    ({"model": "jc", "alpha": 1.0}, ["-model", "jc", "-alpha", "1"]),
    ({"model": "tn93", "alpha": 0.5, "deletion": "pairwise"},
     ["-model", "tn93", "-alpha", "0.5", "-deletion", "pairwise"]),
    ({"model": "logdet"}, ["-model", "logdet"]),
]


@pytest.mark.parametrize("kwargs,options", CASES)
@pytest.mark.parametrize("file", ["woodmouse.fasta", "woodmouse_sequential.phy",
                                  "woodmouse.fasta.gz"])
def test_distances_are_distcorrs(alignments, run_program, kwargs, options, file):
    path = alignments / file
    expected, expected_names = parse_phylip(run_program("distcorr", "-i", path, *options))
    square, names = ct.distances(path, **kwargs)
    assert square.dtype == np.float64 and square.shape == expected.shape
    np.testing.assert_array_equal(square, expected)
    assert names == expected_names
