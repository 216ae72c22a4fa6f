# The same program for 64-bit Windows, for testing under Wine on machines whose
# kernel cannot run Wine's 32-bit loader.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
