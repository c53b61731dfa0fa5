// read_table: the clusterer's reading and preparation of an expression table, for Python.
#pragma once

#include <pybind11/pybind11.h>

// Adds _read_table(path, format, missing, log2, top, center, zscore) to the module; it returns
// (values, row_names, column_names, rows_dropped).
void bind_read_table(pybind11::module_& module);
