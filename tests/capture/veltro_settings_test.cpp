#include "veltro_settings.h"

#include <gtest/gtest.h>

#include "hid_reports.h"

using namespace dravin;

TEST(VeltroSettings, DirectTexts) {
  {  // the camera becomes an access point named by its serial
    EXPECT_EQ(veltro::directCameraText("VC123"),
              "camera_sn=VC123\ntype=P2P\nwifi_ssid=VC123\nwifi_key_mgmt=WPA\n"
              "wifi_password=mirabelk\n");
    EXPECT_EQ(veltro::directDongleText("\"VD9\"", "VC123"),
              "DONGLE_SN=\"VD9\"\nCAMERA_HOST=\"VC123\"\nWIFI_SSID=\"VC123\"\n"
              "WIFI_KEY_MGMT=\"WPA\"\nWIFI_PASSWORD=\"mirabelk\"\n");
  }
  {  // no serial read yet: empty values, and two double quotes on the dongle's lines
    EXPECT_EQ(veltro::directCameraText(""),
              "camera_sn=\ntype=P2P\nwifi_ssid=\nwifi_key_mgmt=WPA\nwifi_password=mirabelk\n");
    EXPECT_EQ(veltro::directDongleText("", ""),
              "DONGLE_SN=\nCAMERA_HOST=\"\"\nWIFI_SSID=\"\"\nWIFI_KEY_MGMT=\"WPA\"\n"
              "WIFI_PASSWORD=\"mirabelk\"\n");
  }
}

TEST(VeltroSettings, JoinText) {
  {  // with a password: the password line, then WPA
    EXPECT_EQ(veltro::joinCameraText("VC123", "Office", "s3cret"),
              "camera_sn=VC123\ntype=JOIN\nwifi_ssid=Office\nwifi_password=s3cret\n"
              "wifi_key_mgmt=WPA\n");
  }
  {  // an open network: no password line
    EXPECT_EQ(veltro::joinCameraText("VC123", "Cafe", ""),
              "camera_sn=VC123\ntype=JOIN\nwifi_ssid=Cafe\nwifi_key_mgmt=NONE\n");
  }
  {  // what the camera reads back is what was typed
    const auto parsed = hid::parseCameraSettings(veltro::joinCameraText("VC1", "Net", "pw"));
    EXPECT_EQ(parsed.at(hid::CameraSettingsKey::KEY_TYPE), "JOIN");
    EXPECT_EQ(parsed.at(hid::CameraSettingsKey::KEY_WIFI_SSID), "Net");
    EXPECT_EQ(parsed.at(hid::CameraSettingsKey::KEY_WIFI_PASSWORD), "pw");
  }
}
