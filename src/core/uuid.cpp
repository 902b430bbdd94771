#include "core/uuid.h"

#include <uuid/uuid.h>

namespace veltrin {

Uuid Uuid::random()
{
    Uuid result;
    uuid_t raw;
    uuid_generate_random(raw);
    for (std::size_t i = 0; i < result.bytes_.size(); ++i)
        result.bytes_[i] = raw[i];
    return result;
}

std::string Uuid::toString() const
{
    uuid_t raw;
    for (std::size_t i = 0; i < bytes_.size(); ++i)
        raw[i] = bytes_[i];
    char text[37];
    uuid_unparse_lower(raw, text);
    return text;
}

} // namespace veltrin
