"""k-svd clustering of expression rows, the clusterer's table readers and distcorr's distances."""

from ._distances import distances
from ._ksvd import KSvdClustering
from ._table import Table, read_table

__all__ = ["KSvdClustering", "Table", "distances", "read_table"]
