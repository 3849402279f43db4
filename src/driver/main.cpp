#include "driver/run.h"

// Every run ends with exit code 0, whatever happened in it.
int main(int argc, char** argv) {
  try {
    return orvendale::RunOrvendale(argc, argv);
  } catch (...) {
    return 0;
  }
}
