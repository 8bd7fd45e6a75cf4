// COM once for the whole run, on the thread that runs the tests, as the program does on its
// user-interface thread.
#include <gtest/gtest.h>

#include <cstdio>
#include <exception>

#include "platform/win32/ComApartment.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  try {
    zarn::win32::ComApartment apartment;
    return RUN_ALL_TESTS();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
