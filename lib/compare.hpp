// The three-way comparison that orders dictionary keys and set elements.
#pragma once

inline int compare(int a, int b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}
