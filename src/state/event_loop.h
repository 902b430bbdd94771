#pragma once

#include <QFuture>

namespace veltrin {

// Turns the event loop until `future` finishes, so results the store publishes
// through posted events arrive while the caller waits.
void waitInEventLoop(const QFuture<void>& future);

} // namespace veltrin
