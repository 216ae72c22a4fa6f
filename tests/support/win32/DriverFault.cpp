#include "support/win32/DriverFault.h"

#include <gtest/gtest.h>

namespace discovel::test {

void DriverFault(const std::string& what) { ADD_FAILURE() << what; }

}  // namespace discovel::test
