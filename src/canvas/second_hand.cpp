#include "canvas/second_hand.h"

#include <atomic>
#include <chrono>
#include <system_error>
#include <utility>

namespace quillo {

SecondHand::~SecondHand() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void SecondHand::Start(const std::function<void()>& work) {
  started_ = &work;
  {
    const std::lock_guard lock(mutex_);
    // On one core a second thread would only take turns with the first.
    if (!thread_.joinable() && !failed_ && std::thread::hardware_concurrency() != 1) {
      try {
        thread_ = std::thread([this] { Work(); });
      } catch (const std::system_error&) {
        failed_ = true;
      }
    }
    if (!thread_.joinable()) return;
    posted_ = &work;
  }
  wake_.notify_one();
}

void SecondHand::Finish() {
  (*std::exchange(started_, nullptr))();
  // Work the thread has not begun by now is all done: it is taken back rather than
  // waited for.
  std::unique_lock lock(mutex_);
  posted_ = nullptr;
  if (!busy_.load(std::memory_order_acquire)) return;
  lock.unlock();
  // The thread is at its last share, a few microseconds: watched for rather than
  // slept on, since waking from a sleep takes longer.
  const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
  while (busy_.load(std::memory_order_acquire) && std::chrono::steady_clock::now() < until)
    std::this_thread::yield();
  lock.lock();
  done_.wait(lock, [this] { return !busy_.load(std::memory_order_acquire); });
}

void SecondHand::Share(size_t count, const std::function<void(size_t)>& each) {
  std::atomic<size_t> next{0};
  const std::function<void()> take = [&] {
    for (size_t k; (k = next.fetch_add(1, std::memory_order_relaxed)) < count;)
      each(k);
  };
  Start(take);
  Finish();
}

void SecondHand::Work() {
  std::unique_lock lock(mutex_);
  while (true) {
    wake_.wait(lock, [this] { return stop_ || posted_ != nullptr; });
    if (stop_) return;
    const std::function<void()>* work = std::exchange(posted_, nullptr);
    busy_.store(true, std::memory_order_relaxed);
    lock.unlock();
    (*work)();
    busy_.store(false, std::memory_order_release);
    lock.lock();
    done_.notify_one();
  }
}

}  // namespace quillo
