# The benchmark's tree sets, 1,000 trees of 500 tips each, from fixed seeds:
#   Rscript make_trees.R DIR
# DIR/bootstrap.nwk: neighbours of one tree by 10 random NNI moves each (a bootstrap-like set,
# whose majority-rule consensus is well resolved); DIR/random.nwk: independent random trees
# (nearly every split distinct, the largest dictionary).
library(ape)
library(phangorn)
dir <- commandArgs(trailingOnly = TRUE)[1]
set.seed(500)
base <- rtree(500)
boot <- rNNI(base, moves = 10, n = 1000)
boot <- lapply(boot, function(t) {
  t$edge.length <- runif(nrow(t$edge))
  t
})
class(boot) <- "multiPhylo"
write.tree(boot, file.path(dir, "bootstrap.nwk"))
write.tree(rmtree(1000, 500), file.path(dir, "random.nwk"))
