"""DendroPy's side of the comparison: the majority-rule consensus of a Newick file with split
support and mean edge lengths, as sumtrees makes it, through the DendroPy library (Debian's
python3-dendropy ships the library without the sumtrees program).

usage: /usr/bin/python3 bench/trees/dendropy_consensus.py TREES OUTPUT"""
import sys

import dendropy

trees = dendropy.TreeList.get(path=sys.argv[1], schema="newick")
consensus = trees.consensus(min_freq=0.5, summarize_splits=True)
consensus.write(path=sys.argv[2], schema="newick")
