// The memory check every holder of a matrix of values makes before allocating it.
#pragma once

// Ends the run through bye() when a rows x cols matrix cannot be held.
void require_matrix_fits(long long rows, long long cols);
