#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <cstdio>

namespace {

// Under Wine a crash starts the debugger, whose exit leaves the program's
// exit code 0: a crashed test program must still fail its run.
LONG WINAPI FailOnCrash(EXCEPTION_POINTERS* info) {
  std::fprintf(stderr, "\nThe test program crashed: exception 0x%08lx at %p.\n",
               static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
               info->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  SetUnhandledExceptionFilter(FailOnCrash);
#endif
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
