#pragma once

#include <gtest/gtest.h>

#include <string_view>

namespace scenario::testing {

// EXPECT_TRUE(contains(output, part)) shows both texts when the part is missing.
inline ::testing::AssertionResult contains(std::string_view text, std::string_view part) {
  if (text.find(part) != std::string_view::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "missing:\n" << part << "\nin:\n" << text;
}

}  // namespace scenario::testing
