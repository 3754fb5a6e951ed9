#pragma once
// The part of Google Benchmark's interface that our benchmarks use, for the i686 Windows build,
// which cannot link the system's library: the same bench sources then run in both worlds.
// Single-threaded; timing by the steady clock, CPU time of the calling thread; each benchmark
// run with growing iteration counts until it lasts --benchmark_min_time seconds.
// Flags: --benchmark_filter=REGEX, --benchmark_min_time=SECONDS, --benchmark_repetitions=N
// (then mean, median and stddev rows), --benchmark_report_aggregates_only=true,
// --benchmark_format=console|csv.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace benchmark {

using IterationCount = int64_t;

enum TimeUnit { kNanosecond, kMicrosecond, kMillisecond, kSecond };

class Counter {
public:
    enum Flags {
        kDefaults = 0,
        kIsRate = 1,
        kAvgThreads = 2,
        kAvgThreadsRate = kIsRate | kAvgThreads,
        kIsIterationInvariant = 4,
        kIsIterationInvariantRate = kIsRate | kIsIterationInvariant,
        kAvgIterations = 8,
        kAvgIterationsRate = kIsRate | kAvgIterations,
        kInvert = 16,
    };
    enum OneK { kIs1000 = 1000, kIs1024 = 1024 };

    Counter(double v = 0.0, Flags f = kDefaults, OneK k = kIs1000) : value(v), flags(f), oneK(k) {}
    operator const double&() const { return value; }
    operator double&() { return value; }

    double value;
    Flags flags;
    OneK oneK;
};

using UserCounters = std::map<std::string, Counter>;

namespace internal {
struct Runner;
}  // namespace internal

class State {
public:
    struct [[maybe_unused]] Value {};

    class StateIterator {
    public:
        StateIterator() = default;
        explicit StateIterator(State* state) : state_(state), left_(state->max_iterations) {}
        Value operator*() const { return Value(); }
        StateIterator& operator++() {
            --left_;
            return *this;
        }
        bool operator!=(const StateIterator&) {
            if (left_ != 0) return true;
            state_->FinishLoop();
            return false;
        }

    private:
        State* state_ = nullptr;
        IterationCount left_ = 0;
    };

    StateIterator begin();
    StateIterator end() { return StateIterator(); }
    bool KeepRunning() { return KeepRunningBatch(1); }
    bool KeepRunningBatch(IterationCount n);

    void PauseTiming();
    void ResumeTiming();
    void SkipWithError(const std::string& message);
    bool error_occurred() const { return errorOccurred_; }
    void SetIterationTime(double seconds) { manualSeconds_ += seconds; }

    void SetBytesProcessed(int64_t bytes) { counters["bytes_per_second"] = Counter(static_cast<double>(bytes), Counter::kIsRate, Counter::kIs1024); }
    void SetItemsProcessed(int64_t items) { counters["items_per_second"] = Counter(static_cast<double>(items), Counter::kIsRate); }
    void SetLabel(const std::string& label) { label_ = label; }

    int64_t range(std::size_t pos = 0) const { return ranges_.at(pos); }
    int64_t range_x() const { return range(0); }
    int64_t range_y() const { return range(1); }
    IterationCount iterations() const { return done_; }
    int threads() const { return 1; }
    int thread_index() const { return 0; }

    const IterationCount max_iterations;
    UserCounters counters;

private:
    friend struct internal::Runner;
    State(IterationCount iterations, std::vector<int64_t> ranges);
    void StartLoop();
    void FinishLoop();

    std::vector<int64_t> ranges_;
    IterationCount done_ = 0;
    IterationCount batchLeft_ = 0;
    bool started_ = false;
    bool finished_ = false;
    bool running_ = false;
    bool errorOccurred_ = false;
    std::string errorMessage_;
    std::string label_;
    double realSeconds_ = 0, cpuSeconds_ = 0, manualSeconds_ = 0;
    double realStart_ = 0, cpuStart_ = 0;
};

namespace internal {

class Benchmark {
public:
    explicit Benchmark(std::string name) : name_(std::move(name)) {}
    virtual ~Benchmark() = default;
    virtual void Run(State& state) = 0;

    Benchmark* Name(const std::string& name);
    Benchmark* Arg(int64_t x);
    Benchmark* Args(const std::vector<int64_t>& args);
    Benchmark* ArgPair(int64_t x, int64_t y) { return Args({x, y}); }
    Benchmark* ArgName(const std::string& name) { return ArgNames({name}); }
    Benchmark* ArgNames(const std::vector<std::string>& names);
    Benchmark* Range(int64_t start, int64_t limit);
    Benchmark* RangeMultiplier(int multiplier);
    Benchmark* DenseRange(int64_t start, int64_t limit, int step = 1);
    Benchmark* Apply(void (*custom)(Benchmark*));
    Benchmark* Unit(TimeUnit unit);
    Benchmark* MinTime(double seconds);
    Benchmark* Iterations(IterationCount n);
    Benchmark* Repetitions(int n);
    Benchmark* ReportAggregatesOnly(bool value = true);
    Benchmark* DisplayAggregatesOnly(bool value = true) { return ReportAggregatesOnly(value); }
    Benchmark* UseRealTime();
    Benchmark* UseManualTime();
    Benchmark* MeasureProcessCPUTime() { return this; }
    Benchmark* Threads(int threads);

    struct Options {
        TimeUnit unit = kNanosecond;
        double minTime = 0;  // 0: the command line's
        IterationCount iterations = 0;
        int repetitions = 0;
        bool aggregatesOnly = false;
        bool realTime = false;
        bool manualTime = false;
    };
    const std::string& BaseName() const { return name_; }
    const std::vector<std::vector<int64_t>>& ArgSets() const { return args_; }
    const std::vector<std::string>& ArgNameList() const { return argNames_; }
    const Options& Opts() const { return options_; }

private:
    std::string name_;
    std::vector<std::vector<int64_t>> args_;
    std::vector<std::string> argNames_;
    int rangeMultiplier_ = 8;
    Options options_;
};

class FunctionBenchmark : public Benchmark {
public:
    FunctionBenchmark(const char* name, void (*function)(State&)) : Benchmark(name), function_(function) {}
    void Run(State& state) override { function_(state); }

private:
    void (*function_)(State&);
};

class LambdaBenchmark : public Benchmark {
public:
    LambdaBenchmark(const std::string& name, std::function<void(State&)> function)
        : Benchmark(name), function_(std::move(function)) {}
    void Run(State& state) override { function_(state); }

private:
    std::function<void(State&)> function_;
};

Benchmark* RegisterBenchmarkInternal(Benchmark* benchmark);

}  // namespace internal

template <class F, class... A>
internal::Benchmark* RegisterBenchmark(const std::string& name, F&& function, A&&... args) {
    return internal::RegisterBenchmarkInternal(new internal::LambdaBenchmark(
        name, [=](State& state) { function(state, args...); }));
}

void Initialize(int* argc, char** argv);
bool ReportUnrecognizedArguments(int argc, char** argv);
std::size_t RunSpecifiedBenchmarks();
void Shutdown();

// Keeps a value (and what the compiler knows of memory) from being optimised away.
template <class T>
inline __attribute__((always_inline)) void DoNotOptimize(const T& value) {
    asm volatile("" : : "r,m"(value) : "memory");
}
template <class T>
inline __attribute__((always_inline)) void DoNotOptimize(T& value) {
    asm volatile("" : "+m,r"(value) : : "memory");
}
inline __attribute__((always_inline)) void ClobberMemory() { asm volatile("" : : : "memory"); }

}  // namespace benchmark

#define BENCHMARK_PRIVATE_CONCAT2(a, b) a##b
#define BENCHMARK_PRIVATE_CONCAT(a, b) BENCHMARK_PRIVATE_CONCAT2(a, b)
#define BENCHMARK_PRIVATE_NAME(n) BENCHMARK_PRIVATE_CONCAT(benchmark_registered_, BENCHMARK_PRIVATE_CONCAT(n, __LINE__))

#define BENCHMARK(...)                                                                  \
    [[maybe_unused]] static ::benchmark::internal::Benchmark* BENCHMARK_PRIVATE_NAME(_) = \
        ::benchmark::internal::RegisterBenchmarkInternal(                               \
            new ::benchmark::internal::FunctionBenchmark(#__VA_ARGS__, __VA_ARGS__))

#define BENCHMARK_CAPTURE(function, caseName, ...)                                      \
    [[maybe_unused]] static ::benchmark::internal::Benchmark* BENCHMARK_PRIVATE_NAME(_) = \
        ::benchmark::RegisterBenchmark(#function "/" #caseName,                         \
                                       [](::benchmark::State& s) { function(s, __VA_ARGS__); })

#define BENCHMARK_MAIN()                                                        \
    int main(int argc, char** argv) {                                           \
        ::benchmark::Initialize(&argc, argv);                                   \
        if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;     \
        ::benchmark::RunSpecifiedBenchmarks();                                  \
        ::benchmark::Shutdown();                                                \
        return 0;                                                               \
    }                                                                           \
    int main(int, char**)
