// The estimator's native side: one clustering of a numpy array, and rows placed by directions.
#pragma once

#include <pybind11/pybind11.h>

// Adds _fit(X, ...), _assign(X, centers, offered), clock_seed() and MAX_ROWS to the module.
void bind_clustering(pybind11::module_& module);
