#include "hid_reports.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "hid_commands.h"

using namespace dravin::hid;

namespace {

std::vector<std::uint8_t> inputReport(std::initializer_list<std::uint8_t> head) {
  std::vector<std::uint8_t> report(kInputReportSize, 0);
  std::copy(head.begin(), head.end(), report.begin());
  return report;
}

// A settings chunk report: tag 'P' or 'Q', index, count byte, characters from byte 10.
std::vector<std::uint8_t> chunkReport(char tag, std::uint8_t index, std::uint8_t countByte,
                                      const std::string& characters, std::uint8_t mask = 0) {
  auto report = inputReport({0x80, mask});
  report[7] = static_cast<std::uint8_t>(tag);
  report[8] = index;
  report[9] = countByte;
  for (std::size_t i = 0; i < characters.size() && 10 + i < report.size(); ++i) {
    report[10 + i] = static_cast<std::uint8_t>(characters[i]);
  }
  return report;
}

std::string carried(const Report& report) {
  const std::size_t count = report[6] & 0x7F;
  return {report.begin() + 7, report.begin() + 7 + static_cast<long>(count)};
}

}  // namespace

TEST(HidReports, ControlReport) {
  {  // low byte then high byte of the value
    const Report r = controlReport(dravin::hid::kExposure, 300);
    EXPECT_EQ(r[0], 0x43);
    EXPECT_EQ(r[1], 0x2C);
    EXPECT_EQ(r[2], 0x01);
    EXPECT_TRUE(std::all_of(r.begin() + 3, r.end(), [](std::uint8_t b) { return b == 0; }));
  }
  {  // negative values in two's complement, fractions truncated toward zero
    const Report minusOne = controlReport(kExposure, -1);
    EXPECT_EQ(minusOne[1], 0xFF);
    EXPECT_EQ(minusOne[2], 0xFF);
    const Report minusFraction = controlReport(kBrightness, -2.9);
    EXPECT_EQ(minusFraction[1], 0xFE);
    EXPECT_EQ(minusFraction[2], 0xFF);
    const Report fraction = controlReport(kBrightness, 2.9);
    EXPECT_EQ(fraction[1], 2);
    EXPECT_EQ(fraction[2], 0);
  }
  {  // only the low 16 bits travel, even of values no integer type holds
    const Report wide = controlReport(kFocusPosition, 0x12345);
    EXPECT_EQ(wide[1], 0x45);
    EXPECT_EQ(wide[2], 0x23);
    const Report huge = controlReport(kFocusPosition, 1e300);
    EXPECT_EQ(huge[0], kFocusPosition);
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity()}) {
      const Report r = controlReport(kFocusPosition, bad);
      EXPECT_EQ(r[1], 0);
      EXPECT_EQ(r[2], 0);
    }
  }
  {  // a settings request is its code alone
    const Report r = settingsRequestReport(kRequestDongleSettings);
    EXPECT_EQ(r[0], 0x92);
    EXPECT_TRUE(std::all_of(r.begin() + 1, r.end(), [](std::uint8_t b) { return b == 0; }));
  }
}

TEST(HidReports, SettingsWriteChunks) {
  {  // 29 characters: two full chunks and one of a single character
    const std::string text = "abcdefghijklmnopqrstuvwxyz012";
    const SettingsWrite w = settingsWriteReports(kWriteCameraSettings, text);
    ASSERT_TRUE(w.ok());
    ASSERT_EQ(w.reports.size(), 3u);
    const std::uint8_t counts[] = {0x0E, 0x0E, 0x81};
    std::string joined;
    for (std::size_t i = 0; i < 3; ++i) {
      const Report& r = w.reports[i];
      EXPECT_EQ(r[0], 0x91);
      EXPECT_EQ(std::string(r.begin() + 1, r.begin() + 5), "NBAM");
      EXPECT_EQ(r[5], i);
      EXPECT_EQ(r[6], counts[i]);
      EXPECT_TRUE(std::all_of(r.begin() + 21, r.end(), [](std::uint8_t b) { return b == 0; }));
      joined += carried(r);
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(w.reports[2][8], 0);  // nothing after the last character
  }
  {  // 28 characters fill exactly two chunks
    const SettingsWrite w = settingsWriteReports(kWriteDongleSettings, std::string(28, 'x'));
    ASSERT_EQ(w.reports.size(), 2u);
    EXPECT_EQ(w.reports[0][0], 0x93);
    EXPECT_EQ(w.reports[0][6], 0x0E);
    EXPECT_EQ(w.reports[1][6], 0x8E);
  }
  {  // CR LF travels as one line feed and counts as one character; a lone CR stays
    const SettingsWrite w = settingsWriteReports(kWriteCameraSettings, "a=1\r\nb=2\rc\n");
    ASSERT_EQ(w.reports.size(), 1u);
    EXPECT_EQ(w.reports[0][6], 0x80 | 10);
    EXPECT_EQ(carried(w.reports[0]), "a=1\nb=2\rc\n");
  }
}

TEST(HidReports, SettingsWriteRefusals) {
  {  // 256 chunks is the most one index byte can count
    const SettingsWrite longest =
        settingsWriteReports(kWriteCameraSettings, std::string(3584, 'a'));
    ASSERT_TRUE(longest.ok());
    ASSERT_EQ(longest.reports.size(), 256u);
    EXPECT_EQ(longest.reports.back()[5], 255);
    EXPECT_EQ(longest.reports.back()[6], 0x8E);
    const SettingsWrite tooLong =
        settingsWriteReports(kWriteCameraSettings, std::string(3585, 'a'));
    EXPECT_EQ(tooLong.refusal, SettingsRefusal::tooLong);
    EXPECT_TRUE(tooLong.reports.empty());
  }
  {  // CR LF pairs count once toward the limit
    std::string text;
    for (int i = 0; i < 3584; ++i) text += "\r\n";
    EXPECT_TRUE(settingsWriteReports(kWriteCameraSettings, text).ok());
  }
  {  // characters outside 7-bit ASCII, and the empty text, send nothing
    const SettingsWrite accented =
        settingsWriteReports(kWriteCameraSettings, "wifi_password=caf\xC3\xA9");
    EXPECT_EQ(accented.refusal, SettingsRefusal::notAscii);
    EXPECT_TRUE(accented.reports.empty());
    EXPECT_EQ(settingsWriteReports(kWriteCameraSettings, "").refusal, SettingsRefusal::empty);
    EXPECT_FALSE(describe(SettingsRefusal::tooLong).empty());
  }
}

TEST(HidReports, DecodeButtons) {
  {  // one-byte reports carry codes 3 to 6 only
    for (int code : {3, 4, 5, 6}) {
      const std::uint8_t byte[] = {static_cast<std::uint8_t>(code)};
      EXPECT_EQ(decodeInputReport(byte).button, code);
    }
    for (int other : {0, 2, 7, 0x80}) {
      const std::uint8_t byte[] = {static_cast<std::uint8_t>(other)};
      EXPECT_EQ(decodeInputReport(byte), InputReport{});
    }
  }
  {  // the mask byte of a 24-byte report; byte 7 not a settings tag changes no text
    const std::pair<std::uint8_t, int> masks[] = {{0x01, 5}, {0x02, 3}, {0x04, 4}, {0x08, 6}};
    for (auto [mask, code] : masks) {
      const InputReport r = decodeInputReport(inputReport({0x80, mask}));
      EXPECT_EQ(r.button, code);
      EXPECT_FALSE(r.settings);
    }
    for (int mask : {0x00, 0x03, 0x10, 0xFF}) {
      EXPECT_FALSE(decodeInputReport(inputReport({0x80, static_cast<std::uint8_t>(mask)})).button);
    }
  }
  {  // other first bytes and other lengths are ignored
    EXPECT_EQ(decodeInputReport(inputReport({0x81, 0x01})), InputReport{});
    auto longer = inputReport({0x80, 0x01});
    longer.push_back(0);
    EXPECT_EQ(decodeInputReport(longer), InputReport{});
    EXPECT_EQ(decodeInputReport(std::span<const std::uint8_t>{}), InputReport{});
  }
}

TEST(HidReports, DecodeAndAccumulateSettings) {
  SettingsAccumulator acc;
  {  // a button and a settings chunk in one report
    const InputReport r = decodeInputReport(chunkReport('P', 0, 5, "cam=1", 0x02));
    EXPECT_EQ(r.button, 3);
    ASSERT_TRUE(r.settings);
    EXPECT_EQ(r.settings->kind, SettingsKind::camera);
    EXPECT_EQ(r.settings->characters, "cam=1");
    EXPECT_FALSE(r.settings->last);
    EXPECT_FALSE(acc.apply(*r.settings));
  }
  {  // the dongle's text is kept apart; the last chunk hands back the whole text
    EXPECT_FALSE(acc.apply(*decodeInputReport(chunkReport('Q', 0, 3, "D=1")).settings));
    const auto whole = acc.apply(*decodeInputReport(chunkReport('P', 1, 0x82, "\n2")).settings);
    EXPECT_EQ(whole, "cam=1\n2");
    EXPECT_EQ(acc.text(SettingsKind::camera), "cam=1\n2");
    EXPECT_EQ(acc.text(SettingsKind::dongle), "D=1");
  }
  {  // index 0 discards a text partly received
    acc.apply(*decodeInputReport(chunkReport('Q', 1, 2, "xx")).settings);
    EXPECT_EQ(acc.text(SettingsKind::dongle), "D=1xx");
    acc.apply(*decodeInputReport(chunkReport('Q', 0, 2, "ab")).settings);
    EXPECT_EQ(acc.text(SettingsKind::dongle), "ab");
  }
  {  // only bits 0-3 count; 15 is cut to the 14 bytes the report holds
    const auto r = decodeInputReport(chunkReport('P', 0, 0x8F, "0123456789abcdef"));
    EXPECT_EQ(r.settings->count, 14);
    EXPECT_EQ(r.settings->characters, "0123456789abcd");
    EXPECT_TRUE(r.settings->last);
    EXPECT_EQ(decodeInputReport(chunkReport('P', 0, 0x70, "abc")).settings->characters, "");
  }
  {  // bytes above 0x7F read as the code points of the same value
    auto report = chunkReport('P', 0, 2, "");
    report[10] = 0xE9;
    report[11] = 0x00;
    EXPECT_EQ(decodeInputReport(report).settings->characters, std::string("\xC3\xA9\0", 3));
  }
  {  // a device that never starts over cannot grow a text without end
    SettingsAccumulator endless;
    for (int i = 0; i < 2000; ++i) {
      endless.apply(*decodeInputReport(chunkReport('P', 1, 14, "abcdefghijklmn")).settings);
    }
    EXPECT_LE(endless.text(SettingsKind::camera).size(), kMaxReceivedSettingsBytes);
  }
}

TEST(HidReports, ParseSettings) {
  {  // camera keys lower-cased; unknown keys, lines without a value and empty lines skipped
    const CameraSettings s = parseCameraSettings(
        "camera_sn=VC123\n\nTYPE=P2P\nWIFI_SSID=Home\nbogus=1\nwifi_password=\nnoequals\n"
        "wifi_key_mgmt=WPA\nP2P=x");
    EXPECT_EQ(s, (CameraSettings{{CameraSettingsKey::KEY_CAMERA_SN, "VC123"},
                                 {CameraSettingsKey::KEY_TYPE, "P2P"},
                                 {CameraSettingsKey::KEY_WIFI_SSID, "Home"},
                                 {CameraSettingsKey::KEY_WIFI_KEY_MGMT, "WPA"}}));
  }
  {  // dongle keys exactly; a value stops at a further "="; a later line wins
    const DongleSettings s = parseDongleSettings(
        "DONGLE_SN=\"VD9\"\nwifi_ssid=lower\nWIFI_PASSWORD=a=b\nCAMERA_HOST=\"one\"\n"
        "CAMERA_HOST=\"two\"\n=WIFI_SSID==\"net\"");
    EXPECT_EQ(s, (DongleSettings{{DongleSettingsKey::KEY_DONGLE_SN, "\"VD9\""},
                                 {DongleSettingsKey::KEY_WIFI_PASSWORD, "a"},
                                 {DongleSettingsKey::KEY_CAMERA_HOST, "\"two\""},
                                 {DongleSettingsKey::KEY_WIFI_SSID, "\"net\""}}));
  }
  {  // nothing received, nothing parsed
    EXPECT_TRUE(parseCameraSettings("").empty());
    EXPECT_TRUE(parseDongleSettings("\n\n=\n").empty());
  }
}
