// A plugin for the loader's tests: one C entry point.
extern "C" __attribute__((visibility("default"))) int orvendale_probe_answer() { return 42; }
