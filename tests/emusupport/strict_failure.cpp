#include "emusupport/strict_failure.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <QTest>

namespace tavrin::test {

void failRunningTest(const std::string& what) {
    if (::testing::UnitTest::GetInstance()->current_test_info()) {
        ADD_FAILURE() << what;
        return;
    }
    if (QTest::currentTestFunction()) {
        QTest::qFail(what.c_str(), __FILE__, __LINE__);
        return;
    }
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

} // namespace tavrin::test
