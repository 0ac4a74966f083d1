// The whole built-in run, end to end: the built program is copied into a fresh folder
// (it writes beside itself), run there without arguments, and the files it leaves are
// read back with small readers of their own, independent of the product's decoders.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "format/file_io.hpp"
#include "tests/run_program.hpp"
#include "tests/temp_folder.hpp"

namespace {

namespace fs = std::filesystem;

const char* const kTrackCellFile = "Milano_Tortona_5.dat";
const char* const kRecordFile = "Milano_Tortona_5.sim";
const char* const kLinePlanFile = "Milano_Tortona_linea.dat";
const char* const kDocuments[] = {"Milano_Tortona_5_note.txt", "Milano_Tortona_5_rallentamenti.txt",
                                  "Milano_Tortona_5_scheda_treno.txt"};
constexpr int kLastCell = 1780;
constexpr int kRouteExtent = 89000;

// ---- running the program ----

using scenario::read_file;
using scenario::testing::ProgramRun;
using scenario::testing::TempFolder;

// Runs the program, copied into `folder` the first time, with no arguments; it is started
// from elsewhere, so only its own folder can receive the files.
ProgramRun run_program_in(const fs::path& folder) {
  const fs::path program = folder / "scenario-builder";
  if (!fs::exists(program)) scenario::testing::copy_program_into(folder);
  const TempFolder scratch;
  return scenario::testing::run_program("cd / && '" + program.string() + "'", scratch.path());
}

// ---- little-endian readers over a byte string; out of range reads fail the test ----

class Bytes {
 public:
  explicit Bytes(const std::string& bytes) : bytes_(bytes) {}
  size_t size() const { return bytes_.size(); }
  uint64_t unsigned_at(size_t offset, size_t width) const {
    if (offset + width > bytes_.size()) {
      ADD_FAILURE() << "read of " << width << " bytes at " << offset << " beyond " << bytes_.size();
      return 0;
    }
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= uint64_t(uint8_t(bytes_[offset + i])) << (8 * i);
    return value;
  }
  int u8(size_t offset) const { return int(unsigned_at(offset, 1)); }
  int i16(size_t offset) const { return int(int16_t(uint16_t(unsigned_at(offset, 2)))); }
  int32_t i32(size_t offset) const { return int32_t(uint32_t(unsigned_at(offset, 4))); }
  double f64(size_t offset) const {
    const uint64_t bits = unsigned_at(offset, 8);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  std::string text(size_t offset, size_t length) const {
    return offset + length <= bytes_.size() ? bytes_.substr(offset, length) : std::string();
  }
  std::string hex(size_t offset, size_t length) const {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < length && offset + i < bytes_.size(); ++i) {
      if (i > 0) out += ' ';
      const auto b = uint8_t(bytes_[offset + i]);
      out += digits[b >> 4];
      out += digits[b & 15];
    }
    return out;
  }

 private:
  const std::string& bytes_;
};

// One 15-byte record of the track-cell file.
struct Cell {
  int kind, value1, value2, value3, value4, signal_time, approach, mountain, speed_limit, gradient, adhesion;
};

Cell cell_at(const Bytes& dat, int index) {
  const size_t o = 15 * size_t(index);
  return Cell{dat.u8(o),      dat.i16(o + 1),  dat.i16(o + 3),  dat.i16(o + 5),  dat.i16(o + 7), dat.u8(o + 9),
              dat.u8(o + 10), dat.u8(o + 11), dat.u8(o + 12), dat.u8(o + 13), dat.u8(o + 14)};
}

// One record of the record file; records differ in length by their text.
struct Record {
  size_t offset = 0, length = 0;
  int station_type = 0, p4 = 0, p7 = 0, p8 = 0, p10 = 0, p11 = 0, p12 = 0, p9 = 0, p13 = 0, p6 = 0, p5 = 0;
  int32_t start_m = 0, end_m = 0, position_m = 0, time_s = 0;
  std::string text;
};

std::vector<Record> records_of(const Bytes& sim) {
  std::vector<Record> records;
  size_t o = 0;
  for (int slot = 0; slot < 87; ++slot) {
    Record r;
    r.offset = o;
    r.station_type = sim.u8(o);
    r.start_m = sim.i32(o + 1);
    r.end_m = sim.i32(o + 5);
    r.position_m = sim.i32(o + 9);
    r.p4 = sim.u8(o + 13);
    const size_t t = size_t(sim.unsigned_at(o + 14, 2));
    r.text = sim.text(o + 16, t);
    const size_t after = o + 16 + t;
    r.p7 = sim.i16(after);
    r.p8 = sim.i16(after + 2);
    r.p10 = sim.i16(after + 4);
    r.p11 = sim.i16(after + 6);
    r.p12 = sim.i16(after + 8);
    r.p9 = sim.u8(after + 10);
    r.p13 = sim.u8(after + 11);
    r.p6 = sim.u8(after + 12);
    r.p5 = sim.u8(after + 13);
    r.time_s = sim.i32(after + 14);
    r.length = 34 + t;
    o += r.length;
    records.push_back(r);
  }
  EXPECT_EQ(o, sim.size()) << "the 87 records do not fill the file exactly";
  return records;
}

// Every field of a record, in file order, to compare a whole record at once.
std::string describe(const Record& r) {
  std::string out = std::to_string(r.station_type);
  for (const int64_t n : {int64_t(r.start_m), int64_t(r.end_m), int64_t(r.position_m), int64_t(r.p4)})
    out += " " + std::to_string(n);
  out += " '" + r.text + "'";
  for (const int64_t n : {r.p7, r.p8, r.p10, r.p11, r.p12, r.p9, r.p13, r.p6, r.p5}) out += " " + std::to_string(n);
  return out + " " + std::to_string(r.time_s);
}

// Offsets in the line-plan file: per column, metres 0 and 1 are integers (4 bytes),
// metres 2 to extent - 2 doubles (10 bytes), the last two metres empty (2 bytes).
constexpr size_t kPlanColumnBytes = 8 + size_t(kRouteExtent - 3) * 10 + 4;
size_t plan_offset(int column, int metre) {
  const size_t base = size_t(column) * kPlanColumnBytes;
  if (metre < 2) return base + 4 * size_t(metre);
  if (metre <= kRouteExtent - 2) return base + 8 + size_t(metre - 2) * 10;
  return base + 8 + size_t(kRouteExtent - 3) * 10 + 2 * size_t(metre - (kRouteExtent - 1));
}

// ---- the run, once per test program ----

class BuiltinBuild : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder();
    outcome_ = new ProgramRun(run_program_in(folder_->path()));
    track_cells_ = new std::string(compiled(kTrackCellFile));
  }
  static void TearDownTestSuite() {
    delete folder_;
    delete outcome_;
    delete track_cells_;
  }
  static std::string compiled(const char* name) { return read_file(folder_->path() / name); }

  // Cell checks make sense only on a track-cell file of the scenario's size.
  static bool track_cells_complete() { return track_cells_->size() == 15u * (kLastCell + 1); }
  static Cell cell(int index) { return cell_at(Bytes(*track_cells_), index); }
  // "kind value1 value2 value3 value4" of a cell, to compare a whole feature at once.
  static std::string values(int index) {
    const Cell c = cell(index);
    return std::to_string(c.kind) + " " + std::to_string(c.value1) + " " + std::to_string(c.value2) + " " +
           std::to_string(c.value3) + " " + std::to_string(c.value4);
  }

  static inline TempFolder* folder_ = nullptr;
  static inline ProgramRun* outcome_ = nullptr;
  static inline std::string* track_cells_ = nullptr;
};

#define SKIP_WITHOUT_TRACK_CELLS() \
  if (!track_cells_complete()) GTEST_SKIP() << "track-cell file of " << track_cells_->size() << " bytes"

TEST_F(BuiltinBuild, LeavesTheDocumentsAndCompiledFilesAndNoSource) {
  EXPECT_EQ(outcome_->exit_status, 0);
  EXPECT_NE(outcome_->out.find("Attendere"), std::string::npos) << outcome_->out;

  std::set<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder_->path())) found.insert(entry.path().filename().string());
  std::set<std::string> expected = {kTrackCellFile, kRecordFile, kLinePlanFile,
                                    fs::path(SCENARIO_BUILDER_EXE).filename().string()};
  for (const char* document : kDocuments) expected.insert(document);
  EXPECT_EQ(found, expected);  // the two source files are gone
  for (const char* document : kDocuments) EXPECT_GT(fs::file_size(folder_->path() / document), 0u) << document;
}

TEST_F(BuiltinBuild, TrackCellFileSizeAndHeader) {
  const Bytes dat(*track_cells_);
  EXPECT_EQ(dat.size(), 26715u);
  EXPECT_EQ(dat.hex(16, 2), "01 14");  // 5121
  EXPECT_EQ(dat.i16(18), 2660);        // sum of the first 25 characters of "5milano_tortonamnbv..."
}

TEST_F(BuiltinBuild, LineFeaturesReachTheCells) {
  SKIP_WITHOUT_TRACK_CELLS();
  struct Span {
    int first, last, gradient;
  };
  for (const Span& s : {Span{0, 23, 100}, Span{24, 34, 105}, Span{1382, 1576, 106}, Span{1577, 1777, 100},
                        Span{1778, 1780, 0}})
    for (int c = s.first; c <= s.last; ++c) EXPECT_EQ(cell(c).gradient, s.gradient) << "cell " << c;

  for (int c = 1189; c <= 1193; ++c)
    EXPECT_EQ(cell(c).mountain, (c >= 1190 && c <= 1192) ? 2 : 0) << "cell " << c;

  EXPECT_EQ(values(17), "6 600 600 600 0");        // left board only, 30 km/h
  EXPECT_EQ(values(1549), "6 1616 1616 1616 22");  // both boards, 80 km/h, two stripes each
  EXPECT_EQ(values(1220), "14 80 0 0 0");          // indicator board, text in slot 80
}

TEST_F(BuiltinBuild, SpeedAdhesionSignalsSlowdownAndCodeReductions) {
  SKIP_WITHOUT_TRACK_CELLS();
  for (int c = 0; c <= kLastCell; ++c) {
    const Cell here = cell(c);
    const int speed = c <= 26 ? 6 : c >= 1588 && c <= 1777 ? 16 : c > 1777 ? 0 : -1;
    const int adhesion = c <= 671 || (c >= 1531 && c <= 1777) ? 100 : c > 1777 ? 0 : -1;
    if (speed >= 0) {
      EXPECT_EQ(here.speed_limit, speed) << "cell " << c;
    }
    if (adhesion >= 0) {
      EXPECT_EQ(here.adhesion, adhesion) << "cell " << c;
    }
  }
  EXPECT_EQ(cell(1587).speed_limit, 30);

  struct SignalCell {
    int cell;
    const char* values;
    int signal_time, first_code;
  };
  for (const SignalCell& s : {SignalCell{36, "1 40 10 10 6", 0, 61}, SignalCell{58, "1 42 11 11 8", 0, 81},
                              SignalCell{173, "1 32 11 11 8", 240, 81}}) {
    SCOPED_TRACE("signal in cell " + std::to_string(s.cell));
    EXPECT_EQ(values(s.cell), s.values);
    EXPECT_EQ(cell(s.cell).signal_time, s.signal_time);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(cell(s.cell - 2 * k).approach, s.first_code + k - 1) << "k " << k;
  }

  EXPECT_EQ(values(1029), "4 80 80 0 0");  // warning board
  EXPECT_EQ(values(1053), "3 80 80 0 0");  // slowdown start
  EXPECT_EQ(values(1058), "2 80 80 0 0");  // slowdown end
  for (int i = 0; i < 4; ++i) {
    const std::string number = std::to_string(i + 1);
    EXPECT_EQ(values(1028 - i), "5 " + number + " " + number + " 0 0") << "approach board " << number;
  }
  EXPECT_EQ(cell(1043).kind, 1);
  EXPECT_EQ(cell(1071).kind, 1);
}

TEST_F(BuiltinBuild, SignallingWalkPointsAroundTheSlowdown) {
  SKIP_WITHOUT_TRACK_CELLS();
  // The service file's seven code reductions and the walk's three approach points; the
  // slowdown is too short for a repeat point and its next signal beyond the exit look-ahead.
  std::vector<std::pair<int, int>> points;
  for (int c = 0; c <= kLastCell; ++c)
    if (cell(c).kind == 12) points.emplace_back(c, cell(c).value1);
  const std::vector<std::pair<int, int>> expected = {{211, 270}, {212, 270}, {213, 270},  {214, 270},
                                                     {215, 270}, {216, 270}, {217, 270},  {1035, 180},
                                                     {1042, 180}, {1048, 180}};
  EXPECT_EQ(points, expected);
}

TEST_F(BuiltinBuild, RecordFile) {
  const std::string bytes = compiled(kRecordFile);
  const Bytes sim(bytes);
  EXPECT_EQ(sim.size(), 3161u);  // 87 × 34 plus the fifteen station names, the board text and the identity
  const std::vector<Record> records = records_of(sim);
  ASSERT_EQ(records.size(), 87u);

  const Record& header = records[85];
  ASSERT_EQ(header.length, 48u);
  EXPECT_EQ(sim.hex(header.offset, 44),
            "00 01 00 00 00 6c e8 00 00 18 79 00 00 00 0e 00 "
            "4d 69 6c 61 6e 6f 5f 54 6f 72 74 6f 6e 61 62 02 "
            "00 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(sim.hex(header.offset + 44, 4), "74 8a 00 00");  // weighted code 35444

  // type start end position p4 'text' p7 p8 p10 p11 p12 p9 p13 p6 p5 time
  const std::pair<int, const char*> expected[] = {
      {0, "0 0 0 0 0 '' 0 0 0 0 0 0 0 0 0 0"},
      {1, "8 -800 800 0 1 'MILANO CENTRALE' 4 1 2 1 1 0 1 0 0 65700"},
      {2, "25 1150 1450 1300 0 'MILANO C.LE' 0 0 0 0 0 0 1 0 0 0"},
      {3, "2 3450 4150 3800 0 'MILANO LAMBRATE' 1 1 4 1 1 0 0 0 1 0"},
      {16, "0 0 0 0 0 '' 0 0 0 0 0 0 0 0 0 0"},
      {80, "0 0 0 0 0 '(Km. 2.256)' 0 0 0 0 0 0 0 0 0 0"},
      {84, "0 125 82000 12 0 '' 0 0 0 0 0 0 0 0 0 0"},
      {86, "0 10550 79900 4 0 '5' 300 0 18 14 15 0 0 0 0 0"},
  };
  for (const auto& [slot, fields] : expected) EXPECT_EQ(describe(records[size_t(slot)]), fields) << "slot " << slot;
  EXPECT_EQ(records[15].text, "TORTONA");
}

TEST_F(BuiltinBuild, StationCellsFromTheRecords) {
  SKIP_WITHOUT_TRACK_CELLS();
  struct Exit {
    int cell, slot;
  };
  for (const Exit& e : {Exit{15, 1}, Exit{82, 3}}) {
    SCOPED_TRACE("exit in cell " + std::to_string(e.cell));
    EXPECT_EQ(values(e.cell), "10 " + std::to_string(e.slot) + " 0 0 0");
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(cell(e.cell - k).approach, 80 + k) << "k " << k;
  }
}

TEST_F(BuiltinBuild, LinePlanFile) {
  const std::string bytes = compiled(kLinePlanFile);
  const Bytes plan(bytes);
  EXPECT_EQ(plan.size(), 1779964u);
  if (plan.size() != 1779964u) return;
  EXPECT_EQ(plan.hex(0, 8), "02 00 00 00 02 00 00 00");                    // x of metres 0 and 1
  EXPECT_EQ(plan.hex(plan_offset(1, 0), 8), "02 00 00 00 02 00 01 00");     // y of metres 0 and 1
  for (int column = 0; column < 2; ++column) {
    for (const int metre : {2, 1000, 1001, kRouteExtent - 2})
      EXPECT_EQ(plan.i16(plan_offset(column, metre)), 5) << "column " << column << " metre " << metre;
    for (const int metre : {kRouteExtent - 1, kRouteExtent})
      EXPECT_EQ(plan.hex(plan_offset(column, metre), 2), "00 00") << "column " << column << " metre " << metre;
  }
  // Straight along +y up to metre 1000; the first curve metre turns right by 0.003.
  EXPECT_EQ(plan.f64(plan_offset(0, 2) + 2), 0.0);
  EXPECT_EQ(plan.f64(plan_offset(1, 2) + 2), 2.0);
  EXPECT_EQ(plan.f64(plan_offset(0, 1000) + 2), 0.0);
  EXPECT_EQ(plan.f64(plan_offset(1, 1000) + 2), 1000.0);
  EXPECT_EQ(plan.f64(plan_offset(0, 1001) + 2), 0.003);
  EXPECT_EQ(plan.f64(plan_offset(1, 1001) + 2), 1001.0);
}

TEST(BuiltinBuildAgain, ASecondRunInTheSameFolderGivesTheSameFiles) {
  const TempFolder scratch_folder;
  const fs::path& folder = scratch_folder.path();
  const ProgramRun first = run_program_in(folder);
  std::vector<std::string> before;
  for (const char* name : {kTrackCellFile, kRecordFile, kLinePlanFile}) before.push_back(read_file(folder / name));
  const ProgramRun second = run_program_in(folder);
  EXPECT_EQ(first.exit_status, 0);
  EXPECT_EQ(second.exit_status, 0);
  size_t i = 0;
  for (const char* name : {kTrackCellFile, kRecordFile, kLinePlanFile}) {
    const std::string after = read_file(folder / name);
    EXPECT_FALSE(after.empty()) << name;
    EXPECT_TRUE(after == before[i++]) << name << " differs after a second run";
  }
}

}  // namespace
