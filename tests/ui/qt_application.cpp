// Widgets need one QApplication; the settings it reads live in a temporary
// folder for the whole run, never in the user's own preferences.

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

class QtApplication : public ::testing::Environment {
public:
    void SetUp() override
    {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ::unsetenv("VELTRIN_REDUCE_MOTION");
        static int argc = 1;
        static char name[] = "ui_tests";
        static char* argv[] = {name, nullptr};
        application_ = std::make_unique<QApplication>(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("VeltrinTests"));
        QCoreApplication::setApplicationName(QStringLiteral("ui_tests"));
        settingsFolder_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(settingsFolder_->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder_->path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder_->path());
        ASSERT_TRUE(QSettings().fileName().startsWith(settingsFolder_->path()));
    }
    void TearDown() override
    {
        application_.reset();
        settingsFolder_.reset();
    }

private:
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<QTemporaryDir> settingsFolder_;
};

[[maybe_unused]] const auto* const kApplication = ::testing::AddGlobalTestEnvironment(new QtApplication);

} // namespace
