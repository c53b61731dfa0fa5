"""scikit-learn's own checks of an estimator, on KSvdClustering."""

from sklearn.utils.estimator_checks import check_estimator

import clustering_toolkit as ct


def test_scikit_learn_checks_pass():
    check_estimator(ct.KSvdClustering())


def test_declared_failures_are_few_and_explained():
    declared = ct.KSvdClustering()._get_tags()["_xfail_checks"] or {}
    assert len(declared) <= 3
    assert all(reason.strip() for reason in declared.values())
