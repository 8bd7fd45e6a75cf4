// COM once for the whole run, on the thread that runs the tests, as the program does on its
// user-interface thread.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <exception>

#include "StandinFolders.h"
#include "win32/ComApartment.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--require-standin") == 0) zarn::win32::test::g_requireStandin = true;
  try {
    zarn::win32::ComApartment apartment;
    return RUN_ALL_TESTS();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
