# ape's side of the comparison: read.tree, prop.part and consensus(p = 0.5) of one file, timed
# inside R (library loading and start-up left out); prints the seconds of each step.
suppressMessages(library(ape))
file <- commandArgs(trailingOnly = TRUE)[1]
t0 <- proc.time()[["elapsed"]]
trees <- read.tree(file)
t1 <- proc.time()[["elapsed"]]
parts <- prop.part(trees)
t2 <- proc.time()[["elapsed"]]
cons <- consensus(trees, p = 0.5)
t3 <- proc.time()[["elapsed"]]
cat(sprintf("read %.3f splits %.3f consensus %.3f total %.3f\n", t1 - t0, t2 - t1, t3 - t2,
            t3 - t0))
