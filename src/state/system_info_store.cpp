#include "state/system_info_store.h"

#include "bench/result_text.h"

#include <QFutureWatcher>
#include <QPromise>
#include <QFuture>

#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <system_error>
#include <thread>

namespace veltrin {
namespace {

constexpr const char* kDash = "\u2014";

// Runs `work` on its own detached thread. Nothing ties the thread to its caller:
// the result is delivered through the future, whoever still holds it.
template <typename Result>
QFuture<Result> runDetached(std::function<Result()> work)
{
    auto promise = std::make_shared<QPromise<Result>>();
    QFuture<Result> future = promise->future();
    promise->start();
    auto task = [promise, work = std::move(work)] {
        promise->addResult(work());
        promise->finish();
    };
    try {
        std::thread(task).detach();
    } catch (const std::system_error&) {
        task(); // no thread to be had: still deliver, late rather than never
    }
    return future;
}

} // namespace

CPUInfo initialCPUInfo()
{
    return {"Unknown", "Apple / Intel", "Unknown", kDash, kDash, kDash, kDash, kDash, kDash, kDash, kDash};
}

MainboardInfo initialMainboardInfo()
{
    MainboardInfo info;
    info.chipset = "Unknown";
    return info;
}

SystemSnapshot initialSnapshot()
{
    SystemSnapshot snapshot;
    snapshot.cpu = initialCPUInfo();
    snapshot.mainboard = initialMainboardInfo();
    snapshot.memory = initialMemoryInfo();
    return snapshot;
}

MemoryInfo initialMemoryInfo() { return {kDash, kDash, kDash, kDash, kDash, kDash, {}}; }

BenchResult initialBenchResult() { return {0, 0, "Ready", "", "", "", "", ""}; }

bool isMacOS(std::string_view os)
{
    const char first = os.empty() ? '\0' : os.front();
    const bool named = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
    return !named;
}

std::string_view operatingSystemLabel(std::string_view os) { return isMacOS(os) ? "macOS: " : "OS: "; }


// Carries progress from a benchmark's thread to the store. The text itself stays
// in the relay, under its lock, and the posted event only tells the store to take
// the latest: the hand-over is ordered by a lock every checker sees, not by Qt's
// event queue alone, and a slow event loop skips stale rounds instead of
// replaying them. The store detaches under the same lock before it goes, so no
// post reaches a store being destroyed; Qt drops the events still queued for it.
class SystemInfoStore::ProgressRelay {
public:
    explicit ProgressRelay(SystemInfoStore* store) : store_(store) {}

    void detach()
    {
        const std::lock_guard lock(mutex_);
        store_ = nullptr;
    }

    void post(std::string progress)
    {
        const std::lock_guard lock(mutex_);
        if (store_ == nullptr)
            return;
        latest_ = std::move(progress);
        SystemInfoStore* store = store_;
        QMetaObject::invokeMethod(
            store, [store] { store->setBenchProgress(store->progressRelay_->latest()); }, Qt::QueuedConnection);
    }

    std::string latest()
    {
        const std::lock_guard lock(mutex_);
        return latest_;
    }

private:
    std::mutex mutex_;
    SystemInfoStore* store_;
    std::string latest_;
};

SystemInfoStore::SystemInfoStore(Collector collect, BenchmarkRunner benchmark, HistoryReader readHistory,
                                 QObject* parent)
    : QObject(parent),
      collect_(std::move(collect)),
      benchmark_(std::move(benchmark)),
      readHistory_(std::move(readHistory)),
      progressRelay_(std::make_shared<ProgressRelay>(this)),
      snapshot_(initialSnapshot()),
      bench_(initialBenchResult())
{
}

SystemInfoStore::~SystemInfoStore() { progressRelay_->detach(); }

// Hands the result of `work` to `apply` on this object's thread. The watcher is
// this object's child: if the store is destroyed first, the watcher and its
// connection go with it, so a late result never reaches freed memory, and the
// returned future ends cancelled.
template <typename Result, typename Apply>
QFuture<void> SystemInfoStore::whenFinished(QFuture<Result> work, Apply apply)
{
    auto* watcher = new QFutureWatcher<Result>(this);
    auto published = std::make_shared<QPromise<void>>();
    published->start();
    QFuture<void> done = published->future();
    connect(watcher, &QFutureWatcherBase::finished, this, [watcher, published, apply = std::move(apply)] {
        apply(watcher->result());
        published->finish();
        watcher->deleteLater();
    });
    watcher->setFuture(work);
    return done;
}

QFuture<void> SystemInfoStore::refreshAll()
{
    if (isRefreshing_)
        return QtFuture::makeReadyFuture();
    setIsRefreshing(true);
    return whenFinished(runDetached<SystemSnapshot>(collect_), [this](const SystemSnapshot& snapshot) {
        publish(snapshot);
        setIsRefreshing(false);
    });
}

QFuture<void> SystemInfoStore::runBenchmark()
{
    emit willChange(Property::bench);
    bench_.status = kBenchmarkRunningStatus;
    ++runningBenchmarks_;
    auto work = [benchmark = benchmark_, relay = progressRelay_] {
        return benchmark([relay](Benchmark::Phase phase, int round, int) {
            relay->post(benchProgressText(phase, round));
        });
    };
    return whenFinished(runDetached<BenchmarkOutcome>(std::move(work)),
                        [this](const BenchmarkOutcome& outcome) { publish(outcome); });
}

QFuture<void> SystemInfoStore::loadBenchHistory()
{
    if (!readHistory_)
        return QtFuture::makeReadyFuture();
    return whenFinished(runDetached<BenchHistoryRead>(readHistory_),
                        [this](const BenchHistoryRead& history) { publish(history); });
}

// Each part in the record's order, each announced just before it changes.
void SystemInfoStore::publish(const SystemSnapshot& snapshot)
{
    const auto incoming = snapshot.fields();
    auto current = snapshot_.fields();
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((emit willChange(static_cast<Property>(I)), std::get<I>(current) = std::get<I>(incoming)), ...);
    }(std::make_index_sequence<SystemSnapshot::fieldNames.size()>{});
    hasPublishedSnapshot_ = true;
}

void SystemInfoStore::publish(const BenchmarkOutcome& outcome)
{
    --runningBenchmarks_;
    emit willChange(Property::bench);
    bench_ = outcome.run.result;
    emit willChange(Property::benchDetails);
    benchDetails_ = outcome.run.details;
    publish(outcome.history);
    if (runningBenchmarks_ == 0)
        setBenchProgress({});
}

void SystemInfoStore::publish(const BenchHistoryRead& history)
{
    emit willChange(Property::benchHistory);
    benchHistory_ = history.runs;
    // A problem is reported by the one read that met it; it stays in view after.
    if (!history.problem.empty())
        benchHistoryProblem_ = history.problem;
}

void SystemInfoStore::setBenchProgress(std::string progress)
{
    // Progress that arrives after every run has finished is stale.
    if (runningBenchmarks_ == 0 && !progress.empty())
        return;
    emit willChange(Property::benchProgress);
    benchProgress_ = std::move(progress);
}

void SystemInfoStore::setIsRefreshing(bool value)
{
    emit willChange(Property::isRefreshing);
    isRefreshing_ = value;
}

std::string SystemInfoStore::summaryText() const
{
    std::string gpuNames;
    for (std::size_t i = 0; i < gpus().size(); ++i) {
        if (i > 0)
            gpuNames += ", ";
        gpuNames += gpus()[i].name;
    }
    const CPUInfo& processor = cpu();
    const MainboardInfo& board = mainboard();
    return "Veltrin Hardware Summary\nCPU: " + processor.name +                                  //
           "\nArchitecture: " + processor.architecture +                                         //
           "\nPhysical cores: " + processor.physicalCores +                                      //
           "\nLogical threads: " + processor.logicalCores +                                      //
           "\nReal motherboard: " + board.manufacturer + " " + board.model +                     //
           "\nBoard ID: " + board.boardID +                                                      //
           "\nBoard serial: " + board.serial +                                                   //
           "\nBIOS: " + board.biosVendor + " " + board.biosVersion + " " + board.biosDate +       //
           "\nmacOS SMBIOS: " + board.macModel + " / " + board.macBoardID +                      //
           "\nmacOS Serial: " + board.macSerial +                                                //
           "\n" + std::string(operatingSystemLabel(board.os)) + board.os +                       //
           "\nMemory: " + memory().total + " " + memory().type + " " + memory().speed +          //
           "\nGPU: " + gpuNames;
}

} // namespace veltrin
