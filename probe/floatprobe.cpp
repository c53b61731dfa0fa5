// Shows that dividing by zero yields infinity without a trap and that standard output works.
#include <iostream>

int main() {
  volatile double zero = 0.0;  // volatile: the division happens at run time, not in the compiler
  std::cout << 1.0 / zero << std::endl;
  std::cout << "hello" << std::endl;
  return 0;
}
