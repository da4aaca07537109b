#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "gst_ptr.h"

namespace dravin::gst {

// A pipeline built from a launch description, with its bus watched on a thread of its own.
// Errors and the end of the stream reach the callbacks on that thread, once each.
class Pipeline {
 public:
  // Throws GstError when the description does not parse.
  explicit Pipeline(const std::string& description);
  ~Pipeline();
  Pipeline(const Pipeline&) = delete;
  Pipeline& operator=(const Pipeline&) = delete;

  // Set before play(); called on the bus thread.
  std::function<void(const std::string& error)> onError;
  std::function<void()> onEos;

  // Starts the pipeline and waits until it runs; throws GstError with the first error otherwise.
  void play(GstClockTime timeout = 10 * GST_SECOND);
  // Starts a pipeline fed by the program: it runs once data arrives, so nothing waits for it.
  // Throws GstError when it refuses at once.
  void playWhenFed();
  void pause();
  // Sends end-of-stream and waits for it to pass the sinks, so files are finished.
  // Returns false when it did not arrive in time or an error came first.
  bool finish(GstClockTime timeout = 10 * GST_SECOND);
  // Waits for a stream that ends by itself (a file read to its end) to pass the sinks.
  // Returns false when it did not arrive in time or an error came first.
  bool waitForEnd(GstClockTime timeout);
  void stop();
  // Whether the first error was a sink running out of room on its disk; set before onError runs.
  bool ranOutOfSpace() const;

  GstElement* get() const { return pipeline_.get(); }
  // A named element of the pipeline, or nothing.
  ElementPtr element(const std::string& name) const;
  // Running time of the pipeline's clock, or GST_CLOCK_TIME_NONE before it runs.
  GstClockTime runningTime() const;

 private:
  void watchBus();
  [[noreturn]] void failToStart();
  void deliverError(const std::string& text, bool noSpaceLeft);

  ElementPtr pipeline_;
  BusPtr bus_;
  std::thread watcher_;
  std::atomic<bool> stopping_{false};
  mutable std::mutex stateMutex_;
  std::string firstError_;
  bool noSpaceLeft_ = false;
  bool eosSeen_ = false;
  bool errorDelivered_ = false;
  std::condition_variable_any changed_;
};

}  // namespace dravin::gst
