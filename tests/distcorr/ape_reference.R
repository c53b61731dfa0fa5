# Reference distances and variances from ape's dist.dna for the distcorr tests. Usage (in this
# directory): Rscript ape_reference.R, which writes data/ape_<alignment>.tsv with the columns
# model alpha deletion a b distance variance (every double with 17 significant digits; NA for
# the variance of raw, which dist.dna leaves unset).
library(ape)
models <- c(raw = "raw", jc = "JC69", k2p = "K80", f81 = "F81", t92 = "T92", tn93 = "TN93",
            f84 = "F84", logdet = "logdet")
gamma_models <- c("jc", "k2p", "f81", "tn93")
for (alignment in c("woodmouse", "simulated")) {
  x <- read.dna(file.path("data", paste0(alignment, ".fasta")), format = "fasta")
  rows <- list()
  for (model in names(models)) {
    for (alpha in c(0, 0.5, 2)) {
      if (alpha > 0 && !(model %in% gamma_models)) next
      for (pairwise in c(FALSE, TRUE)) {
        d <- dist.dna(x, model = models[[model]], variance = TRUE,
                      gamma = if (alpha > 0) alpha else FALSE, pairwise.deletion = pairwise)
        v <- attr(d, "variance")
        m <- as.matrix(d)
        n <- nrow(m)
        k <- 0
        for (i in 1:(n - 1)) for (j in (i + 1):n) {
          k <- k + 1
          rows[[length(rows) + 1]] <- sprintf("%s\t%s\t%s\t%s\t%s\t%.17g\t%.17g", model, alpha,
            if (pairwise) "pairwise" else "global", rownames(m)[i], rownames(m)[j], m[i, j],
            if (is.null(v) || model == "raw") NA else v[k])
        }
      }
    }
  }
  writeLines(c("model\talpha\tdeletion\ta\tb\tdistance\tvariance", unlist(rows)),
             file.path("data", paste0("ape_", alignment, ".tsv")))
}
