#pragma once
// A costly setting a benchmark program makes once and shares between its benchmarks, or the
// reason it could not be made (each benchmark then reports that as its error).
#include <exception>
#include <memory>
#include <string>

namespace kembo::bench {

template <typename Setting>
Setting* MadeOnce(std::string& error) {
    static std::string failure;
    static const std::unique_ptr<Setting> setting = []() -> std::unique_ptr<Setting> {
        try {
            return std::make_unique<Setting>();
        } catch (const std::exception& e) {
            failure = e.what();
            return nullptr;
        }
    }();
    error = failure;
    return setting.get();
}

}  // namespace kembo::bench
