"""How far one fit on a 6999 x 1000 float64 array raises the process's peak memory.

Target: at most 2.5x the array's size (one copy plus the clustering's working set). The peak
(VmHWM) is reset just before the fit through /proc/self/clear_refs, so the figure is the fit's
own. usage: PYTHONPATH=<build>/python python3 peak_memory.py [rows cols k]
"""

import sys

from clustering_toolkit import KSvdClustering
from planted import planted_rows


def status_kib(field):
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    raise RuntimeError(f"no {field} in /proc/self/status")


if __name__ == "__main__":
    rows, cols, k = (int(a) for a in (sys.argv[1:] or [6999, 1000, 8]))
    X = planted_rows(rows, cols, k, 7)
    KSvdClustering(n_clusters=k, random_state=1).fit(X[:50])  # load everything the fit touches
    with open("/proc/self/clear_refs", "w") as refs:
        refs.write("5")  # the peak restarts from the current resident size
    before = status_kib("VmRSS")
    KSvdClustering(n_clusters=k, random_state=1).fit(X)
    raised = (status_kib("VmHWM") - before) * 1024
    ratio = raised / X.nbytes
    print(f"array {X.nbytes / 2**20:.1f} MiB; the fit raised the peak by {raised / 2**20:.1f} MiB"
          f" = {ratio:.2f}x the array; target <= 2.5x: {'met' if ratio <= 2.5 else 'NOT met'}")
