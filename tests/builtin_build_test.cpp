// The whole built-in run, end to end: the built program is copied into a fresh folder
// (it writes beside itself), run there without arguments, and the files it leaves are
// read back with small readers of their own, independent of the product's decoders.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

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

struct RunOutcome {
  int exit_status = -1;
  std::string standard_output;
};

fs::path fresh_folder() {
  std::string pattern = (fs::temp_directory_path() / "builtin-build-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  return pattern;
}

// Copies the program into `folder` (once) and runs it there with no arguments.
RunOutcome run_program_in(const fs::path& folder) {
  const fs::path program = folder / fs::path(SCENARIO_BUILDER_EXE).filename();
  if (!fs::exists(program)) fs::copy_file(SCENARIO_BUILDER_EXE, program);
  // Started from elsewhere, so only the program's own folder can receive the files.
  const std::string command = "cd / && '" + program.string() + "'";
  RunOutcome outcome;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return outcome;
  char buffer[256];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.standard_output.append(buffer, n);
  const int status = pclose(pipe);
  if (WIFEXITED(status)) outcome.exit_status = WEXITSTATUS(status);
  return outcome;
}

std::string file_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
    folder_ = new fs::path(fresh_folder());
    outcome_ = new RunOutcome(run_program_in(*folder_));
  }
  static void TearDownTestSuite() {
    std::error_code ignored;
    fs::remove_all(*folder_, ignored);
    delete folder_;
    delete outcome_;
  }
  static std::string compiled(const char* name) { return file_bytes(*folder_ / name); }

  static inline fs::path* folder_ = nullptr;
  static inline RunOutcome* outcome_ = nullptr;
};

TEST_F(BuiltinBuild, LeavesTheDocumentsAndCompiledFilesAndNoSource) {
  EXPECT_EQ(outcome_->exit_status, 0);
  EXPECT_NE(outcome_->standard_output.find("Attendere"), std::string::npos) << outcome_->standard_output;

  std::set<std::string> found;
  for (const auto& entry : fs::directory_iterator(*folder_)) found.insert(entry.path().filename().string());
  std::set<std::string> expected = {kTrackCellFile, kRecordFile, kLinePlanFile,
                                    fs::path(SCENARIO_BUILDER_EXE).filename().string()};
  for (const char* document : kDocuments) expected.insert(document);
  EXPECT_EQ(found, expected);  // the two source files are gone
  for (const char* document : kDocuments) EXPECT_GT(fs::file_size(*folder_ / document), 0u) << document;
}

TEST_F(BuiltinBuild, TrackCellFileSizeAndHeader) {
  const std::string bytes = compiled(kTrackCellFile);
  const Bytes dat(bytes);
  EXPECT_EQ(dat.size(), 26715u);
  EXPECT_EQ(dat.hex(16, 2), "01 14");  // 5121
  EXPECT_EQ(dat.i16(18), 2660);        // sum of the first 25 characters of "5milano_tortonamnbv..."
}

TEST_F(BuiltinBuild, LineFeaturesReachTheCells) {
  const std::string bytes = compiled(kTrackCellFile);
  const Bytes dat(bytes);
  if (dat.size() != 26715u) GTEST_SKIP() << "track-cell file of " << dat.size() << " bytes";
  struct Span {
    int first, last, gradient;
  };
  for (const Span& s : {Span{0, 23, 100}, Span{24, 34, 105}, Span{1382, 1576, 106}, Span{1577, 1777, 100},
                        Span{1778, 1780, 0}})
    for (int c = s.first; c <= s.last; ++c) EXPECT_EQ(cell_at(dat, c).gradient, s.gradient) << "cell " << c;

  for (int c = 1189; c <= 1193; ++c)
    EXPECT_EQ(cell_at(dat, c).mountain, (c >= 1190 && c <= 1192) ? 2 : 0) << "cell " << c;

  const Cell first_board = cell_at(dat, 17);
  EXPECT_EQ(first_board.kind, 6);
  EXPECT_EQ(first_board.value1, 600);
  EXPECT_EQ(first_board.value2, 600);
  EXPECT_EQ(first_board.value3, 600);
  EXPECT_EQ(first_board.value4, 0);
  const Cell two_sided_board = cell_at(dat, 1549);
  EXPECT_EQ(two_sided_board.kind, 6);
  EXPECT_EQ(two_sided_board.value1, 1616);
  EXPECT_EQ(two_sided_board.value2, 1616);
  EXPECT_EQ(two_sided_board.value3, 1616);
  EXPECT_EQ(two_sided_board.value4, 22);
  EXPECT_EQ(cell_at(dat, 1220).kind, 14);
  EXPECT_EQ(cell_at(dat, 1220).value1, 80);
}

TEST_F(BuiltinBuild, SpeedAdhesionSignalsSlowdownAndCodeReductions) {
  const std::string bytes = compiled(kTrackCellFile);
  const Bytes dat(bytes);
  if (dat.size() != 26715u) GTEST_SKIP() << "track-cell file of " << dat.size() << " bytes";
  for (int c = 0; c <= kLastCell; ++c) {
    const Cell cell = cell_at(dat, c);
    const int speed = c <= 26 ? 6 : c >= 1588 && c <= 1777 ? 16 : c > 1777 ? 0 : -1;
    const int adhesion = c <= 671 || (c >= 1531 && c <= 1777) ? 100 : c > 1777 ? 0 : -1;
    if (speed >= 0) {
      EXPECT_EQ(cell.speed_limit, speed) << "cell " << c;
    }
    if (adhesion >= 0) {
      EXPECT_EQ(cell.adhesion, adhesion) << "cell " << c;
    }
  }
  EXPECT_EQ(cell_at(dat, 1587).speed_limit, 30);

  struct SignalCell {
    int cell, value1, value2, value3, value4, signal_time, first_code;
  };
  for (const SignalCell& s : {SignalCell{36, 40, 10, 10, 6, 0, 61}, SignalCell{58, 42, 11, 11, 8, 0, 81},
                              SignalCell{173, 32, 11, 11, 8, 240, 81}}) {
    SCOPED_TRACE("signal in cell " + std::to_string(s.cell));
    const Cell cell = cell_at(dat, s.cell);
    EXPECT_EQ(cell.kind, 1);
    EXPECT_EQ(cell.value1, s.value1);
    EXPECT_EQ(cell.value2, s.value2);
    EXPECT_EQ(cell.value3, s.value3);
    EXPECT_EQ(cell.value4, s.value4);
    EXPECT_EQ(cell.signal_time, s.signal_time);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(cell_at(dat, s.cell - 2 * k).approach, s.first_code + k - 1) << "k " << k;
  }

  const Cell warning = cell_at(dat, 1029), start = cell_at(dat, 1053), end = cell_at(dat, 1058);
  EXPECT_EQ(warning.kind, 4);
  EXPECT_EQ(warning.value1, 80);
  EXPECT_EQ(warning.value2, 80);
  for (const Cell& c : {start, end}) {
    EXPECT_EQ(c.value1, 80);
    EXPECT_EQ(c.value2, 80);
    EXPECT_EQ(c.value3, 0);
  }
  EXPECT_EQ(start.kind, 3);
  EXPECT_EQ(end.kind, 2);
  for (int i = 0; i < 4; ++i) {
    const Cell board = cell_at(dat, 1028 - i);
    EXPECT_EQ(board.kind, 5) << "cell " << 1028 - i;
    EXPECT_EQ(board.value1, i + 1) << "cell " << 1028 - i;
    EXPECT_EQ(board.value2, i + 1) << "cell " << 1028 - i;
  }
  EXPECT_EQ(cell_at(dat, 1043).kind, 1);
  EXPECT_EQ(cell_at(dat, 1071).kind, 1);
}

TEST_F(BuiltinBuild, SignallingWalkPointsAroundTheSlowdown) {
  const std::string bytes = compiled(kTrackCellFile);
  const Bytes dat(bytes);
  if (dat.size() != 26715u) GTEST_SKIP() << "track-cell file of " << dat.size() << " bytes";
  // The service file's seven code reductions and the walk's three approach points; the
  // slowdown is too short for a repeat point and its next signal beyond the exit look-ahead.
  std::vector<std::pair<int, int>> points;
  for (int c = 0; c <= kLastCell; ++c)
    if (cell_at(dat, c).kind == 12) points.emplace_back(c, cell_at(dat, c).value1);
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

  const Record& service = records[84];
  EXPECT_EQ(service.start_m, 125);
  EXPECT_EQ(service.end_m, 82000);
  EXPECT_EQ(service.position_m, 12);
  const Record& number = records[86];
  EXPECT_EQ(number.text, "5");
  EXPECT_EQ(number.start_m, 10550);
  EXPECT_EQ(number.end_m, 79900);
  EXPECT_EQ(number.position_m, 4);
  EXPECT_EQ(number.p7, 300);
  EXPECT_EQ(number.p10, 18);
  EXPECT_EQ(number.p11, 14);
  EXPECT_EQ(number.p12, 15);
  EXPECT_EQ(records[80].text, "(Km. 2.256)");
  EXPECT_EQ(records[0].length, 34u);

  struct Station {
    int slot, type;
    int32_t position, start, end, time;
    int p5, p6;
    const char* name;
  };
  for (const Station& s : {Station{1, 8, 0, -800, 800, 65700, 0, 0, "MILANO CENTRALE"},
                           Station{2, 25, 1300, 1150, 1450, 0, 0, 0, "MILANO C.LE"},
                           Station{3, 2, 3800, 3450, 4150, 0, 1, 0, "MILANO LAMBRATE"}}) {
    SCOPED_TRACE(s.name);
    const Record& r = records[size_t(s.slot)];
    EXPECT_EQ(r.text, s.name);
    EXPECT_EQ(r.station_type, s.type);
    EXPECT_EQ(r.position_m, s.position);
    EXPECT_EQ(r.start_m, s.start);
    EXPECT_EQ(r.end_m, s.end);
    EXPECT_EQ(r.time_s, s.time);
    EXPECT_EQ(r.p5, s.p5);
    EXPECT_EQ(r.p6, s.p6);
  }
  const Record& first = records[1];
  EXPECT_EQ(first.p4, 1);
  EXPECT_EQ(first.p7, 4);
  EXPECT_EQ(first.p8, 1);
  EXPECT_EQ(first.p9, 0);
  EXPECT_EQ(first.p10, 2);
  EXPECT_EQ(first.p11, 1);
  EXPECT_EQ(first.p12, 1);
  EXPECT_EQ(first.p13, 1);
  EXPECT_EQ(records[15].text, "TORTONA");
  EXPECT_EQ(records[16].text, "");
}

TEST_F(BuiltinBuild, StationCellsFromTheRecords) {
  const std::string bytes = compiled(kTrackCellFile);
  const Bytes dat(bytes);
  if (dat.size() != 26715u) GTEST_SKIP() << "track-cell file of " << dat.size() << " bytes";
  struct Exit {
    int cell, slot;
  };
  for (const Exit& e : {Exit{15, 1}, Exit{82, 3}}) {
    SCOPED_TRACE("exit in cell " + std::to_string(e.cell));
    EXPECT_EQ(cell_at(dat, e.cell).kind, 10);
    EXPECT_EQ(cell_at(dat, e.cell).value1, e.slot);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(cell_at(dat, e.cell - k).approach, 80 + k) << "k " << k;
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
  const fs::path folder = fresh_folder();
  const RunOutcome first = run_program_in(folder);
  std::vector<std::string> before;
  for (const char* name : {kTrackCellFile, kRecordFile, kLinePlanFile}) before.push_back(file_bytes(folder / name));
  // A longer stale file must be replaced whole, not overwritten in part.
  std::ofstream(folder / kRecordFile, std::ios::app) << std::string(5000, 'x');
  const RunOutcome second = run_program_in(folder);
  EXPECT_EQ(first.exit_status, 0);
  EXPECT_EQ(second.exit_status, 0);
  size_t i = 0;
  for (const char* name : {kTrackCellFile, kRecordFile, kLinePlanFile}) {
    const std::string after = file_bytes(folder / name);
    EXPECT_FALSE(after.empty()) << name;
    EXPECT_TRUE(after == before[i++]) << name << " differs after a second run";
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

}  // namespace
