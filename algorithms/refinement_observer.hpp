// What a refinement run tells whoever watches it, pass by pass; the algorithms write no output.
#pragma once

class tRefinementObserver {
 public:
  virtual ~tRefinementObserver() = default;
  // Pass `pass` (from 1) begins: its items are about to be placed.
  virtual void placing(int pass) { (void)pass; }
  // The items of pass `pass` are placed; the means are about to be updated.
  virtual void updating(int pass) { (void)pass; }
  // Pass `pass` ended with objective obj; prev_obj is the objective it started from.
  virtual void passed(int pass, double prev_obj, double obj) {
    (void)pass;
    (void)prev_obj;
    (void)obj;
  }
};
