// Frame cost of the radio against its floor in each steady state.
//
//   trallio_bench                      Google Benchmark runs (radio and floor per state)
//   trallio_bench --table [ms]         own-work ratio per state, from the best of repeated timings
//   trallio_bench --allocations        heap allocations per steady frame
//   trallio_bench --frames STATE radio|floor N
//                                      runs N frames and nothing else (for instruction counts)
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "alloc_counter.h"
#include "frames.h"

namespace {

using bench::Steady;

void BM_Radio(benchmark::State& state, Steady steady) {
    bench::Prepare(steady);
    for (auto _ : state) {
        bench::RadioFrame();
        benchmark::ClobberMemory();
    }
}

void BM_Floor(benchmark::State& state, Steady steady) {
    bench::Prepare(steady);
    for (auto _ : state) {
        bench::FloorFrame(steady);
        benchmark::ClobberMemory();
    }
}

void RegisterAll() {
    for (Steady steady : bench::kAllStates) {
        benchmark::RegisterBenchmark((std::string("radio/") + bench::Name(steady)).c_str(), BM_Radio, steady);
        benchmark::RegisterBenchmark((std::string("floor/") + bench::Name(steady)).c_str(), BM_Floor, steady);
    }
}

// Best time per frame over `rounds` rounds of `frames` frames.
template <typename Frame>
double BestNanoseconds(Frame frame, int rounds, int frames) {
    double best = 1e30;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < frames; ++i) {
            frame();
        }
        const auto end = std::chrono::steady_clock::now();
        const double ns = std::chrono::duration<double, std::nano>(end - start).count() / frames;
        if (ns < best) {
            best = ns;
        }
    }
    return best;
}

int Table() {
    std::printf("%-26s %12s %12s %8s\n", "state", "radio ns", "floor ns", "ratio");
    for (Steady steady : bench::kAllStates) {
        bench::Prepare(steady);
        const double radio = BestNanoseconds([] { bench::RadioFrame(); }, 30, 2000);
        bench::Prepare(steady);
        const double floor = BestNanoseconds([steady] { bench::FloorFrame(steady); }, 30, 2000);
        std::printf("%-26s %12.1f %12.1f %8.2f\n", bench::Name(steady), radio, floor, radio / floor);
    }
    return 0;
}

int Allocations() {
    std::printf("%-26s %18s\n", "state", "allocations/frame");
    for (Steady steady : bench::kAllStates) {
        bench::Prepare(steady);
        for (int i = 0; i < 10; ++i) {
            bench::RadioFrame();
        }
        const uint64_t before = bench::AllocationCount();
        const int frames = 10000;
        for (int i = 0; i < frames; ++i) {
            bench::RadioFrame();
        }
        const uint64_t count = bench::AllocationCount() - before;
        std::printf("%-26s %18.4f\n", bench::Name(steady), static_cast<double>(count) / frames);
    }
    return 0;
}

int Frames(const char* stateName, const char* which, long count) {
    for (Steady steady : bench::kAllStates) {
        if (std::strcmp(bench::Name(steady), stateName) != 0) {
            continue;
        }
        bench::Prepare(steady);
        const bool radio = std::strcmp(which, "radio") == 0;
        for (long i = 0; i < count; ++i) {
            if (radio) {
                bench::RadioFrame();
            } else {
                bench::FloorFrame(steady);
            }
        }
        return 0;
    }
    std::fprintf(stderr, "unknown state %s\n", stateName);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--table") == 0) {
        return Table();
    }
    if (argc >= 2 && std::strcmp(argv[1], "--allocations") == 0) {
        return Allocations();
    }
    if (argc >= 5 && std::strcmp(argv[1], "--frames") == 0) {
        return Frames(argv[2], argv[3], std::strtol(argv[4], nullptr, 10));
    }
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
