#include "core/byte_count.h"

#include <gtest/gtest.h>

using namespace veltrin;

TEST(ByteCount, UsesMemoryUnitsWithAdaptiveFractions)
{
    const std::vector<std::pair<std::int64_t, std::string>> cases{
        {32768, "32 KB"},
        {49152, "48 KB"},
        {1536, "2 KB"},
        {262144, "256 KB"},
        {1048576, "1 MB"},
        {1572864, "1.5 MB"},
        {8388608, "8 MB"},
        {12582912, "12 MB"},
        {1073741824, "1 GB"},
        {1288490188, "1.2 GB"},
        {17179869184, "16 GB"},
        {25769803776, "24 GB"},
        {38654705664, "36 GB"},
        {1099511627776, "1 TB"},
        {2748779069440, "2.5 TB"},
        {1048575, "1 MB"}, // 1023.999 KB rounds into the next unit
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(formatByteCount(bytes), expected) << bytes;
}
