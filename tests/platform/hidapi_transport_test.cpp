#include "hidapi_transport.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <latch>
#include <thread>
#include <vector>

namespace {

// Every device link looks for its device on a thread of its own, twice a second while it is
// absent; the wireless view adds two links to the main camera's. Looking at once must not corrupt
// hidapi's shared state (it aborted with a double free).
TEST(HidapiTransport, LinksLookForAbsentDevicesAtOnce) {
  constexpr int kLinks = 8;
  constexpr int kAttempts = 8000;
  std::atomic<int> opened = 0;
  std::latch ready(kLinks);
  std::vector<std::thread> links;
  for (int link = 0; link < kLinks; ++link) {
    links.emplace_back([&opened, &ready, link] {
      dravin::HidapiTransport transport;
      ready.arrive_and_wait();
      for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // Ids no device uses: every attempt searches and finds nothing.
        if (transport.open(0xFFFE, static_cast<std::uint16_t>(0xFF00 + link))) ++opened;
      }
      std::array<std::uint8_t, 8> buffer{};
      EXPECT_TRUE(transport.read(buffer, 1).deviceGone);
      EXPECT_FALSE(transport.write(buffer));
    });
  }
  for (std::thread& link : links) link.join();
  EXPECT_EQ(opened, 0);
}

}  // namespace
