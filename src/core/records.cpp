#include "core/records.h"

#include "core/unicode_text.h"

namespace veltrin {
namespace {

bool fieldEqual(const std::string& a, const std::string& b) { return canonicallyEqual(a, b); }
bool fieldEqual(std::int64_t a, std::int64_t b) { return a == b; }
bool fieldEqual(bool a, bool b) { return a == b; }
bool fieldEqual(const Uuid& a, const Uuid& b) { return a == b; }

template <typename Element>
bool fieldEqual(const std::vector<Element>& a, const std::vector<Element>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i]))
            return false;
    return true;
}

template <typename Record>
bool memberwiseEqual(const Record& a, const Record& b)
{
    return std::apply(
        [&](const auto&... left) {
            return std::apply(
                [&](const auto&... right) { return (fieldEqual(left, right) && ...); },
                b.fields());
        },
        a.fields());
}

} // namespace

bool operator==(const CPUCluster& a, const CPUCluster& b) { return memberwiseEqual(a, b); }
bool operator==(const CPUInfo& a, const CPUInfo& b) { return memberwiseEqual(a, b); }
bool operator==(const MainboardInfo& a, const MainboardInfo& b) { return memberwiseEqual(a, b); }
bool operator==(const MemoryModule& a, const MemoryModule& b) { return memberwiseEqual(a, b); }
bool operator==(const MemoryInfo& a, const MemoryInfo& b) { return memberwiseEqual(a, b); }
bool operator==(const GPUInfo& a, const GPUInfo& b) { return memberwiseEqual(a, b); }
bool operator==(const BenchResult& a, const BenchResult& b) { return memberwiseEqual(a, b); }
bool operator==(const KernelExtension& a, const KernelExtension& b) { return memberwiseEqual(a, b); }
bool operator==(const BootInfo& a, const BootInfo& b) { return memberwiseEqual(a, b); }

} // namespace veltrin
