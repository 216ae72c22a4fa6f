#include <gtest/gtest.h>

#include <chrono>

#include "platform/UiPump.h"
#include "support/ScriptedPump.h"

namespace discovel {
namespace {

using namespace std::chrono_literals;

TEST(PacedPump, TheFirstPumpGoesThroughAndTheNextOnlyOnceTheIntervalIsOver) {
  test::ScriptedPump inner;
  PacedPump hourly(inner, std::chrono::hours(1));
  for (int i = 0; i < 1000; ++i) hourly.Pump();
  EXPECT_EQ(inner.pumps, 1);

  PacedPump always(inner, 0ms);
  for (int i = 0; i < 3; ++i) always.Pump();
  EXPECT_EQ(inner.pumps, 4);

  inner.terminated = true;
  EXPECT_TRUE(hourly.Terminated());
}

}  // namespace
}  // namespace discovel
