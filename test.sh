#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
orvell_ensure_packages
# Line tables are all a sanitizer report needs; full debug information would
# add a quarter to the build.
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVELL_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1
cmake --build build-test
cd build-test
# A test passes the first time or fails: no test is run again.
ctest --output-on-failure -j"$(nproc)"
