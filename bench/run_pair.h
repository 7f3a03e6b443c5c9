#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace quillo {

using PairClock = std::chrono::steady_clock;

// Reports the peer's time and ours, each the mean over its timed runs (one an iteration
// for the peer, ourRuns for ours), and the peer's over ours (above 1: ours is faster).
inline void ReportPair(benchmark::State& state, PairClock::duration peerTime,
                       PairClock::duration ourTime, int ourRuns = 1) {
  const auto n = static_cast<double>(state.iterations());
  const auto us = [](PairClock::duration d, double runs) {
    return std::chrono::duration<double, std::micro>(d).count() / runs;
  };
  state.counters["peer_us"] = us(peerTime, n);
  state.counters["quillo_us"] = us(ourTime, n * ourRuns);
  state.counters["peer_over_quillo"] = us(peerTime, n) / us(ourTime, n * ourRuns);
}

// The loop the pairs below share: each iteration runs the peer twice, timing the
// second run, then calls timeOurs, which runs ours and returns the time it measured
// (over ourRuns runs).
template <class Peer, class TimeOurs>
void RunPairTimed(benchmark::State& state, Peer&& peer, TimeOurs&& timeOurs, int ourRuns) {
  PairClock::duration peerTime{};
  PairClock::duration ourTime{};
  for (auto _ : state) {
    peer();
    const auto t0 = PairClock::now();
    peer();
    peerTime += PairClock::now() - t0;
    ourTime += timeOurs();
  }
  ReportPair(state, peerTime, ourTime, ourRuns);
}

// Runs a peer and our code by turns in every iteration, so that a busy shared machine
// weighs on both sides of the ratio alike. Each side runs once untimed first, so that
// both are timed warm, as when run on their own.
template <class Peer, class Ours>
void RunPair(benchmark::State& state, Peer&& peer, Ours&& ours) {
  RunPairTimed(
      state, peer,
      [&] {
        ours();
        const auto t0 = PairClock::now();
        ours();
        return PairClock::now() - t0;
      },
      1);
}

// RunPair for code that needs work before each run which is not to be timed: ours runs
// twice an iteration, both runs timed, each after prepare() outside the clock.
template <class Peer, class Prepare, class Ours>
void RunPairPrepared(benchmark::State& state, Peer&& peer, Prepare&& prepare, Ours&& ours) {
  RunPairTimed(
      state, peer,
      [&] {
        PairClock::duration time{};
        for (int run = 0; run < 2; ++run) {
          prepare();
          const auto t0 = PairClock::now();
          ours();
          time += PairClock::now() - t0;
        }
        return time;
      },
      2);
}

// RunPairPrepared at a person's pace: each side is timed once an iteration, after the
// same pause, with prepare() run before ours' pause. A pause lets the caches and the
// processor go cold, so the peer waits as long as ours.
template <class Peer, class Prepare, class Ours>
void RunPairPaced(benchmark::State& state, std::chrono::milliseconds pause, Peer&& peer,
                  Prepare&& prepare, Ours&& ours) {
  PairClock::duration peerTime{};
  PairClock::duration ourTime{};
  for (auto _ : state) {
    std::this_thread::sleep_for(pause);
    const auto t0 = PairClock::now();
    peer();
    peerTime += PairClock::now() - t0;
    prepare();
    std::this_thread::sleep_for(pause);
    const auto t1 = PairClock::now();
    ours();
    ourTime += PairClock::now() - t1;
  }
  ReportPair(state, peerTime, ourTime);
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
