#pragma once
// Wine-specific control of the test prefix's drives.
#include <gtest/gtest.h>

namespace discovel::test {

// Wine reads a disc's label (the file .windows-label of the disc folder) once
// per drive definition; this defines the drive again so the next query reads
// it anew.
::testing::AssertionResult RereadDriveLabel(char letter);

}  // namespace discovel::test
