// distances: distcorr's corrected pairwise distances of an alignment file, for Python.
#pragma once

#include <pybind11/pybind11.h>

// Adds _distances(path, options) to the module: options are distcorr's command-line words
// (model, alpha, ...) without -i; returns (square distances, names).
void bind_distances(pybind11::module_& module);
