#include "compiler/kilometre_posts.hpp"

#include <gtest/gtest.h>

#include <array>

#include "model/runtime_failure.hpp"

namespace scenario {
namespace {

using Triple = std::array<int32_t, 3>;  // position, offset, direction
constexpr Triple kNone{0, 0, 0};

struct Case {
  const char* what;
  Triple tre, due, uno;                   // as read into slots 81, 82, 83
  Triple slot81, slot82, slot83;          // after ordering and correction
};

TEST(ProgressiveOrdina, OrdersAndCorrectsTheThreeChanges) {
  const Case cases[] = {
      {"the scenario's rows", {63200, 101300, 1}, {40500, 63200, 1}, {9600, -9550, 0},
       {63200, 101400, 1}, {40500, 63300, 1}, {9600, -9550, 0}},
      {"rows in increasing word order", {9600, -9550, 0}, {40500, 63200, 1}, {63200, 101300, 1},
       {63200, 101400, 1}, {40500, 63300, 1}, {9600, -9550, 0}},
      {"only due", kNone, {40500, 63200, 1}, kNone, {40500, 63300, 1}, kNone, kNone},
      {"tre greatest, due and uno equal: uno first", {500, 1, 0}, {100, 2, 0}, {100, 3, 0},
       {500, 1, 0}, {100, 3, 0}, {100, 2, 0}},
      {"due greatest, tre and uno equal: uno first", {100, 1, 0}, {500, 2, 0}, {100, 3, 0},
       {500, 2, 0}, {100, 3, 0}, {100, 1, 0}},
      {"uno greatest, tre and due equal: due first", {100, 1, 0}, {100, 2, 0}, {500, 3, 0},
       {500, 3, 0}, {100, 2, 0}, {100, 1, 0}},
      {"greatest shared: dropped", {10000, 1, 1}, {30000, 2, 1}, {30000, 3, 1}, kNone, kNone, kNone},
      {"all three equal: dropped", {700, 1, 0}, {700, 2, 0}, {700, 3, 0}, kNone, kNone, kNone},
      {"sum 0, only uno with a positive offset", kNone, kNone, {0, 5000, 0}, {0, 5000, 0}, kNone, kNone},
      {"sum 0, only uno with a negative offset", kNone, kNone, {0, -5000, 1}, kNone, kNone, kNone},
      {"positions 100, -100, 0 sum to 0: by offset", {100, 0, 0}, {-100, 7, 0}, {0, 0, 0},
       {-100, 7, 0}, {100, 0, 0}, {0, 0, 0}},
      {"sum 0, the later offset test wins", {0, 10, 1}, {0, 20, 0}, {0, 30, 0},
       {0, 30, 0}, {0, 20, 0}, {0, 110, 1}},
      {"sum 0, tre and due positive: due wins", {0, 10, 0}, {0, 20, 1}, {0, 0, 0},
       {0, 120, 1}, {0, 10, 0}, {0, 0, 0}},
      {"direction other than 1 keeps its offset", {300, 50, 2}, {200, 50, -1}, {100, 50, 1},
       {300, 50, 2}, {200, 50, -1}, {100, 150, 1}},
  };
  for (const Case& c : cases) {
    ScenarioModel model;
    const Triple* read[3] = {&c.tre, &c.due, &c.uno};
    for (int i = 0; i < 3; ++i) {
      SimRecord& slot = model.record(81 + i);
      slot.start_m = (*read[i])[0];
      slot.end_m = (*read[i])[1];
      slot.position_m = (*read[i])[2];
      slot.text = "kept";
    }
    progressive_ordina(model);
    const Triple* expected[3] = {&c.slot81, &c.slot82, &c.slot83};
    for (int i = 0; i < 3; ++i) {
      const SimRecord& slot = model.record(81 + i);
      EXPECT_EQ((Triple{slot.start_m, slot.end_m, slot.position_m}), *expected[i]) << c.what << ", slot " << 81 + i;
      EXPECT_EQ(slot.text, "kept") << c.what;
    }
  }
}

TEST(ProgressiveOrdina, OrdersWholeBeforeACorrectedOffsetThatDoesNotFitFails) {
  ScenarioModel model;
  model.record(83).start_m = 500;  // uno
  model.record(82).start_m = 100;  // due
  model.record(82).end_m = 2147483600;
  model.record(82).position_m = 1;
  EXPECT_THROW(progressive_ordina(model), RuntimeFailure);
  EXPECT_EQ((Triple{model.record(81).start_m, model.record(81).end_m, model.record(81).position_m}), (Triple{500, 0, 0}));
  EXPECT_EQ((Triple{model.record(82).start_m, model.record(82).end_m, model.record(82).position_m}),
            (Triple{100, 2147483600, 1}));
  EXPECT_EQ((Triple{model.record(83).start_m, model.record(83).end_m, model.record(83).position_m}), (Triple{0, 0, 0}));
}

}  // namespace
}  // namespace scenario
