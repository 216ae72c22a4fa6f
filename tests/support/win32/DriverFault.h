#pragma once
// How a window driver says that the window is not as it must be to be driven
// at all: it never came, or a column stands elsewhere than its table puts it.
// In the test programs the running test fails with these words
// (DriverFault.cpp); the window benchmarks stop with them.
#include <string>

namespace discovel::test {

void DriverFault(const std::string& what);

}  // namespace discovel::test
