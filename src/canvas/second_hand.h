#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>

namespace quillo {

// A thread that takes a share of a large piece of work beside its caller: one core
// alone cannot keep the memory busy, so the history's copies over the whole screen go
// nearly twice as fast with two. It works only while its caller waits for it, and
// sleeps otherwise.
class SecondHand {
 public:
  SecondHand() = default;
  ~SecondHand();
  SecondHand(const SecondHand&) = delete;
  SecondHand& operator=(const SecondHand&) = delete;

  // Starts work on the thread while the caller goes on; Finish runs it here too and
  // returns when the thread is done with it, so work must share itself out between
  // the two calls, and run to the end in either. work must not throw, and lives until
  // Finish. Without a thread (on one core, or none could be had) it runs here alone.
  void Start(const std::function<void()>& work);
  void Finish();

  // Calls each(k) once for every k in [0, count), here and on the thread, each taking
  // the next k not yet taken, and returns when all are done. each must not throw.
  void Share(size_t count, const std::function<void(size_t)>& each);

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  // The work started, and the same once posted to the thread and not yet begun there.
  const std::function<void()>* started_ = nullptr;
  const std::function<void()>* posted_ = nullptr;
  // Whether the thread is inside the work: set when it takes the work, under the lock,
  // and cleared without it, so that Finish can watch it.
  std::atomic<bool> busy_{false};
  bool stop_ = false;
  bool failed_ = false;
  std::thread thread_;
};

}  // namespace quillo
