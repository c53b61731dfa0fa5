"""Every fault raises a Python exception, and the interpreter goes on working after it."""

import numpy as np
import pytest

import clustering_toolkit as ct

GOOD = np.arange(40, dtype=float).reshape(10, 4) % 7 - 3


def with_entry(value):
    X = GOOD.copy()
    X[2, 1] = value
    return X


# estimator parameters, data, the exception and a piece of its message
FIT_FAULTS = [
    ({}, with_entry(np.nan), ValueError, "NaN"),
    ({}, with_entry(np.inf), ValueError, "infinity"),
    ({}, GOOD[:1], ValueError, "1 sample"),
    ({"n_clusters": 11}, GOOD, ValueError, "n_samples=10 should be >= n_clusters=11"),
    ({"n_clusters": 2}, np.ones((7000, 1)), ValueError, "above the 6999 rows"),
    ({"n_clusters": 0}, GOOD, ValueError, "n_clusters"),
    ({"n_init": 0}, GOOD, ValueError, "n_init"),
    ({"t1": -1}, GOOD, ValueError, "t1"),
    ({"t2": 0.0}, GOOD, ValueError, "t2"),
    ({"t2": float("nan")}, GOOD, ValueError, "t2"),
    ({"random_state": -1}, GOOD, ValueError, "random_state"),
    ({"random_state": 2**64}, GOOD, ValueError, "random_state"),
    ({"n_threads": -1}, GOOD, ValueError, "n_threads"),
    ({}, np.zeros((10, 0)), ValueError, "0 feature"),
    ({}, [["a", "b"], ["c", "d"]], ValueError, "could not convert"),
]


@pytest.mark.parametrize("params,X,error,text", FIT_FAULTS)
def test_fit_faults_raise(params, X, error, text):
    with pytest.raises(error, match=text):
        ct.KSvdClustering(**params).fit(X)


def write(path, text):
    path.write_text(text)
    return path


# file text (None: no file), read_table arguments, the exception and a piece of its message
TABLE_FAULTS = [
    (None, {}, FileNotFoundError, "No such file"),
    ("2 2\na 1 2\n", {}, ValueError, "ends at row 1"),
    ("2 2\na 1 2\nb 1\n", {}, ValueError, "ends at row 1, column 1"),
    ("2 2\na 1 2\nb 1 -3\n", {"log2": True}, ValueError, "negative|log2|-3"),
    ("2 2\na 1 2\nb 1 3\n", {"format": "xls"}, ValueError, "format 'xls'"),
    ("2 2\na 1 2\nb 1 3\n", {"missing": "mean"}, ValueError, "missing 'mean'"),
    ("2 2\na 1 2\nb 1 3\n", {"top": 0}, ValueError, "top 0"),
    ("2 2\na 1 2\nb 1 3\n", {"center": True, "zscore": True}, ValueError, "one of them"),
]


@pytest.mark.parametrize("text,kwargs,error,message", TABLE_FAULTS)
def test_read_table_faults_raise_and_the_interpreter_stays_usable(tmp_path, text, kwargs, error,
                                                                  message):
    path = tmp_path / "table.txt"
    if text is not None:
        write(path, text)
    with pytest.raises(error, match=message):
        ct.read_table(path, **kwargs)
    model = ct.KSvdClustering(n_clusters=2, random_state=1).fit(GOOD)
    assert model.labels_.shape == (10,)


def test_a_folder_is_not_a_table(tmp_path):
    with pytest.raises(IsADirectoryError):
        ct.read_table(tmp_path)


# distances arguments, the exception and a piece of its message
DISTANCE_FAULTS = [
    ({"model": "k2p", "alpha": 0}, ValueError, "alpha"),
    ({"model": "k3p"}, ValueError, "k3p"),
    ({"fix": "c"}, ValueError, "-x"),
    ({"deletion": "none"}, ValueError, "none"),
    ({"model": 3}, TypeError, "word"),
]


@pytest.mark.parametrize("kwargs,error,message", DISTANCE_FAULTS)
def test_distances_faults_raise(alignments, kwargs, error, message):
    with pytest.raises(error, match=message):
        ct.distances(alignments / "woodmouse.fasta", **kwargs)


def test_unreadable_alignments_raise(tmp_path):
    with pytest.raises(FileNotFoundError):
        ct.distances(tmp_path / "absent.fasta")
    with pytest.raises(ValueError, match="share no site|character|sequences"):
        ct.distances(write(tmp_path / "bad.fasta", ">a\nAC\n>b\nNN\n"))


def test_unfitted_and_mismatched_predictions_raise():
    from sklearn.exceptions import NotFittedError
    with pytest.raises(NotFittedError):
        ct.KSvdClustering().predict(GOOD)
    model = ct.KSvdClustering(n_clusters=2, random_state=0).fit(GOOD)
    with pytest.raises(ValueError, match="3 features"):
        model.predict(GOOD[:, :3])
