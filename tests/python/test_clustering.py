"""KSvdClustering against the clusterer on the shipped example, and its own placement rules."""

import numpy as np
import pytest

import clustering_toolkit as ct


def read_labels(path):
    numbers = [int(word) for word in path.read_text().split()]
    assert numbers[0] == len(numbers) - 1
    return np.array(numbers[1:])


# k, seed, restarts, normalize, center, t1, t2
PROGRAM_RUNS = [
    (5, 7, 1, False, False, 20, 1e-3),
    (3, 11, 4, True, False, 20, 1e-3),
    (8, 2**63 + 12345, 2, False, True, 5, 1e-2),
    (1, 0, 1, False, True, 20, 1e-3),
]


@pytest.mark.parametrize("k,seed,restarts,normalize,center,t1,t2", PROGRAM_RUNS)
def test_fit_gives_the_programs_labels_groups_objective_and_scores(
        tmp_path, example, run_program, k, seed, restarts, normalize, center, t1, t2):
    groups_file, labels_file = tmp_path / "groups", tmp_path / "labels"
    args = ["-i", example, "-num_clusters", k, "-seed", seed, "-restarts", restarts, "-t1", t1,
            "-t2", repr(t2), "-scores", "-o", groups_file, "-o2", labels_file]
    args += ["-normalize"] * normalize + ["-center"] * center
    report = dict(line.split(" = ") for line in run_program("clusterer", *args).splitlines()
                  if " = " in line and not line.startswith("Objective"))

    values = ct.read_table(example, center=center).values
    model = ct.KSvdClustering(n_clusters=k, n_init=restarts, random_state=seed,
                              normalize=normalize, t1=t1, t2=t2).fit(values)
    np.testing.assert_array_equal(model.labels_, read_labels(labels_file))
    np.testing.assert_array_equal(model.groups_, read_labels(groups_file))
    assert model.objective_ == float(report["objective"])  # written in full: bit for bit
    for name in ("S_ave", "S_max", "H_ave", "H_min"):
        if report[name].endswith("nan"):  # one cluster: no second one to compare with
            assert np.isnan(model.scores_[name]), name
        else:
            assert f"{model.scores_[name]:g}" == report[name], name  # written to six digits
    assert model.seed_ == seed
    assert len(model.objectives_) == restarts and model.objective_ == max(model.objectives_)
    assert model.labels_.dtype == np.int64 and model.groups_.dtype == np.int64
    assert model.cluster_centers_.shape == (k, values.shape[1])


def test_thread_counts_float32_and_drawn_seeds_give_the_same_bits(example):
    values = ct.read_table(example, top=300, center=True).values
    reference = ct.KSvdClustering(n_clusters=4, n_init=3, random_state=5, n_threads=1).fit(values)
    for threads in (2, 0):
        model = ct.KSvdClustering(n_clusters=4, n_init=3, random_state=5, n_threads=threads)
        model.fit(values)
        np.testing.assert_array_equal(model.labels_, reference.labels_)
        np.testing.assert_array_equal(model.cluster_centers_, reference.cluster_centers_)
        assert model.objective_ == reference.objective_
    as_float32 = values.astype(np.float32)
    direct = ct.KSvdClustering(n_clusters=4, random_state=5).fit(as_float32)
    converted = ct.KSvdClustering(n_clusters=4, random_state=5).fit(as_float32.astype(np.float64))
    assert direct.objective_ == converted.objective_
    np.testing.assert_array_equal(direct.labels_, converted.labels_)

    drawn = ct.KSvdClustering(n_clusters=4).fit(values)
    again = ct.KSvdClustering(n_clusters=4, random_state=drawn.seed_).fit(values)
    assert again.objective_ == drawn.objective_
    np.testing.assert_array_equal(again.labels_, drawn.labels_)
    from_state = ct.KSvdClustering(n_clusters=4, random_state=np.random.RandomState(3))
    assert from_state.fit(values).seed_ == ct.KSvdClustering(
        n_clusters=4, random_state=np.random.RandomState(3)).fit(values).seed_


# Two directions along the axes; rows with their expected cluster and squared products.
PLACEMENTS = [
    ([3.0, 1.0], 0, [9.0, 1.0]),
    ([-3.0, 1.0], 0, [9.0, 1.0]),  # the sign does not matter
    ([1.0, -2.0], 1, [1.0, 4.0]),
    ([2.0, 2.0], 0, [4.0, 4.0]),  # a tie goes to the lower cluster
    ([0.0, 0.0], 0, [0.0, 0.0]),
]


def test_predict_and_transform_follow_the_assignment_rule():
    model = ct.KSvdClustering(n_clusters=2, random_state=0)
    model.fit(np.array([[5.0, 0.1], [4.0, -0.2], [0.1, 3.0], [-0.3, 6.0]]))
    model.cluster_centers_ = np.array([[1.0, 0.0], [0.0, 1.0]])
    rows = np.array([row for row, _, _ in PLACEMENTS])
    np.testing.assert_array_equal(model.predict(rows), [label for _, label, _ in PLACEMENTS])
    np.testing.assert_array_equal(model.transform(rows), [sq for _, _, sq in PLACEMENTS])
    # A cluster that kept no member is never chosen.
    model.labels_ = np.array([1, 1, 1, 1])
    np.testing.assert_array_equal(model.predict(rows), [1] * len(PLACEMENTS))


def test_predict_on_the_fitted_rows_mostly_repeats_the_labels(example):
    values = ct.read_table(example, center=True).values
    model = ct.KSvdClustering(n_clusters=5, random_state=1).fit(values)
    assert np.mean(model.predict(values) == model.labels_) > 0.95
    best = np.argmax(model.transform(values), axis=1)
    np.testing.assert_array_equal(best, model.predict(values))
