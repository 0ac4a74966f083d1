#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace scenario::testing {

// A fresh, empty folder for one test, removed with everything in it when the test ends.
class TempFolder {
 public:
  TempFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string test_name = test != nullptr ? std::string(test->name()) : "test";
    path_ = std::filesystem::temp_directory_path() /
            ("scenario-builder-" + test_name + "-" + std::to_string(std::random_device{}()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace scenario::testing
