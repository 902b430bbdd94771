// The store publishes through the Qt event loop and copies through the clipboard,
// so the state tests run inside one offscreen application.

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class QtApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "state_tests";
        static char* argv[] = {name, nullptr};
        application_ = new QGuiApplication(argc, argv);
    }
    void TearDown() override { delete application_; }

private:
    QGuiApplication* application_ = nullptr;
};

[[maybe_unused]] const auto* const kApplication = ::testing::AddGlobalTestEnvironment(new QtApplication);

} // namespace
