"""read_table: an expression table read and prepared exactly as the clusterer reads it."""

import operator
import os
from dataclasses import dataclass, field

import numpy as np

from . import _clustering_toolkit as _native


@dataclass
class Table:
    """The values (rows x columns, float64) with the names of rows and columns.

    dropped holds the names of the rows left out for missing values.
    """

    values: np.ndarray
    row_names: list
    column_names: list
    dropped: list = field(default_factory=list)


def read_table(path, format="auto", missing="zero", log2=False, top=None, center=False,
               zscore=False):
    """Reads path (gzip or not) as the clusterer's -i, -format, -missing, -log2, -top, -center
    and -zscore do: the same values, bit for bit.

    Raises OSError when the file cannot be read and ValueError for a fault of its text or of the
    arguments.
    """
    top_rows = 0
    if top is not None:
        top_rows = operator.index(top)
        if not 1 <= top_rows <= _native.MAX_ROWS:
            raise ValueError(f"top {top_rows}: between 1 and {_native.MAX_ROWS} rows can be kept")
    values, row_names, column_names, dropped = _native._read_table(
        os.fspath(path), format, missing, bool(log2), top_rows, bool(center), bool(zscore))
    return Table(values, row_names, column_names, dropped)
