#include "devices.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "xvfb_display.h"

using namespace dravin;

namespace {

// A base block with the header and four empty descriptor slots (timings, not display descriptors).
std::vector<std::uint8_t> edidBlock() {
  std::vector<std::uint8_t> edid(128, 0x11);
  const std::array<std::uint8_t, 8> header{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
  std::copy(header.begin(), header.end(), edid.begin());
  return edid;
}

void putDescriptor(std::vector<std::uint8_t>& edid, std::size_t offset, std::uint8_t tag,
                   const std::vector<std::uint8_t>& text) {
  std::fill(edid.begin() + static_cast<long>(offset), edid.begin() + static_cast<long>(offset + 18),
            0x20);
  edid[offset] = edid[offset + 1] = edid[offset + 2] = edid[offset + 4] = 0;
  edid[offset + 3] = tag;
  std::copy(text.begin(), text.end(), edid.begin() + static_cast<long>(offset + 5));
}

std::vector<std::uint8_t> bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

}  // namespace

TEST(Devices, EdidMonitorName) {
  {  // the name descriptor after a serial-number descriptor, ended by a line feed
    auto edid = edidBlock();
    putDescriptor(edid, 72, 0xFF, bytes("SN123456\n"));
    putDescriptor(edid, 90, 0xFC, bytes("DELL U2720Q\n"));
    EXPECT_EQ(Devices::edidMonitorName(edid), "DELL U2720Q");
  }
  {  // all 13 characters used, no line feed; trailing padding dropped in a shorter one
    auto edid = edidBlock();
    putDescriptor(edid, 108, 0xFC, bytes("ABCDEFGHIJKLM"));
    EXPECT_EQ(Devices::edidMonitorName(edid), "ABCDEFGHIJKLM");
    putDescriptor(edid, 108, 0xFC, bytes("LG  "));
    EXPECT_EQ(Devices::edidMonitorName(edid), "LG");
  }
  {  // no EDID, a truncated one, a broken header, no name descriptor
    EXPECT_EQ(Devices::edidMonitorName({}), "Unknown screen");
    auto edid = edidBlock();
    putDescriptor(edid, 54, 0xFC, bytes("Short\n"));
    EXPECT_EQ(Devices::edidMonitorName(std::span(edid).first(100)), "Unknown screen");
    auto broken = edid;
    broken[0] = 0x42;
    EXPECT_EQ(Devices::edidMonitorName(broken), "Unknown screen");
    auto unnamed = edidBlock();
    putDescriptor(unnamed, 54, 0xFD, bytes("range"));
    EXPECT_EQ(Devices::edidMonitorName(unnamed), "Unknown screen");
  }
  {  // a timing whose bytes happen to hold 0xFC is not a descriptor
    auto edid = edidBlock();
    putDescriptor(edid, 54, 0xFC, bytes("Fake\n"));
    edid[54] = 0x3A;  // non-zero pixel clock
    EXPECT_EQ(Devices::edidMonitorName(edid), "Unknown screen");
  }
  {  // a name descriptor that is not text, or empty
    auto edid = edidBlock();
    putDescriptor(edid, 54, 0xFC, {0x80, 0xFE, 0x01, 0x0A});
    EXPECT_EQ(Devices::edidMonitorName(edid), "Unnamed screen");
    putDescriptor(edid, 54, 0xFC, bytes("\n"));
    EXPECT_EQ(Devices::edidMonitorName(edid), "Unnamed screen");
  }
}

TEST(Devices, RecordsRoundTripThroughJson) {
  const Devices::Screen screen{4000000000u, "Board \"Left\""};
  const nlohmann::json encoded = screen;
  EXPECT_EQ(encoded, (nlohmann::json{{"id", 4000000000u}, {"name", "Board \"Left\""}}));
  EXPECT_EQ(nlohmann::json::parse(encoded.dump()).get<Devices::Screen>(), screen);

  const Devices::Audio mic{"alsa_input.usb-5d17-0022", "USB Mic"};
  EXPECT_EQ(nlohmann::json(mic).get<Devices::Audio>(), mic);
  const Devices::IOS phone{"00008030-001A", "iPad"};
  EXPECT_EQ(nlohmann::json(phone).dump(), R"({"id":"00008030-001A","name":"iPad"})");
  EXPECT_EQ(nlohmann::json(phone).get<Devices::IOS>(), phone);

  // A missing key or a screen id that is not a number is refused, not defaulted.
  EXPECT_THROW(nlohmann::json({{"id", "x"}}).get<Devices::Audio>(), nlohmann::json::exception);
  EXPECT_THROW((nlohmann::json{{"id", "7"}, {"name", "n"}}.get<Devices::Screen>()),
               nlohmann::json::exception);
}

TEST(Devices, AudioListsOnlyAudioInputs) {
  CaptureDevice camera{
      DeviceKind::video, "cam-5d170022", std::string("Cam"), {}, "v4l2src", {}, {}, {}};
  CaptureDevice named{
      DeviceKind::audio, "mic-1", std::string("Desk mic"), {}, "pulsesrc", {}, {}, {}};
  CaptureDevice bare{DeviceKind::audio, "mic-2", std::nullopt, {}, "pulsesrc", {}, {}, {}};
  EXPECT_EQ(Devices::audio({camera, named, bare}),
            (std::vector<Devices::Audio>{{"mic-1", "Desk mic"}, {"mic-2", "mic-2"}}));
}

TEST(Devices, ScreensOfAnXDisplay) {
  {  // no X server: the log line and an empty list
    testing::internal::CaptureStdout();
    EXPECT_TRUE(Devices::screen(":65000").empty());
    EXPECT_FALSE(Devices::mainScreen(":65000"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("Could not find services for IODisplayConnect: ", 0), 0u) << out;
  }
  if (!test::XvfbDisplay::available()) GTEST_SKIP() << "Xvfb is not installed";
  test::XvfbDisplay display("1280x720x24");
  ASSERT_FALSE(display.name().empty());
  // Xvfb's single output carries no EDID.
  const auto screens = Devices::screen(display.name());
  ASSERT_EQ(screens.size(), 1u);
  EXPECT_NE(screens[0].id, 0u);
  EXPECT_EQ(screens[0].name, "Unknown screen");
  EXPECT_EQ(Devices::mainScreen(display.name()), screens[0]);
}
