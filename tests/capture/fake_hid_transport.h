#pragma once

// A HID bus in memory: devices the test attaches and removes, input reports it queues, and the
// output reports the links wrote.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QThread>
#include <QVariantMap>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "hid_transport.h"
#include "notification_center.h"

namespace dravin::testing {

using Bytes = std::vector<std::uint8_t>;

class FakeHidBus : public std::enable_shared_from_this<FakeHidBus> {
 public:
  using Ids = std::pair<std::uint16_t, std::uint16_t>;

  struct Device {
    bool attached = false;
    std::deque<Bytes> inputs;
    std::vector<Bytes> written;
    std::map<std::uint8_t, std::vector<Bytes>> answers;
    int generation = 0;  // bumped on removal, so links opened before it see it gone
  };

  void attach(Ids ids) {
    std::lock_guard lock(mutex_);
    devices_[ids].attached = true;
    changed_.notify_all();
  }
  void remove(Ids ids) {
    std::lock_guard lock(mutex_);
    auto& d = devices_[ids];
    d.attached = false;
    ++d.generation;
    d.inputs.clear();
    changed_.notify_all();
  }
  // The device answers an output report starting with `request` with these input reports.
  void answer(Ids ids, std::uint8_t request, std::vector<Bytes> reports) {
    std::lock_guard lock(mutex_);
    devices_[ids].answers[request] = std::move(reports);
  }
  void queueInput(Ids ids, Bytes report) {
    std::lock_guard lock(mutex_);
    devices_[ids].inputs.push_back(std::move(report));
    changed_.notify_all();
  }
  std::vector<Bytes> written(Ids ids) {
    std::lock_guard lock(mutex_);
    return devices_[ids].written;
  }
  bool inputsDrained(Ids ids) {
    std::lock_guard lock(mutex_);
    return devices_[ids].inputs.empty();
  }
  int openLinks() {
    std::lock_guard lock(mutex_);
    return openLinks_;
  }
  int transportsAlive() {
    std::lock_guard lock(mutex_);
    return alive_;
  }

  HidTransportFactory factory();

 private:
  friend class FakeHidTransport;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<Ids, Device> devices_;
  int openLinks_ = 0;
  int alive_ = 0;
};

class FakeHidTransport : public HidTransport {
 public:
  explicit FakeHidTransport(std::shared_ptr<FakeHidBus> bus) : bus_(std::move(bus)) {
    std::lock_guard lock(bus_->mutex_);
    ++bus_->alive_;
  }
  ~FakeHidTransport() override {
    close();
    std::lock_guard lock(bus_->mutex_);
    --bus_->alive_;
  }

  bool open(std::uint16_t vendorId, std::uint16_t productId) override {
    close();
    std::lock_guard lock(bus_->mutex_);
    auto& d = bus_->devices_[{vendorId, productId}];
    if (!d.attached) return false;
    ids_ = {vendorId, productId};
    generation_ = d.generation;
    open_ = true;
    ++bus_->openLinks_;
    return true;
  }

  HidReadResult read(std::span<std::uint8_t> buffer, int timeoutMs) override {
    std::unique_lock lock(bus_->mutex_);
    if (!open_) return {.deviceGone = true};
    auto& d = bus_->devices_[ids_];
    bus_->changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [&] { return d.generation != generation_ || !d.inputs.empty(); });
    if (d.generation != generation_) return {.deviceGone = true};
    if (d.inputs.empty()) return {};
    Bytes report = std::move(d.inputs.front());
    d.inputs.pop_front();
    const std::size_t n = std::min(report.size(), buffer.size());
    std::copy_n(report.begin(), n, buffer.begin());
    return {.length = n};
  }

  bool write(std::span<const std::uint8_t> report) override {
    std::lock_guard lock(bus_->mutex_);
    auto& d = bus_->devices_[ids_];
    if (!open_ || d.generation != generation_) return false;
    d.written.emplace_back(report.begin(), report.end());
    if (!report.empty()) {
      if (auto found = d.answers.find(report[0]); found != d.answers.end()) {
        d.inputs.insert(d.inputs.end(), found->second.begin(), found->second.end());
        bus_->changed_.notify_all();
      }
    }
    return true;
  }

  void close() override {
    std::lock_guard lock(bus_->mutex_);
    if (!open_) return;
    open_ = false;
    --bus_->openLinks_;
  }

 private:
  std::shared_ptr<FakeHidBus> bus_;
  FakeHidBus::Ids ids_{};
  int generation_ = 0;
  bool open_ = false;
};

inline HidTransportFactory FakeHidBus::factory() {
  return [bus = shared_from_this()] { return std::make_unique<FakeHidTransport>(bus); };
}

// The input reports a device sends its settings text in: 'P' from a camera, 'Q' from a dongle.
inline std::vector<Bytes> settingsChunks(char tag, const std::string& text) {
  std::vector<Bytes> reports;
  for (std::size_t at = 0, index = 0; at < text.size(); at += 14, ++index) {
    const std::size_t count = std::min<std::size_t>(14, text.size() - at);
    Bytes r(24, 0);
    r[0] = 0x80;
    r[7] = static_cast<std::uint8_t>(tag);
    r[8] = static_cast<std::uint8_t>(index);
    r[9] = static_cast<std::uint8_t>(count | (at + count == text.size() ? 0x80 : 0));
    std::copy_n(text.begin() + static_cast<long>(at), count, r.begin() + 10);
    reports.push_back(r);
  }
  return reports;
}

// The settings texts written with `code`, each put back together from its chunks.
inline std::vector<std::string> writtenTexts(const std::vector<Bytes>& reports, std::uint8_t code) {
  std::vector<std::string> texts;
  for (const Bytes& r : reports) {
    if (r.size() < 21 || r[0] != code) continue;
    if (r[5] == 0) texts.emplace_back();
    if (texts.empty()) continue;
    texts.back().append(r.begin() + 7, r.begin() + 7 + (r[6] & 0x7F));
  }
  return texts;
}

// Lets queued main-thread work run until `done` holds; false when the deadline passes first.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

// The notifications of the given names, in the order they arrived.
class NotificationLog : public QObject {
 public:
  explicit NotificationLog(std::initializer_list<const char*> names) {
    for (const char* name : names) {
      NotificationCenter::instance().observe(name, this,
                                             [this, n = QString(name)](const QVariantMap& info) {
                                               seen.append({n, info});
                                             });
    }
  }
  int count(const QString& name) const {
    return static_cast<int>(
        std::count_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == name; }));
  }
  QList<std::pair<QString, QVariantMap>> seen;
};

}  // namespace dravin::testing
