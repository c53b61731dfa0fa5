"""read_table: the values, names and preparation of the clusterer's readers."""

import gzip

import numpy as np
import pytest

import clustering_toolkit as ct

MATRIX = "3 4\ng1 1.5 -2 0.1 7\ng2 0 0 0 1e-300\ng3 3.25 1 2 2\n"
TSV = "id\tc1\tc2\tc3\na\t1\tNA\t3\nb\t4\t5\t6\nc\tNA\tNA\tNA\nd\t0.5\t2\t-1\n"


def matrix_values(text):
    lines = text.splitlines()[1:]
    return [line.split()[0] for line in lines], np.array(
        [[float(word) for word in line.split()[1:]] for line in lines])


def centred(rows):
    out = []
    for row in rows:
        total = 0.0
        for value in row:  # column order, as the clusterer sums
            total = total + value
        mean = total / len(row)
        out.append([value - mean for value in row])
    return np.array(out)


def test_the_matrix_layout_reads_every_value_exactly(tmp_path):
    plain = tmp_path / "m.txt"
    plain.write_text(MATRIX)
    packed = tmp_path / "m.txt.gz"
    packed.write_bytes(gzip.compress(MATRIX.encode()))
    names, expected = matrix_values(MATRIX)
    for path in (plain, packed, str(plain)):
        table = ct.read_table(path)
        assert table.values.dtype == np.float64 and table.values.flags.c_contiguous
        np.testing.assert_array_equal(table.values, expected)
        assert table.row_names == names and table.column_names == [] and table.dropped == []
    np.testing.assert_array_equal(ct.read_table(plain, center=True).values, centred(expected))


# missing policy, expected row names, expected values, names of the rows dropped
TSV_CASES = [
    ("zero", ["a", "b", "c", "d"], [[1, 0, 3], [4, 5, 6], [0, 0, 0], [0.5, 2, -1]], []),
    ("rowmean", ["a", "b", "d"], [[1, 2, 3], [4, 5, 6], [0.5, 2, -1]], ["c"]),
    ("drop", ["b", "d"], [[4, 5, 6], [0.5, 2, -1]], ["a", "c"]),
]


@pytest.mark.parametrize("missing,names,values,dropped", TSV_CASES)
def test_tables_with_missing_values_follow_the_policy(tmp_path, missing, names, values, dropped):
    path = tmp_path / "t.tsv"
    path.write_text(TSV)
    table = ct.read_table(path, missing=missing)
    assert table.row_names == names
    assert table.dropped == dropped
    assert table.column_names == ["c1", "c2", "c3"]
    np.testing.assert_array_equal(table.values, np.array(values, dtype=float))


def test_top_keeps_the_rows_of_largest_variance(example):
    full = ct.read_table(example)
    top = ct.read_table(example, top=10)
    assert top.values.shape == (10, full.values.shape[1])
    kept = [full.row_names.index(name) for name in top.row_names]
    np.testing.assert_array_equal(top.values, full.values[kept])
    variances = full.values.var(axis=1)
    assert min(variances[kept]) >= np.sort(variances)[-10] * (1 - 1e-12)


def test_log2_and_zscore_prepare_the_rows(tmp_path):
    path = tmp_path / "m.txt"
    path.write_text("2 3\na 0 1 3\nb 7 7 7\n")
    np.testing.assert_array_equal(ct.read_table(path, log2=True).values, [[0, 1, 2], [3, 3, 3]])
    z = ct.read_table(path, zscore=True).values
    row = np.array([0.0, 1.0, 3.0])
    np.testing.assert_allclose(z[0], (row - row.mean()) / row.std(ddof=1), rtol=1e-15)
    np.testing.assert_array_equal(z[1], [0, 0, 0])  # no variance: zeros
