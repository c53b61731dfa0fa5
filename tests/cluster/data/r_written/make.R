# The first 100 rows of the shipped bladder table, written by R in each layout it offers.
# usage, in this folder: Rscript make.R <the table> <its samples file>
# (examples/bladder_top1000.txt and the data's bladder_samples.tsv)
files <- commandArgs(TRUE)
lines <- readLines(files[1])
counts <- as.integer(strsplit(lines[1], "[ \t]+")[[1]])
body <- read.table(text = lines[2:101], sep = "\t", row.names = 1)
samples <- read.delim(files[2])$sample
x <- as.matrix(body)
colnames(x) <- sub("\\.CEL$", "", samples)
write.table(x, "default.txt")
write.table(x, "tab.tsv", sep = "\t")
write.table(x, "plain.tsv", sep = "\t", quote = FALSE, col.names = NA)
write.csv(x, "comma.csv")
write.csv2(x, "semicolon.csv")
# GCT 1.3: one row annotation field, no column annotation rows.
gct <- file("table.gct", "w")
writeLines(c("#1.3", paste(nrow(x), ncol(x), 1, 0, sep = "\t")), gct)
write.table(data.frame(id = rownames(x), Description = "na", x, check.names = FALSE), gct,
            sep = "\t", quote = FALSE, row.names = FALSE)
close(gct)
