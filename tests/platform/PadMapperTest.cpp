#include <gtest/gtest.h>

#include <vector>

#include "platform/Input.h"
#include "platform/PadMapper.h"

namespace sf {
namespace {

std::vector<uint16_t> Keys(PadMapper& pads, uint32_t now) {
  uint16_t out[16];
  const int n = pads.TakeKeyEvents(now, out, 16);
  return std::vector<uint16_t>(out, out + n);
}

std::vector<int> Held(const PadMapper& pads) {
  uint8_t state[256] = {};
  pads.AddKeyStates(state);
  std::vector<int> held;
  for (int i = 0; i < 256; ++i) {
    if (state[i] == 0x80) held.push_back(i);
  }
  return held;
}

TEST(PadMapper, SticksInsideTheDeadZoneStayStillAndBeyondItHoldTheArrows) {
  PadMapper pads;
  ASSERT_TRUE(pads.Connect(7));
  pads.SetAxis(7, padLeftX, PadMapper::kStickDeadZone);
  pads.SetAxis(7, padLeftY, -PadMapper::kStickDeadZone);
  EXPECT_TRUE(Held(pads).empty());
  EXPECT_TRUE(Keys(pads, 0).empty());
  pads.SetAxis(7, padLeftX, -32768);
  EXPECT_EQ(Held(pads), std::vector<int>{kScanLeft});
  EXPECT_EQ(Keys(pads, 0), std::vector<uint16_t>{vkLeft});
  pads.SetAxis(7, padRightY, 30000);  // the right stick turns the gun like Down
  EXPECT_EQ(Held(pads), (std::vector<int>{kScanLeft, kScanDown}));
}

TEST(PadMapper, HeldDirectionsRepeatLikeKeysButButtonsFireOncePerPress) {
  PadMapper pads;
  pads.Connect(1);
  pads.SetButton(1, padDpadDown, true);
  pads.SetButton(1, padX, true);
  EXPECT_EQ(Keys(pads, 1000), (std::vector<uint16_t>{vkDown, vkSpace}));
  EXPECT_TRUE(Keys(pads, 1000 + PadMapper::kRepeatDelayMs - 1).empty());
  EXPECT_EQ(Keys(pads, 1000 + PadMapper::kRepeatDelayMs), std::vector<uint16_t>{vkDown});
  EXPECT_TRUE(Keys(pads, 1000 + PadMapper::kRepeatDelayMs + 1).empty());
  EXPECT_EQ(Keys(pads, 1000 + PadMapper::kRepeatDelayMs + PadMapper::kRepeatIntervalMs), std::vector<uint16_t>{vkDown});
  pads.SetButton(1, padX, false);
  pads.SetButton(1, padRightShoulder, true);  // still held as the weapon control: no new press
  EXPECT_TRUE(Keys(pads, 5000).size() <= 1);
}

TEST(PadMapper, ButtonsMapOntoTheKeysOfTheGameAndTheMenus) {
  PadMapper pads;
  pads.Connect(3);
  pads.SetButton(3, padA, true);
  EXPECT_EQ(Held(pads), std::vector<int>{kScanLeftCtrl}) << "A fires like Ctrl";
  EXPECT_EQ(Keys(pads, 0), std::vector<uint16_t>{vkReturn}) << "and confirms like Enter";
  pads.SetButton(3, padA, false);
  pads.SetAxis(3, padTriggerRight, 32767);
  EXPECT_EQ(Held(pads), std::vector<int>{kScanLeftCtrl});
  pads.SetButton(3, padStart, true);
  pads.SetButton(3, padB, true);
  EXPECT_EQ(Keys(pads, 0), (std::vector<uint16_t>{vkEscape, 'P'}));
}

TEST(PadMapper, AnyPadPlaysAndUnpluggingReleasesEverything) {
  PadMapper pads;
  pads.Connect(1);
  pads.Connect(2);
  EXPECT_EQ(pads.ConnectedCount(), 2);
  pads.SetButton(2, padA, true);
  pads.SetButton(1, padDpadRight, true);
  EXPECT_EQ(Held(pads), (std::vector<int>{kScanLeftCtrl, kScanRight}));
  Keys(pads, 0);
  pads.Disconnect(2);
  pads.Disconnect(1);
  EXPECT_TRUE(Held(pads).empty()) << "no stuck fire or movement";
  EXPECT_TRUE(Keys(pads, 10000).empty());
  pads.SetButton(1, padA, true);  // input of a pad that is gone is ignored
  EXPECT_TRUE(Held(pads).empty());
  for (int id = 0; id < PadMapper::kMaxPads; ++id) EXPECT_TRUE(pads.Connect(100 + id));
  EXPECT_FALSE(pads.Connect(999));
}

}  // namespace
}  // namespace sf
