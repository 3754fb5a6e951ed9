// The benchmark runner of the i686 build, where it runs: names, iteration counts, counters,
// repetitions and errors as its CSV report gives them to the comparison with the native figures.
#include <gtest/gtest.h>

#include <benchmark/benchmark.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Row = std::map<std::string, std::string>;

// Runs the registered benchmarks with the given flags (after short defaults); the CSV rows by
// benchmark name.
std::map<std::string, Row> RunAll(const std::vector<std::string>& given) {
    std::vector<std::string> flags = {"runner", "--benchmark_format=csv", "--benchmark_min_time=0.02",
                                      "--benchmark_repetitions=1", "--benchmark_report_aggregates_only=false"};
    flags.insert(flags.end(), given.begin(), given.end());
    std::vector<char*> argv;
    for (std::string& f : flags) argv.push_back(f.data());
    int argc = static_cast<int>(argv.size());
    benchmark::Initialize(&argc, argv.data());
    EXPECT_FALSE(benchmark::ReportUnrecognizedArguments(argc, argv.data()));
    testing::internal::CaptureStdout();
    benchmark::RunSpecifiedBenchmarks();
    std::istringstream csv(testing::internal::GetCapturedStdout());
    benchmark::Shutdown();

    std::vector<std::string> columns;
    std::map<std::string, Row> rows;
    for (std::string line; std::getline(csv, line);) {
        std::vector<std::string> cells;
        std::stringstream fields(line);
        for (std::string cell; std::getline(fields, cell, ',');) {
            if (cell.size() >= 2 && cell.front() == '"') cell = cell.substr(1, cell.size() - 2);
            cells.push_back(cell);
        }
        if (columns.empty()) {
            columns = cells;
            continue;
        }
        Row& row = rows[cells.at(0)];
        for (std::size_t i = 0; i < cells.size() && i < columns.size(); ++i) row[columns[i]] = cells[i];
    }
    return rows;
}

double Number(const Row& row, const std::string& column) { return std::stod(row.at(column)); }

TEST(BenchRunnerTest, NamesArgumentsIterationsAndRates) {
    std::map<std::string, int64_t> seen;  // name → iterations the loop ran
    benchmark::RegisterBenchmark("Sized", [&](benchmark::State& state) {
        int64_t loops = 0;
        for (auto _ : state) benchmark::DoNotOptimize(++loops);
        seen["Sized/w:" + std::to_string(state.range(0)) + "/h:" + std::to_string(state.range(1))] = loops;
        state.SetBytesProcessed(state.iterations() * 1000);
    })->Args({3, 4})->Args({5, 6})->ArgNames({"w", "h"})->UseRealTime();
    benchmark::RegisterBenchmark("Fixed", [&](benchmark::State& state) {
        while (state.KeepRunning()) seen["Fixed"]++;
        state.counters["per"] = benchmark::Counter(50, benchmark::Counter::kAvgIterations);
    })->Iterations(5);
    benchmark::RegisterBenchmark("Failing", [](benchmark::State& state) { state.SkipWithError("no input"); });
    benchmark::RegisterBenchmark("Filtered", [&](benchmark::State& state) {
        for (auto _ : state) seen["Filtered"]++;
    });

    const auto rows = RunAll({"--benchmark_filter=Sized|Fixed|Failing"});
    ASSERT_EQ(rows.size(), 4u);
    for (const char* name : {"Sized/w:3/h:4", "Sized/w:5/h:6"}) {
        const Row& row = rows.at(name);
        EXPECT_EQ(Number(row, "iterations"), seen.at(name)) << name;
        // Bytes over the wall-clock time of the loop, as Google Benchmark reports them.
        const double seconds = Number(row, "real_time") * 1e-9 * Number(row, "iterations");
        EXPECT_NEAR(Number(row, "bytes_per_second") * seconds / 1000 / Number(row, "iterations"), 1.0, 0.01) << name;
        EXPECT_GE(seconds, 0.02) << name;
    }
    EXPECT_EQ(Number(rows.at("Fixed"), "iterations"), 5);
    EXPECT_EQ(seen.at("Fixed"), 5);
    EXPECT_EQ(Number(rows.at("Fixed"), "per"), 10);
    EXPECT_EQ(rows.at("Failing").at("error_occurred"), "true");
    EXPECT_EQ(rows.at("Failing").at("error_message"), "no input");
    EXPECT_EQ(seen.count("Filtered"), 0u);
}

TEST(BenchRunnerTest, RepetitionsReportMeanMedianAndDeviation) {
    int repetition = 0;
    benchmark::RegisterBenchmark("Timed", [&](benchmark::State& state) {
        const double ms[] = {1, 4, 2, 3};  // each repetition's time per iteration
        const double each = ms[repetition++ % 4] * 1e-3;
        for (auto _ : state) state.SetIterationTime(each);
    })->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

    const auto rows = RunAll({"--benchmark_filter=Timed", "--benchmark_repetitions=4", "--benchmark_report_aggregates_only=true"});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_NEAR(Number(rows.at("Timed_median"), "real_time"), 2.5, 1e-9);
    EXPECT_NEAR(Number(rows.at("Timed_mean"), "real_time"), 2.5, 1e-9);
    EXPECT_NEAR(Number(rows.at("Timed_stddev"), "real_time"), 1.29099, 1e-5);  // sqrt(5 / 3), six digits
    EXPECT_EQ(rows.at("Timed_median").at("time_unit"), "ms");
    EXPECT_EQ(Number(rows.at("Timed_median"), "iterations"), 4);
}

}  // namespace
