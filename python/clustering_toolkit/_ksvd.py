"""KSvdClustering: k-svd clustering of rows as a scikit-learn estimator."""

from numbers import Integral, Real

import numpy as np
from sklearn.base import BaseEstimator, ClusterMixin, TransformerMixin
from sklearn.utils._param_validation import Interval
from sklearn.utils.validation import check_is_fitted

from . import _clustering_toolkit as _native

_INT_MAX = 2**31 - 1
_SEED_MAX = 2**64 - 1


class KSvdClustering(ClusterMixin, TransformerMixin, BaseEstimator):
    """Clusters rows by the direction they lie along: k-svd clustering from n_init random
    starts (the largest objective wins), then every cluster split in two by the sign of its
    rows' products with its direction.

    With random_state=S and n_init=R, fit on the values of read_table(p) gives the labels,
    groups and objective of ``clusterer -i p -seed S -restarts R`` with the same k, t1, t2 and
    -normalize, bit for bit; random_state=None draws a seed (kept in seed_). n_threads as
    -threads (0: every usable core); the result does not depend on it.

    Attributes after fit: labels_ (int64, 0 .. k-1), groups_ (int64, cluster i split into 2i
    and 2i+1), cluster_centers_ (k x d unit directions; zeros for a cluster that started
    empty), objective_, objectives_ (per start), scores_ (S_ave, S_max, H_ave, H_min), seed_,
    n_iter_ (k-svd passes of the kept start), n_features_in_.
    """

    _parameter_constraints = {
        "n_clusters": [Interval(Integral, 1, _native.MAX_CLUSTERS, closed="both")],
        "n_init": [Interval(Integral, 1, _INT_MAX, closed="both")],
        "random_state": [Interval(Integral, 0, _SEED_MAX, closed="both"),
                         np.random.RandomState, None],
        "normalize": ["boolean"],
        "t1": [Interval(Integral, 0, _INT_MAX, closed="both")],
        "t2": [Interval(Real, 0, None, closed="neither")],
        "n_threads": [Interval(Integral, 0, _INT_MAX, closed="both")],
    }

    def __init__(self, n_clusters=5, n_init=1, random_state=None, normalize=False, t1=20,
                 t2=1e-3, n_threads=0):
        self.n_clusters = n_clusters
        self.n_init = n_init
        self.random_state = random_state
        self.normalize = normalize
        self.t1 = t1
        self.t2 = t2
        self.n_threads = n_threads

    def fit(self, X, y=None):
        """Clusters the rows of X (n_samples x n_features, finite, at most MAX_ROWS rows)."""
        seed = self.random_state
        # Checked first: the generic check cannot take integers beyond 64 bits.
        if isinstance(seed, Integral) and not 0 <= seed <= _SEED_MAX:
            raise ValueError("The 'random_state' parameter of KSvdClustering must be an int in "
                             f"the range [0, {_SEED_MAX}], an instance of 'RandomState' or None."
                             f" Got {seed!r} instead.")
        self._validate_params()
        if np.isnan(self.t2):
            raise ValueError("The 't2' parameter of KSvdClustering must be above 0. Got nan.")
        X = _native_order(self._validate_data(X, dtype=[np.float64, np.float32], order="C",
                                              ensure_min_samples=2))
        n_samples = X.shape[0]
        if n_samples < self.n_clusters:
            raise ValueError(f"n_samples={n_samples} should be >= n_clusters={self.n_clusters}.")
        if n_samples > _native.MAX_ROWS:
            raise ValueError(f"n_samples={n_samples} is above the {_native.MAX_ROWS} rows the "
                             "clustering can hold.")
        fitted = _native._fit(X, int(self.n_clusters), int(self.n_init), self._seed(),
                              bool(self.normalize), int(self.t1), float(self.t2),
                              int(self.n_threads))
        self.labels_ = fitted["labels"]
        self.groups_ = fitted["groups"]
        self.cluster_centers_ = fitted["centers"]
        self.objective_ = fitted["objective"]
        self.objectives_ = fitted["objectives"]
        self.scores_ = fitted["scores"]
        self.seed_ = fitted["seed"]
        self.n_iter_ = fitted["n_iter"]
        return self

    def predict(self, X):
        """Each row's cluster: the direction of cluster_centers_ of largest squared product among
        the clusters that kept members, the lowest on ties."""
        return self._assign(X)[0]

    def transform(self, X):
        """The squared product of every row with every direction (n_samples x n_clusters)."""
        return self._assign(X)[1]

    def fit_predict(self, X, y=None):
        """labels_ of fit(X)."""
        return self.fit(X).labels_

    def _seed(self):
        if self.random_state is None:
            return _native.clock_seed()
        if isinstance(self.random_state, np.random.RandomState):
            return int(self.random_state.randint(0, 2**63 - 1, dtype=np.int64))
        return int(self.random_state)

    def _assign(self, X):
        check_is_fitted(self)
        X = _native_order(self._validate_data(X, dtype=[np.float64, np.float32], order="C",
                                              reset=False))
        offered = np.unique(self.labels_).tolist()
        centers = _native_order(np.asarray(self.cluster_centers_, dtype=np.float64, order="C"))
        return _native._assign(X, centers, offered, int(self.n_threads))


def _native_order(X):
    """X itself when its bytes are in the machine's order, else a copy that is."""
    return np.ascontiguousarray(X, dtype=X.dtype.newbyteorder("="))
