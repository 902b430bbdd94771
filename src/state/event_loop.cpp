#include "state/event_loop.h"

#include <QEventLoop>
#include <QFutureWatcher>

namespace veltrin {

void waitInEventLoop(const QFuture<void>& future)
{
    QEventLoop loop;
    QFutureWatcher<void> watcher;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(future);
    if (!future.isFinished())
        loop.exec();
}

} // namespace veltrin
