// Strict mode in tests: the board emulator records the host's protocol violations, and a test
// fails on any of them. This is how the failure reaches whichever framework runs the test.
#pragma once

#include <string>

namespace tavrin::test {

// Fails the running GoogleTest or Qt Test test with this text; outside a test it is printed and
// the program stops, so that a violation can never pass unseen.
void failRunningTest(const std::string& what);

} // namespace tavrin::test
