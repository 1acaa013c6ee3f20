# The libFuzzer targets, listed once. The fuzz build makes each from fuzz_NAME.cpp, the debug
# build's fuzz suite runs each for a minute, and scripts/fuzz.sh reads the list the fuzz build
# writes to tests/fuzz/targets.txt. How each is run is in fuzz_target.sh.
set(OMRA_FUZZ_TARGETS omra_fuzz_pack omra_fuzz_module omra_fuzz_mixer)
