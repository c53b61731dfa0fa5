"""distances: corrected pairwise distances of a DNA alignment, exactly as distcorr writes them."""

import operator
import os

from . import _clustering_toolkit as _native


def distances(path, model="jc", alpha=None, deletion="global", fix="none", x=None, *,
              format="auto", states=None, p0=None, q0=None):
    """Returns (square float64 ndarray, names) for the alignment in path (FASTA or PHYLIP, gzip
    or not). Each keyword takes the values of distcorr's option of the same name; None leaves
    the option out. Saturated pairs keep the marker -1 under fix="none", as distcorr writes them.

    Raises OSError when the file cannot be read and ValueError for a fault of its text or of the
    arguments.
    """
    words = ["-model", _word(model), "-deletion", _word(deletion), "-fix", _word(fix),
             "-format", _word(format)]
    if states is not None:
        words += ["-states", str(operator.index(states))]
    for name, value in (("-alpha", alpha), ("-x", x), ("-p0", p0), ("-q0", q0)):
        if value is not None:
            # repr gives the shortest text that reads back as the same double.
            words += [name, repr(float(value))]
    return _native._distances(os.fspath(path), words)


def _word(value):
    if not isinstance(value, str):
        raise TypeError(f"expected a word, got {value!r}")
    return value
