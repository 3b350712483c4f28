// The benchmark program: every scene's frame on the 1280 x 720 dummy-driver window renderer.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
