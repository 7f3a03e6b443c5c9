#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace quillo {

// Runs a peer and our code by turns in every iteration, so that a busy shared machine
// weighs on both sides of the ratio alike. Each side runs once untimed first, so that
// both are timed warm, as when run on their own. Reports both times and the peer's
// over ours (above 1: ours is faster).
template <class Peer, class Ours>
void RunPair(benchmark::State& state, Peer&& peer, Ours&& ours) {
  using Clock = std::chrono::steady_clock;
  Clock::duration peerTime{};
  Clock::duration ourTime{};
  for (auto _ : state) {
    peer();
    const auto t0 = Clock::now();
    peer();
    const auto t1 = Clock::now();
    ours();
    const auto t2 = Clock::now();
    ours();
    const auto t3 = Clock::now();
    peerTime += t1 - t0;
    ourTime += t3 - t2;
  }
  const auto n = static_cast<double>(state.iterations());
  const auto us = [n](Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count() / n;
  };
  state.counters["peer_us"] = us(peerTime);
  state.counters["quillo_us"] = us(ourTime);
  state.counters["peer_over_quillo"] = us(peerTime) / us(ourTime);
}

// RunPair for code that needs work before each run which is not to be timed: before
// every run of ours, prepare() runs outside the clock.
template <class Peer, class Prepare, class Ours>
void RunPairPrepared(benchmark::State& state, Peer&& peer, Prepare&& prepare, Ours&& ours) {
  using Clock = std::chrono::steady_clock;
  Clock::duration ourTime{};
  RunPair(state, peer, [&] {
    prepare();
    const auto t0 = Clock::now();
    ours();
    ourTime += Clock::now() - t0;
  });
  // RunPair runs ours twice an iteration; both runs are timed here.
  const auto n = static_cast<double>(state.iterations()) * 2;
  const double us = std::chrono::duration<double, std::micro>(ourTime).count() / n;
  state.counters["quillo_us"] = us;
  state.counters["peer_over_quillo"] = state.counters["peer_us"].value / us;
}

// RunPairPrepared at a person's pace: each side is timed once an iteration, after the
// same pause, with prepare() run before ours' pause. A pause lets the caches and the
// processor go cold, so the peer waits as long as ours.
template <class Peer, class Prepare, class Ours>
void RunPairPaced(benchmark::State& state, std::chrono::milliseconds pause, Peer&& peer,
                  Prepare&& prepare, Ours&& ours) {
  using Clock = std::chrono::steady_clock;
  Clock::duration peerTime{};
  Clock::duration ourTime{};
  for (auto _ : state) {
    std::this_thread::sleep_for(pause);
    const auto t0 = Clock::now();
    peer();
    peerTime += Clock::now() - t0;
    prepare();
    std::this_thread::sleep_for(pause);
    const auto t1 = Clock::now();
    ours();
    ourTime += Clock::now() - t1;
  }
  const auto n = static_cast<double>(state.iterations());
  const auto us = [n](Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count() / n;
  };
  state.counters["peer_us"] = us(peerTime);
  state.counters["quillo_us"] = us(ourTime);
  state.counters["peer_over_quillo"] = us(peerTime) / us(ourTime);
}

// The usual peer: one memcpy of a picture of the given size between two buffers.
struct MemcpyPeer {
  explicit MemcpyPeer(size_t bytes) : from(bytes, 1), to(bytes, 2) {}
  void operator()() {
    std::memcpy(to.data(), from.data(), to.size());
    benchmark::ClobberMemory();
  }
  std::vector<uint8_t> from;
  std::vector<uint8_t> to;
};

}  // namespace quillo
