// The runner behind benchmark/benchmark.h: registration, iteration counts, repetitions and the
// console and CSV reports, in the shapes Google Benchmark prints them.
#include "benchmark/benchmark.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <regex>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace benchmark {

namespace {

struct Flags {
    std::string filter = ".";
    double minTime = 0.5;
    int repetitions = 1;
    bool aggregatesOnly = false;
    bool csv = false;
};

Flags& TheFlags() {
    static Flags flags;
    return flags;
}

std::vector<std::unique_ptr<internal::Benchmark>>& Registered() {
    static std::vector<std::unique_ptr<internal::Benchmark>> all;
    return all;
}

double RealNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// CPU time of the calling thread.
double CpuNow() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
#else
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
#endif
}

}  // namespace

State::State(IterationCount iterations, std::vector<int64_t> ranges)
    : max_iterations(iterations), ranges_(std::move(ranges)) {}

State::StateIterator State::begin() {
    StartLoop();
    return StateIterator(this);
}

bool State::KeepRunningBatch(IterationCount n) {
    if (!started_) {
        StartLoop();
        batchLeft_ = max_iterations;
    }
    if (!errorOccurred_ && batchLeft_ >= n) {
        batchLeft_ -= n;
        return true;
    }
    if (!finished_) FinishLoop();
    return false;
}

void State::StartLoop() {
    started_ = true;
    ResumeTiming();
}

void State::FinishLoop() {
    PauseTiming();
    finished_ = true;
    done_ = max_iterations;
}

void State::PauseTiming() {
    if (!running_) return;
    realSeconds_ += RealNow() - realStart_;
    cpuSeconds_ += CpuNow() - cpuStart_;
    running_ = false;
}

void State::ResumeTiming() {
    running_ = true;
    realStart_ = RealNow();
    cpuStart_ = CpuNow();
}

void State::SkipWithError(const std::string& message) {
    errorOccurred_ = true;
    errorMessage_ = message;
}

namespace internal {

Benchmark* Benchmark::Name(const std::string& name) {
    name_ = name;
    return this;
}

Benchmark* Benchmark::Arg(int64_t x) { return Args({x}); }

Benchmark* Benchmark::Args(const std::vector<int64_t>& args) {
    args_.push_back(args);
    return this;
}

Benchmark* Benchmark::ArgNames(const std::vector<std::string>& names) {
    argNames_ = names;
    return this;
}

Benchmark* Benchmark::RangeMultiplier(int multiplier) {
    rangeMultiplier_ = std::max(2, multiplier);
    return this;
}

// start, the powers of the multiplier in between, and limit.
Benchmark* Benchmark::Range(int64_t start, int64_t limit) {
    Arg(start);
    for (int64_t x = 1; x < limit; x *= rangeMultiplier_)
        if (x > start) Arg(x);
    if (limit != start) Arg(limit);
    return this;
}

Benchmark* Benchmark::DenseRange(int64_t start, int64_t limit, int step) {
    for (int64_t x = start; x <= limit; x += std::max(1, step)) Arg(x);
    return this;
}

Benchmark* Benchmark::Apply(void (*custom)(Benchmark*)) {
    custom(this);
    return this;
}

Benchmark* Benchmark::Unit(TimeUnit unit) {
    options_.unit = unit;
    return this;
}

Benchmark* Benchmark::MinTime(double seconds) {
    options_.minTime = seconds;
    return this;
}

Benchmark* Benchmark::Iterations(IterationCount n) {
    options_.iterations = n;
    return this;
}

Benchmark* Benchmark::Repetitions(int n) {
    options_.repetitions = n;
    return this;
}

Benchmark* Benchmark::ReportAggregatesOnly(bool value) {
    options_.aggregatesOnly = value;
    return this;
}

Benchmark* Benchmark::UseRealTime() {
    options_.realTime = true;
    return this;
}

Benchmark* Benchmark::UseManualTime() {
    options_.manualTime = true;
    return this;
}

Benchmark* Benchmark::Threads(int threads) {
    if (threads != 1) throw std::invalid_argument("only single-threaded benchmarks are supported here");
    return this;
}

Benchmark* RegisterBenchmarkInternal(Benchmark* benchmark) {
    Registered().emplace_back(benchmark);
    return benchmark;
}

// One line of the report.
struct Row {
    std::string name;
    IterationCount iterations = 0;
    double real = 0, cpu = 0;  // seconds per iteration
    TimeUnit unit = kNanosecond;
    std::map<std::string, double> counters;
    std::string label;
    std::string error;
};

struct Runner {
    const Benchmark& benchmark;
    std::vector<int64_t> args;
    std::string name;

    // One run of the benchmark with a fixed iteration count.
    State RunOnce(IterationCount iterations) const {
        State state(iterations, args);
        const_cast<Benchmark&>(benchmark).Run(state);
        if (state.running_) state.PauseTiming();
        return state;
    }

    double Measured(const State& state) const {
        const Benchmark::Options& o = benchmark.Opts();
        return o.manualTime ? state.manualSeconds_ : state.realSeconds_;
    }

    // Grows the iteration count until a run lasts the minimum time, as the reference does.
    State Measure() const {
        const Benchmark::Options& o = benchmark.Opts();
        if (o.iterations > 0) return RunOnce(o.iterations);
        const double minTime = o.minTime > 0 ? o.minTime : TheFlags().minTime;
        constexpr IterationCount kMaxIterations = 1000000000;
        IterationCount iterations = 1;
        for (;;) {
            State state = RunOnce(iterations);
            const double seconds = Measured(state);
            if (state.errorOccurred_ || seconds >= minTime || iterations >= kMaxIterations) return state;
            const double multiplier = seconds / minTime > 0.1 ? minTime * 1.4 / std::max(seconds, 1e-9) : 10.0;
            const double next = std::max(multiplier * static_cast<double>(iterations), static_cast<double>(iterations) + 1);
            iterations = static_cast<IterationCount>(std::min(next, static_cast<double>(kMaxIterations)));
        }
    }

    Row ToRow(const State& state) const {
        const Benchmark::Options& o = benchmark.Opts();
        Row row;
        row.name = name;
        row.unit = o.unit;
        row.label = state.label_;
        if (state.errorOccurred_) {
            row.error = state.errorMessage_;
            return row;
        }
        const double n = static_cast<double>(std::max<IterationCount>(state.done_, 1));
        row.iterations = state.done_;
        row.real = (o.manualTime ? state.manualSeconds_ : state.realSeconds_) / n;
        row.cpu = state.cpuSeconds_ / n;
        const double seconds = o.manualTime ? state.manualSeconds_ : o.realTime ? state.realSeconds_ : state.cpuSeconds_;
        for (const auto& [key, counter] : state.counters) {
            double v = counter.value;
            if (counter.flags & Counter::kIsIterationInvariant) v *= n;
            if (counter.flags & Counter::kAvgIterations) v /= n;
            if (counter.flags & Counter::kIsRate) v = seconds > 0 ? v / seconds : 0;
            if (counter.flags & Counter::kInvert) v = v != 0 ? 1 / v : 0;
            row.counters[key] = v;
        }
        return row;
    }
};

}  // namespace internal

namespace {

using internal::Row;

double Mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x;
    return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t mid = v.size() / 2;
    return v.size() % 2 ? v[mid] : (v[mid - 1] + v[mid]) / 2;
}

double StdDev(const std::vector<double>& v) {
    if (v.size() < 2) return 0;
    const double m = Mean(v);
    double sum = 0;
    for (double x : v) sum += (x - m) * (x - m);
    return std::sqrt(sum / static_cast<double>(v.size() - 1));
}

// The mean, median and standard deviation rows of repeated runs.
std::vector<Row> Aggregates(const std::vector<Row>& runs) {
    std::vector<Row> out;
    const std::pair<const char*, double (*)(const std::vector<double>&)> kinds[] = {
        {"_mean", &Mean}, {"_median", [](const std::vector<double>& v) { return Median(v); }}, {"_stddev", &StdDev}};
    for (const auto& [suffix, statistic] : kinds) {
        Row row;
        row.name = runs.front().name + suffix;
        row.unit = runs.front().unit;
        row.iterations = static_cast<IterationCount>(runs.size());
        std::vector<double> real, cpu;
        for (const Row& r : runs) {
            real.push_back(r.real);
            cpu.push_back(r.cpu);
        }
        row.real = statistic(real);
        row.cpu = statistic(cpu);
        for (const auto& entry : runs.front().counters) {
            std::vector<double> values;
            for (const Row& r : runs) values.push_back(r.counters.count(entry.first) ? r.counters.at(entry.first) : 0);
            row.counters[entry.first] = statistic(values);
        }
        out.push_back(row);
    }
    return out;
}

const char* UnitName(TimeUnit unit) {
    switch (unit) {
    case kSecond: return "s";
    case kMillisecond: return "ms";
    case kMicrosecond: return "us";
    default: return "ns";
    }
}

double InUnit(double seconds, TimeUnit unit) {
    switch (unit) {
    case kSecond: return seconds;
    case kMillisecond: return seconds * 1e3;
    case kMicrosecond: return seconds * 1e6;
    default: return seconds * 1e9;
    }
}

// 1.5k, 2.3M, 4.1G/s as the reference prints them (1024 steps for bytes).
std::string Human(double value, double base) {
    const char* prefixes[] = {"", "k", "M", "G", "T", "P"};
    int i = 0;
    while (std::fabs(value) >= base && i < 5) {
        value /= base;
        ++i;
    }
    const std::string suffix = std::string(prefixes[i]) + (base == 1024 && i > 0 ? "i" : "");
    char text[64];
    std::snprintf(text, sizeof text, "%.5g%s", value, suffix.c_str());
    return text;
}

// Whole numbers from 100 on, fewer digits the larger the value.
std::string TimeText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, value < 10 ? "%.2f" : value < 100 ? "%.1f" : "%.0f", value);
    return text;
}

void PrintConsoleHeader(std::size_t nameWidth) {
    const std::string rule(nameWidth + 56, '-');
    std::printf("%s\n%-*s %13s %15s %12s UserCounters...\n%s\n", rule.c_str(), static_cast<int>(nameWidth), "Benchmark",
                "Time", "CPU", "Iterations", rule.c_str());
}

void PrintConsoleRow(const Row& row, std::size_t nameWidth) {
    if (!row.error.empty()) {
        std::printf("%-*s ERROR OCCURRED: '%s'\n", static_cast<int>(nameWidth), row.name.c_str(), row.error.c_str());
        return;
    }
    std::printf("%-*s %10s %-2s %12s %-2s %12lld", static_cast<int>(nameWidth), row.name.c_str(),
                TimeText(InUnit(row.real, row.unit)).c_str(), UnitName(row.unit), TimeText(InUnit(row.cpu, row.unit)).c_str(),
                UnitName(row.unit), static_cast<long long>(row.iterations));
    for (const auto& [key, value] : row.counters) {
        const bool bytes = key == "bytes_per_second";
        const bool rate = bytes || key == "items_per_second";
        std::printf(" %s=%s%s", key.c_str(), Human(value, bytes ? 1024 : 1000).c_str(), rate ? "/s" : "");
    }
    if (!row.label.empty()) std::printf(" %s", row.label.c_str());
    std::printf("\n");
    std::fflush(stdout);
}

void PrintCsv(const std::vector<Row>& rows) {
    std::vector<std::string> extra;
    for (const Row& row : rows)
        for (const auto& entry : row.counters)
            if (entry.first != "bytes_per_second" && entry.first != "items_per_second" &&
                std::find(extra.begin(), extra.end(), entry.first) == extra.end())
                extra.push_back(entry.first);
    std::printf("name,iterations,real_time,cpu_time,time_unit,bytes_per_second,items_per_second,label,error_occurred,error_message");
    for (const std::string& key : extra) std::printf(",\"%s\"", key.c_str());
    std::printf("\n");
    const auto counter = [](const Row& row, const std::string& key) {
        const auto it = row.counters.find(key);
        return it == row.counters.end() ? std::string() : std::to_string(it->second);
    };
    for (const Row& row : rows) {
        if (!row.error.empty()) {
            std::printf("\"%s\",,,,,,,,true,\"%s\"\n", row.name.c_str(), row.error.c_str());
            continue;
        }
        std::printf("\"%s\",%lld,%g,%g,%s,%s,%s,\"%s\",,", row.name.c_str(), static_cast<long long>(row.iterations),
                    InUnit(row.real, row.unit), InUnit(row.cpu, row.unit), UnitName(row.unit),
                    counter(row, "bytes_per_second").c_str(), counter(row, "items_per_second").c_str(), row.label.c_str());
        for (const std::string& key : extra) std::printf(",%s", counter(row, key).c_str());
        std::printf("\n");
    }
}

std::string ArgText(const internal::Benchmark& b, const std::vector<int64_t>& args) {
    std::string text;
    for (std::size_t i = 0; i < args.size(); ++i) {
        text += "/";
        if (i < b.ArgNameList().size() && !b.ArgNameList()[i].empty()) text += b.ArgNameList()[i] + ":";
        text += std::to_string(args[i]);
    }
    return text;
}

// "--name=value": the value, when the argument is that flag.
bool FlagValue(const char* argument, const char* name, std::string& value) {
    const std::size_t n = std::strlen(name);
    if (std::strncmp(argument, "--", 2) != 0 || std::strncmp(argument + 2, name, n) != 0 || argument[2 + n] != '=') return false;
    value = argument + 3 + n;
    return true;
}

}  // namespace

void Initialize(int* argc, char** argv) {
    Flags& flags = TheFlags();
    int kept = 1;
    for (int i = 1; i < *argc; ++i) {
        std::string value;
        if (FlagValue(argv[i], "benchmark_filter", value)) {
            flags.filter = value == "all" ? "." : value;
        } else if (FlagValue(argv[i], "benchmark_min_time", value)) {
            flags.minTime = std::atof(value.c_str());
        } else if (FlagValue(argv[i], "benchmark_repetitions", value)) {
            flags.repetitions = std::max(1, std::atoi(value.c_str()));
        } else if (FlagValue(argv[i], "benchmark_report_aggregates_only", value) ||
                   FlagValue(argv[i], "benchmark_display_aggregates_only", value)) {
            flags.aggregatesOnly = value == "true" || value == "1";
        } else if (FlagValue(argv[i], "benchmark_format", value)) {
            flags.csv = value == "csv";
        } else {
            argv[kept++] = argv[i];
        }
    }
    *argc = kept;
}

bool ReportUnrecognizedArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) std::fprintf(stderr, "%s: error: unrecognized command-line flag: %s\n", argv[0], argv[i]);
    return argc > 1;
}

std::size_t RunSpecifiedBenchmarks() {
    const Flags& flags = TheFlags();
    const std::regex filter(flags.filter);
    std::vector<internal::Runner> runners;
    for (const auto& b : Registered()) {
        std::vector<std::vector<int64_t>> sets = b->ArgSets();
        if (sets.empty()) sets.emplace_back();
        for (const auto& args : sets) {
            internal::Runner runner{*b, args, b->BaseName() + ArgText(*b, args)};
            if (std::regex_search(runner.name, filter)) runners.push_back(runner);
        }
    }
    std::size_t nameWidth = 10;
    for (const auto& r : runners) nameWidth = std::max(nameWidth, r.name.size() + 8);
    if (!flags.csv) PrintConsoleHeader(nameWidth);

    std::vector<Row> report;
    for (const auto& runner : runners) {
        const internal::Benchmark::Options& o = runner.benchmark.Opts();
        const int repetitions = o.repetitions > 0 ? o.repetitions : flags.repetitions;
        std::vector<Row> runs;
        for (int i = 0; i < repetitions; ++i) runs.push_back(runner.ToRow(runner.Measure()));
        std::vector<Row> rows;
        if (!(repetitions > 1 && (flags.aggregatesOnly || o.aggregatesOnly))) rows = runs;
        if (repetitions > 1 && runs.front().error.empty()) {
            const std::vector<Row> aggregates = Aggregates(runs);
            rows.insert(rows.end(), aggregates.begin(), aggregates.end());
        }
        for (const Row& row : rows) {
            if (!flags.csv) PrintConsoleRow(row, nameWidth);
            report.push_back(row);
        }
    }
    if (flags.csv) PrintCsv(report);
    return runners.size();
}

void Shutdown() { Registered().clear(); }

}  // namespace benchmark
