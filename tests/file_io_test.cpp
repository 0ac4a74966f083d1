#include "format/file_io.hpp"
#include "format/file_set.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tests/program_runner.hpp"
#include "tests/temp_folder.hpp"

namespace scenario {
namespace {

// Writes `bytes` through `sink`, the second half through a part placed ahead of the first.
void write_second_half_first(ByteSink& sink, std::string_view bytes) {
  const size_t half = bytes.size() / 2;
  ByteSink second = sink.part_at(sink.offset() + half);
  second.append(bytes.substr(half));
  second.flush();
  sink.append(bytes.substr(0, half));
  sink.skip(bytes.size() - half);
}

// Every file of the program is written through one of the two forms of replace_file, whole
// or in parts.
struct Form {
  const char* name;
  std::function<void(const std::filesystem::path&, const std::string&)> write;
};

const Form kForms[] = {
    {"bytes", [](const std::filesystem::path& path, const std::string& bytes) { replace_file(path, bytes); }},
    // Produced through a sink in pieces, more than one of its chunks in all.
    {"sink",
     [](const std::filesystem::path& path, const std::string& bytes) {
       replace_file_with(path, [&](ByteSink& sink) {
         for (size_t at = 0; at < bytes.size(); at += 4099) sink.append(std::string_view(bytes).substr(at, 4099));
       });
     }},
    // The second half through a part of its own, written before the first half.
    {"parts",
     [](const std::filesystem::path& path, const std::string& bytes) {
       replace_file_with(path, [&](ByteSink& sink) { write_second_half_first(sink, bytes); });
     }},
};

TEST(ReplaceFile, AnOlderLongerFileIsReplacedWholeAndNoTemporaryIsLeft) {
  const std::string newer = std::string(ByteSink::kChunk + 12345, 'n') + "end";
  for (const Form& form : kForms) {
    const testing::TempFolder folder;
    const std::filesystem::path file = folder.path() / "a.dat";
    replace_file(file, std::string(2 * newer.size(), 'o'));
    form.write(file, newer);
    EXPECT_TRUE(read_file(file) == newer) << form.name;
    form.write(file, "short");
    EXPECT_EQ(read_file(file), "short") << form.name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << form.name;
  }
}

TEST(EncodeIntoString, PartsLandAfterWhatTheStringHeld) {
  std::string out = "held:";
  encode_into_string(out, [](ByteSink& sink) {
    write_second_half_first(sink, "first+second");
    sink.append("!");
  });
  EXPECT_EQ(out, "held:first+second!");
}

TEST(ReplaceFile, AFailureLeavesTheOlderFileAndNoTemporary) {
  const testing::TempFolder folder;
  const std::filesystem::path file = folder.path() / "kept.dat";
  replace_file(file, "older");
  // The producer fails after more than a chunk has reached the temporary file.
  EXPECT_THROW(replace_file_with(file,
                                 [](ByteSink& sink) {
                                   sink.append(std::string(ByteSink::kChunk + 1, 'x'));
                                   throw std::runtime_error("producer failed");
                                 }),
               std::runtime_error);
  EXPECT_EQ(read_file(file), "older");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

  EXPECT_THROW(replace_file(folder.path() / "absent" / "x.dat", "x"), FileError);
  // A folder standing where the file should go is not replaced.
  std::filesystem::create_directory(folder.path() / "taken");
  EXPECT_THROW(replace_file(folder.path() / "taken", "x"), FileError);
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "taken"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

}  // namespace
}  // namespace scenario
