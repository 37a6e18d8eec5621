#include "core/shell/resource_sample.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

// scripts/performance_report.py reads these names; a renamed field breaks the report.
TEST(ResourceLogLine, EveryFieldIsANameValuePairOnOneLine) {
    ResourceSample sample;
    sample.Seconds = 910;
    sample.GdiObjects = 41;
    sample.UserObjects = 17;
    sample.Method = ResourceCountMethod::Probe;
    sample.Handles = 52;
    sample.PrivateBytes = 5'000'000'000; // beyond 32 bits
    sample.WorkingSetBytes = 12'345'678;
    sample.FramesPresented = 9'100;
    EXPECT_EQ(ResourceLogLine(sample),
              "seconds=910 gdi=41 user=17 method=probe handles=52 private_bytes=5000000000 "
              "working_set_bytes=12345678 frames=9100\n");
    sample.Method = ResourceCountMethod::System;
    EXPECT_NE(ResourceLogLine(sample).find(" user=17 method=system handles=52 "),
              std::string::npos);
}

} // namespace
} // namespace norvale
