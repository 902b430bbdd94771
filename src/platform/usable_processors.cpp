#include "platform/usable_processors.h"

#include <algorithm>
#include <cerrno>
#include <climits>

#include <unistd.h>

#ifdef __linux__
#include <sched.h>

#include <cstddef>
#endif

namespace veltrin {
namespace {

int activeProcessorCount()
{
    const long active = sysconf(_SC_NPROCESSORS_ONLN);
    return static_cast<int>(std::clamp<long>(active, 1, INT_MAX));
}

#ifdef __linux__
// The affinity mask may be wider than the default cpu_set_t on machines with
// many processors; the set grows until the kernel accepts its size.
int affinityCount()
{
    for (int processors = CPU_SETSIZE; processors <= (1 << 20); processors *= 2) {
        cpu_set_t* set = CPU_ALLOC(processors);
        if (set == nullptr)
            return 0;
        const std::size_t size = CPU_ALLOC_SIZE(processors);
        CPU_ZERO_S(size, set);
        const int status = sched_getaffinity(0, size, set);
        const int count = status == 0 ? CPU_COUNT_S(size, set) : 0;
        CPU_FREE(set);
        if (status == 0)
            return count;
        if (errno != EINVAL)
            return 0;
    }
    return 0;
}
#endif

} // namespace

int usableProcessorCount()
{
#ifdef __linux__
    if (const int allowed = affinityCount(); allowed > 0)
        return allowed;
#endif
    // macOS has no affinity masks: every active processor is available.
    return activeProcessorCount();
}

} // namespace veltrin
