# Reference values for the trees tests: tree sets made by ape and phangorn, and what ape's
# prop.part and consensus and phangorn's RF.dist say about them. Run in this folder:
#   Rscript make_reference.R
library(ape)
library(phangorn)
set.seed(20261208)

n <- 14
labels <- paste0("t", 1:n)
first <- "t1"

# Bootstrap-like set: NNI neighbours of one tree, some rooted, some with polytomies, tip order
# shuffled, fresh lengths on every branch.
base <- rtree(n, tip.label = labels)
boot <- rNNI(base, moves = 2, n = 40)
boot <- lapply(seq_along(boot), function(i) {
  t <- boot[[i]]
  t$edge.length <- runif(nrow(t$edge), 0.001, 0.5)
  if (i %% 3 == 0) t <- di2multi(t, tol = 0.08)
  if (i %% 2 == 0) t <- unroot(t) else t <- root(t, sample(labels, 1), resolve.root = TRUE)
  t <- collapse.singles(rotateConstr(t, sample(labels)))
  t
})
class(boot) <- "multiPhylo"
write.tree(boot, "boot.nwk", digits = 12)
boot <- read.tree("boot.nwk")  # every value below from the text the tests read
write.nexus(boot, file = "boot.nex", translate = TRUE)

# A side of a split as the sorted names of the taxa away from the first taxon.
side <- function(tips) paste(sort(tips), collapse = ",")

# Rooted at the first taxon, a tree's clades are exactly the sides without it.
at_first <- function(t) root(unroot(t), first, resolve.root = TRUE)
rooted_boot <- lapply(boot, at_first)
class(rooted_boot) <- "multiPhylo"
pp <- prop.part(rooted_boot)
tips <- attr(pp, "labels")
sizes <- sapply(pp, length)
keep <- sizes >= 2 & sizes <= n - 2
counts <- data.frame(side = sapply(pp[keep], function(p) side(tips[p])),
                     count = attr(pp, "number")[keep])
write.table(counts, "boot_splits.tsv", sep = "\t", quote = FALSE, row.names = FALSE)

# Each tree's branch length under every side (the edge above the side's node).
branch_lengths <- function(t) {
  r <- at_first(t)
  out <- list()
  for (node in (Ntip(r) + 2):(Ntip(r) + r$Nnode)) {
    members <- r$tip.label[unlist(Descendants(r, node, "tips"))]
    if (length(members) < 2 || length(members) > n - 2) next
    out[[side(members)]] <- r$edge.length[r$edge[, 2] == node]
  }
  out
}
all_lengths <- lapply(boot, branch_lengths)

cons <- consensus(boot, p = 0.5)
rc <- at_first(cons)
cons_sides <- c()
for (node in (Ntip(rc) + 2):(Ntip(rc) + rc$Nnode)) {
  members <- rc$tip.label[unlist(Descendants(rc, node, "tips"))]
  if (length(members) >= 2 && length(members) <= n - 2) cons_sides <- c(cons_sides, side(members))
}
support <- counts$count[match(cons_sides, counts$side)] / length(boot)
mean_length <- sapply(cons_sides, function(s) {
  mean(unlist(lapply(all_lengths, function(l) l[[s]])))
})
write.table(data.frame(side = cons_sides, support = sprintf("%.17g", support),
                       mean = sprintf("%.17g", mean_length)),
            "boot_consensus.tsv", sep = "\t", quote = FALSE, row.names = FALSE)

write_matrix <- function(m, file) {
  write.table(format(as.matrix(m), digits = 17), file, quote = FALSE, row.names = FALSE,
              col.names = FALSE)
}
write_matrix(RF.dist(boot), "boot_rf.txt")
write_matrix(RF.dist(boot, normalize = TRUE), "boot_rf_normalized.txt")

# Rooted trees with polytomies, for clades; random topologies so distances vary widely. Every
# tree keeps a root of degree two: given one unrooted tree, RF.dist unroots them all.
rooted <- lapply(1:12, function(i) {
  repeat {
    t <- rtree(n, rooted = TRUE, tip.label = sample(labels))
    if (i %% 2 == 0) t <- di2multi(t, tol = 0.15)
    if (is.rooted(t)) return(t)
  }
})
class(rooted) <- "multiPhylo"
write.tree(rooted, "rooted.nwk", digits = 12)
rooted <- read.tree("rooted.nwk")
write_matrix(RF.dist(rooted, rooted = TRUE), "rooted_rf.txt")
write_matrix(RF.dist(rooted, rooted = TRUE, normalize = TRUE), "rooted_rf_normalized.txt")
write_matrix(RF.dist(rooted), "rooted_rf_unrooted.txt")
