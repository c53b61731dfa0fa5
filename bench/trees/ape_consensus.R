# ape's side of the comparison: read.tree, prop.part and consensus(p = 0.5) of one file, timed
# inside R (library loading and start-up left out); prints the wall seconds of each step and
# the processor seconds (user and system) of the three together.
suppressMessages(library(ape))
file <- commandArgs(trailingOnly = TRUE)[1]
start <- proc.time()
t0 <- start[["elapsed"]]
trees <- read.tree(file)
t1 <- proc.time()[["elapsed"]]
parts <- prop.part(trees)
t2 <- proc.time()[["elapsed"]]
cons <- consensus(trees, p = 0.5)
end <- proc.time()
t3 <- end[["elapsed"]]
cpu <- (end[["user.self"]] - start[["user.self"]]) + (end[["sys.self"]] - start[["sys.self"]])
cat(sprintf("read %.3f splits %.3f consensus %.3f cpu %.3f total %.3f\n", t1 - t0, t2 - t1,
            t3 - t2, cpu, t3 - t0))
