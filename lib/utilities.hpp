// Guarded allocation, rounding, tolerance comparisons and small integer helpers.
#pragma once

#include "lib/string.hpp"

void* Malloc(unsigned size);            // size 0 gives null; failure ends through error()
void* Realloc(void* p, unsigned size);  // size 0 gives null and leaves p alone

int double2int(double x);                       // rounds half away from zero
bool is_zero(double x, double eps);             // |x| <= eps
bool is_positive(double x, double eps);         // x > eps
bool is_equal(double a, double b, double eps);  // |a - b| <= eps

int max(int a, int b);
int min(int a, int b);
int odd(int n);                             // n % 2 with the sign of n
int first_neq(int a, int b, int c);         // smallest non-negative int differing from all three
int indices(int i, int j, int& k, int& l);  // the two positions of 0..3 other than i, j; returns l
string stringoflength(int n);               // n blanks; REQUIRES: n >= 0
