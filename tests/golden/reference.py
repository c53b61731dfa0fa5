#!/usr/bin/env python3
"""Independent reference of a clusterer run started from an initial-assignment file.

Plain Python, no numpy: every value is an IEEE double and every operation is rounded on its own,
so each sum below is formed in exactly the order the clusterer must use. It writes what the
clusterer writes on standard output, and the -o2 and -o label files when asked.

usage: reference.py -i MATRIX -init_clusters FILE [-num_clusters K] [-t1 N] [-t2 X]
                    [-normalize] [-v | -v1 .. -v4] [-o2 FILE] [-o FILE] [-bits FILE]

-bits writes the doubles that the text outputs show only to six digits, in exact hexadecimal:
the initial means, the objective and the means returned by the k-svd clustering, and for every
bisected cluster the two halves and their means as k-means starts from them and as it returns
them (lines "initial", "objective", "mean", "split", "halved").

Only runs whose every principal direction comes out as a finite unit vector straight from the
power iteration are modelled; anything else stops with a message, so a golden file is never made
from a case the reference cannot decide.
"""
import math
import re
import sys


class NotModelled(Exception):
    """A run leaves the cases this reference decides (or breaks an assertion)."""


def warn(text):
    sys.stderr.write("\nWarning: " + text + "\n")


# ---------------------------------------------------------------- IEEE helpers

def divide(a, b):
    """a / b with IEEE results for a zero divisor (Python raises instead)."""
    if b != 0.0:
        return a / b
    if a != a or a == 0.0:
        return math.nan
    negative = (math.copysign(1.0, a) < 0) != (math.copysign(1.0, b) < 0)
    return -math.inf if negative else math.inf


def fmt_g(x):
    """C's "%g": six significant digits, general form."""
    if x != x:
        raise NotModelled("a not-a-number value would be printed")
    return "%g" % x


# ---------------------------------------------------------------- products (lowest index up)

def dot_prod(u, v):
    if len(u) != len(v):
        raise NotModelled("assertion u.dim() == v.dim()")
    s = 0.0
    for a, b in zip(u, v):
        s += a * b
    return s


def dot_prod2(u, v):
    d = dot_prod(u, v)
    return d * d


def cluster_objective(data, clusters, means, squared):
    total = 0.0
    for i, members in enumerate(clusters):
        for x in members:
            total += dot_prod2(means[i], data[x]) if squared else dot_prod(means[i], data[x])
    return total


# ---------------------------------------------------------------- vector type (highest index down)

def scalar(u, v):
    """The vector type's own scalar product: from the highest index down to 0."""
    if len(u) != len(v):
        raise NotModelled("vector arguments have different dimensions.")
    s = 0.0
    for i in range(len(u) - 1, -1, -1):
        s += u[i] * v[i]
    return s


def length(v):
    return math.sqrt(scalar(v, v))


def vdiv(v, x):
    return [divide(e, x) for e in v]


# ---------------------------------------------------------------- principal direction

def klineberg_of_transpose(a_rows, cols, steps):
    """Klineberg(B) for B = A transposed (cols x n), A given by its n rows; returns the row side of B.

    x (dimension n) and y (dimension cols) start as all ones. Each step: x' = B^T y = A y,
    y' = B x = A^T x from the old x, each entry a scalar product summed from the highest index
    down; then y = y'/|y'| and x = x'/|x'|.
    """
    n = len(a_rows)
    x = [1.0] * n
    y = [1.0] * cols
    for _ in range(steps):
        # x'[i] = row i of A times y, columns from cols-1 down to 0.
        xn = [scalar(row, y) for row in a_rows]
        # y'[c] = sum over members i from n-1 down to 0 of A[i][c] * x[i]: every column's sum
        # receives its terms in that order, starting from 0.0.
        yn = [0.0] * cols
        for i in range(n - 1, -1, -1):
            xi = x[i]
            yn = [s + a * xi for s, a in zip(yn, a_rows[i])]
        y = vdiv(yn, length(yn))
        x = vdiv(xn, length(xn))
    return y


def principal_direction(data, members, steps):
    a_rows = [data[r] for r in members]
    cols = len(data[0]) if data else 0
    u = klineberg_of_transpose(a_rows, cols, steps)
    result = vdiv(u, length(u))
    if not all(math.isfinite(e) for e in result):
        raise NotModelled("the power iteration met a zero vector (fallback direction)")
    return result


# ---------------------------------------------------------------- k-svd clustering

def sqkmeans(data, clusters, means, tolerance, steps, verbosity, out):
    k = len(clusters)
    # A cluster without members on entry has no mean and is never offered.
    retired = [not members for members in clusters]
    obj = cluster_objective(data, clusters, means, True)
    bound = 1 + 0.0000001
    while True:
        prev_obj = obj
        saved = ([list(c) for c in clusters], [list(m) for m in means])
        if verbosity > 3:
            out.append("reset clusters for next round\n")
        clusters = [[] for _ in range(k)]
        for r, row in enumerate(data):
            best = -2.0
            closest = -1
            for j in range(k):
                if retired[j]:
                    continue
                w = means[j]
                if not length(w) <= bound:
                    raise NotModelled("assertion w.length() <= 1 + 0.0000001")
                p = dot_prod2(w, row)
                if p > best:
                    best = p
                    closest = j
            if not closest > -1:
                raise NotModelled("assertion closest_mean > -1")
            clusters[closest].append(r)
        if verbosity > 3:
            out.append("update the means\n")
        for i in range(k):
            if clusters[i]:
                means[i] = principal_direction(data, clusters[i], steps)
            else:
                retired[i] = True
        obj = cluster_objective(data, clusters, means, True)
        if verbosity > 3:
            out.append(fmt_g(prev_obj) + " " + fmt_g(obj) + "\n")
        if not obj + 0.0000001 >= prev_obj:
            # A pass that lost ground: keep the clustering from before it.
            warn("k-svd pass lowered the objective; keeping the previous clustering")
            return prev_obj, saved[0], saved[1]
        if obj - prev_obj < tolerance:
            return obj, clusters, means


# ---------------------------------------------------------------- unit-centroid k-means

def kmeans(data, clusters, means, tolerance):
    k = len(clusters)
    tolerance = max(tolerance, 0.0)
    items = sorted(set(x for members in clusters for x in members))
    retired = [False] * k
    obj = cluster_objective(data, clusters, means, False)
    cols = len(data[0])
    while True:
        prev_obj = obj
        was_in = {}
        for i, members in enumerate(clusters):
            for x in members:
                was_in.setdefault(x, i)
        clusters = [[] for _ in range(k)]
        for x in items:
            best = -1000.0
            chosen = -1
            for j in range(k):
                if retired[j]:
                    continue
                p = dot_prod(means[j], data[x])
                if p > best:
                    best = p
                    chosen = j
            if chosen < 0:
                chosen = was_in[x]
            clusters[chosen].append(x)
        for i in range(k):
            members = clusters[i]
            if members:
                w = [0.0] * cols
                for x in members:
                    w = [a + b for a, b in zip(w, data[x])]
                if all(e == 0.0 for e in w):
                    retired[i] = False
                    continue
                scale = 1.0 / len(members)
                w = [e * scale for e in w]
                means[i] = vdiv(w, length(w))
                retired[i] = False
            else:
                retired[i] = True
        obj = cluster_objective(data, clusters, means, False)
        # A half mean with entries that are not numbers (a side whose rows sum to zero) makes the
        # objective one too: there is nothing to compare then, and a gain that is not a number
        # ends the loop (taken literally it would never end when every mean stays so).
        if not math.isnan(obj) and not math.isnan(prev_obj) and not obj + 0.0000001 >= prev_obj:
            raise NotModelled("assertion obj + 0.0000001>= prev_obj")
        if not obj - prev_obj > tolerance:
            return clusters, means


# ---------------------------------------------------------------- bisection

def vector_text(v):
    return "%d " % len(v) + "".join(" " + fmt_g(e) for e in v)


def hex_vector(v):
    return "%d" % len(v) + "".join(" " + e.hex() for e in v)


def hex_halves(tag, i, halves, half_means):
    return ["%s %d %d %d%s %s\n" % (tag, i, s, len(halves[s]),
                                    "".join(" %d" % r for r in halves[s]),
                                    hex_vector(half_means[s])) for s in (0, 1)]


def bisect(data, names, clusters, means, tolerance, verbosity, out, bits):
    k = len(clusters)
    cols = len(data[0])
    half_labels = [0] * len(data)
    if verbosity > 3:
        out.append("computing score...\n")
        out.append("init new clusters\n")
    for i in range(k):
        if not clusters[i]:
            continue
        halves = [[], []]
        half_means = [[0.0] * cols, [0.0] * cols]
        counts = [0.0, 0.0]
        for r in clusters[i]:
            d = dot_prod(data[r], means[i])
            s = 1 if d > 0 else 0
            halves[s].append(r)
            half_means[s] = [a + b for a, b in zip(half_means[s], data[r])]
            counts[s] += 1
        for s in (0, 1):
            if counts[s] == 0:
                counts[s] = 1
            half_means[s] = vdiv(half_means[s], counts[s])
            half_means[s] = vdiv(half_means[s], length(half_means[s]))
        bits += hex_halves("split", i, halves, half_means)
        halves, half_means = kmeans(data, halves, half_means, tolerance)
        bits += hex_halves("halved", i, halves, half_means)
        for s in (0, 1):
            for r in halves[s]:
                half_labels[r] = 2 * i + s
            if not halves[s]:
                half_means[s] = [0.0] * cols
        if verbosity >= 1:
            out.append("# BEGIN DIAM\n")
            for s in (0, 1):
                out.append("CLUSTER %d\n" % (2 * i + s))
                group = " ".join(names[r] for r in halves[s]) if halves[s] else "EMPTY"
                out.append(group + "\n")
                out.append(vector_text(half_means[s]) + "\n")
            out.append("END DIAM\n")
    return half_labels


# ---------------------------------------------------------------- input

NUMBER = re.compile(
    r"[+-]?(?:"
    r"0[xX](?:[0-9a-fA-F]+\.?[0-9a-fA-F]*|\.[0-9a-fA-F]+)(?:[pP][+-]?[0-9]+)?"
    r"|(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?"
    r"|[iI][nN][fF](?:[iI][nN][iI][tT][yY])?"
    r"|[nN][aA][nN](?:\([0-9A-Za-z_]*\))?"
    r")")


def strtod(token):
    """The C library conversion: the longest leading number, 0.0 when there is none."""
    m = NUMBER.match(token)
    if not m:
        return 0.0
    text = m.group(0)
    body = text.lstrip("+-")
    negative = text.startswith("-")
    if body[:2] in ("0x", "0X"):
        mantissa = body[2:]
        if "p" not in mantissa.lower():
            mantissa += "p0"
        value = float.fromhex("0x" + mantissa)
        return -value if negative else value
    if body[0] in "nN":
        return math.nan
    return float(text)


def convert(token, counter):
    if token in ("NA", "NaN"):
        return 0.0
    value = strtod(token)
    if not math.isfinite(value):
        counter[0] += 1
        return 0.0
    return value


def read_matrix(path):
    # Bytes split at ASCII white space, as the C library's isspace does; names keep their bytes.
    with open(path, "rb") as f:
        tokens = [t.decode("latin-1") for t in f.read().split()]
    rows, cols = int(tokens[0]), int(tokens[1])
    pos = 2

    def take():
        nonlocal pos
        token = tokens[pos] if pos < len(tokens) else ""
        pos += 1
        return token

    names, data = [], []
    non_finite = [0]
    for _ in range(rows):
        names.append(take())
        data.append([convert(take(), non_finite) for _ in range(cols)])
    if non_finite[0]:
        warn("%d values treated as missing" % non_finite[0])
    return data, names


def normalize(data):
    zero = 0
    for r, row in enumerate(data):
        if all(e == 0.0 for e in row):
            zero += 1
            continue
        data[r] = vdiv(row, length(row))
    if zero:
        warn("%d zero rows left as they are" % zero)


def read_assignment(path, rows, k):
    with open(path, "rb") as f:
        tokens = f.read().split()
    values = [int(t) for t in tokens[1:rows + 1]]
    if len(values) < rows or any(not 0 <= c < k for c in values):
        raise NotModelled("initial assignment file out of range or short")
    return values


def write_labels(path, labels):
    with open(path, "w") as f:
        f.write("%d\n" % len(labels))
        for c in labels:
            f.write("%d\n" % c)


# ---------------------------------------------------------------- the run

def parse(argv):
    opts = {"k": 5, "t1": 20, "t2": 0.001, "normalize": False, "verbosity": 0,
            "i": None, "init": None, "o": None, "o2": None, "bits": None}
    levels = {"-v": 1, "-v1": 1, "-v2": 2, "-v3": 3, "-v4": 4}
    args = list(argv)
    while args:
        a = args.pop(0)
        if a == "-normalize":
            opts["normalize"] = True
        elif a in levels:
            opts["verbosity"] = max(opts["verbosity"], levels[a])
        elif a == "-i":
            opts["i"] = args.pop(0)
        elif a == "-init_clusters":
            opts["init"] = args.pop(0)
        elif a == "-num_clusters":
            opts["k"] = int(args.pop(0))
        elif a == "-t1":
            opts["t1"] = int(args.pop(0))
        elif a == "-t2":
            opts["t2"] = float(args.pop(0))
        elif a == "-o":
            opts["o"] = args.pop(0)
        elif a == "-o2":
            opts["o2"] = args.pop(0)
        elif a == "-bits":
            opts["bits"] = args.pop(0)
        else:
            raise SystemExit("reference.py: unknown argument " + a)
    if not opts["i"] or not opts["init"]:
        raise SystemExit("reference.py: -i and -init_clusters are required")
    return opts


def run(opts):
    out = []
    bits = []
    verbosity = opts["verbosity"]
    k = opts["k"]
    data, names = read_matrix(opts["i"])
    if verbosity > 3:
        out.append("reading expression matrix...\n")
    if opts["normalize"]:
        normalize(data)
    out.append("start of algorithm\n")
    if verbosity > 3:
        out.append("random initialization\n")
    assignment = read_assignment(opts["init"], len(data), k)
    clusters = [[] for _ in range(k)]
    for r, c in enumerate(assignment):
        clusters[c].append(r)
    means = [[] for _ in range(k)]
    if verbosity > 3:
        out.append("computing initial means...\n")
    for i in range(k):
        if clusters[i]:
            means[i] = principal_direction(data, clusters[i], opts["t1"])
            bits.append("initial %d %s\n" % (i, hex_vector(means[i])))
    if verbosity > 3:
        out.append("calling sqkmeans\n")
    obj, clusters, means = sqkmeans(data, clusters, means, opts["t2"], opts["t1"], verbosity, out)
    out.append("Objective function = " + fmt_g(obj) + "\n")
    bits.append("objective %s\n" % obj.hex())
    bits += ["mean %d %s\n" % (i, hex_vector(m)) for i, m in enumerate(means)]
    labels = [0] * len(data)
    for i, members in enumerate(clusters):
        for r in members:
            labels[r] = i
    if opts["o2"]:
        write_labels(opts["o2"], labels)
    half_labels = bisect(data, names, clusters, means, opts["t2"], verbosity, out, bits)
    if opts["o"] and opts["o"] != "stdout":
        write_labels(opts["o"], half_labels)
    if verbosity > 3:
        out.append("computing score...\n")
    sys.stdout.buffer.write("".join(out).encode("latin-1"))
    if opts["bits"]:
        with open(opts["bits"], "w") as f:
            f.write("".join(bits))
    return obj


def main():
    try:
        obj = run(parse(sys.argv[1:]))
    except NotModelled as e:
        sys.stderr.write("reference.py: not modelled: %s\n" % e)
        sys.exit(2)
    sys.stderr.write("reference.py: objective %s\n" % obj.hex())


if __name__ == "__main__":
    main()
