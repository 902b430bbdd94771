#include "ui/desktop_application.h"

#include "state/clipboard.h"
#include "state/event_loop.h"
#include "ui/app_tab.h"
#include "ui/icons.h"
#include "ui/info_tabs.h"
#include "ui/main_window.h"
#include "ui/menu_command.h"
#include "ui/metal_window_background.h"
#include "ui/overlay_scroll_bar.h"
#include "ui/platform_texts.h"
#include "ui/report_commands.h"
#include "ui/updater.h"
#include "ui/window_memory.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleHints>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>

namespace veltrin {
namespace {

// The About and Help windows: the metal background and, scrolling over it, the view padded by 20.
QWidget* makeSecondaryWindow(const QString& title, QSize size, QWidget* view)
{
    auto* window = new MetalWindowBackground;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(title);
    window->setFixedSize(size);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    styleScrollBar(scroll->verticalScrollBar());
    scroll->viewport()->setAutoFillBackground(false);
    scroll->setWidget(view);
    view->setAutoFillBackground(false);
    layout->addWidget(scroll);
    // Esc and Command/Ctrl-W close it, each through an action of its own.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* close = new QAction(window);
        close->setShortcut(keys);
        close->setShortcutContext(Qt::WindowShortcut);
        QObject::connect(close, &QAction::triggered, window, &QWidget::close);
        window->addAction(close);
    }
    return window;
}

// Moves `window`, not shown yet, so that it opens centred on `anchor` (on the
// screen's centre while `anchor` is not shown), inside the screen's available
// area. Its frame is not known before it is shown; it gets the anchor's.
void placeCentred(QWidget& window, const QWidget& anchor)
{
    const QScreen* screen = anchor.isVisible() ? anchor.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    const QRect anchorFrame = anchor.frameGeometry();
    const QRect anchorInside = anchor.geometry();
    const QMargins decoration(anchorInside.left() - anchorFrame.left(), anchorInside.top() - anchorFrame.top(),
                              anchorFrame.right() - anchorInside.right(), anchorFrame.bottom() - anchorInside.bottom());
    QRect frame(QPoint(0, 0), window.size().grownBy(decoration));
    frame.moveCenter(anchor.isVisible() ? anchor.frameGeometry().center() : area.center());
    if (area.isValid()) {
        frame.moveRight(std::min(frame.right(), area.right()));
        frame.moveBottom(std::min(frame.bottom(), area.bottom()));
        frame.moveLeft(std::max(frame.left(), area.left()));
        frame.moveTop(std::max(frame.top(), area.top()));
    }
    window.move(frame.topLeft());
}

QWidget* bringForward(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace

void applyDarkScheme(QApplication& application)
{
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Title bars and native menus turn dark too, even when the system itself is light.
    QGuiApplication::styleHints()->setColorScheme(Qt::ColorScheme::Dark);
#endif
    QPalette palette;
    const QColor window = Palette::metalBackgroundTop();
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::Base, Palette::metalBackgroundBottom());
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Button, window.lighter(130));
    palette.setColor(QPalette::WindowText, Palette::metalText());
    palette.setColor(QPalette::Text, Palette::metalText());
    palette.setColor(QPalette::ButtonText, Palette::metalText());
    palette.setColor(QPalette::ToolTipBase, Palette::metalBackgroundTop());
    palette.setColor(QPalette::ToolTipText, Palette::metalText());
    palette.setColor(QPalette::PlaceholderText, Palette::metalMuted());
    palette.setColor(QPalette::Highlight, Palette::accentBlue());
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, Palette::cardTitle());
    palette.setColor(QPalette::Disabled, QPalette::Text, Palette::metalMuted().darker(140));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, Palette::metalMuted().darker(140));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, Palette::metalMuted().darker(140));
    // Fusion etches disabled text with this colour a pixel off; on a dark menu that
    // light copy made a disabled item look as bright as an enabled one.
    palette.setColor(QPalette::Disabled, QPalette::Light, Qt::transparent);
    application.setPalette(palette);
}

namespace {

void settle()
{
    // Layout requests and the re-renders after a publication are posted events.
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
}

int renderScreenshots(VeltrinApp& app, const std::string& directory)
{
    const QDir folder(QString::fromStdString(directory));
    if (!QDir().mkpath(folder.path())) {
        std::cerr << "veltrin: cannot create " << directory << '\n';
        return 1;
    }
    QMainWindow& window = app.mainWindow();
    MainWindowView& view = app.mainView();
    window.show();
    settle();
    // Whatever the menu bar takes, the content gets exactly the window's minimum.
    const QSize content(MainWindowView::kMinimumWidth, MainWindowView::kMinimumHeight);
    window.resize(window.size() - view.size() + content);
    waitInEventLoop(view.startupRefresh());
    waitInEventLoop(view.startupHistory());
    settle();

    const auto save = [&](const QString& name) {
        const QString path = folder.filePath(name + QStringLiteral(".png"));
        if (view.grab().save(path, "PNG"))
            return true;
        std::cerr << "veltrin: cannot write " << path.toStdString() << '\n';
        return false;
    };
    for (const AppTabInfo& info : kAppTabs) {
        view.selectTab(info.tab);
        settle();
        const QString id = QString::fromUtf8(info.id.data(), qsizetype(info.id.size()));
        if (!save(id))
            return 1;
        // A page taller than the window is shown a second time, scrolled to its end.
        QScrollBar* scroll = view.contentArea()->verticalScrollBar();
        if (scroll->maximum() > 0) {
            scroll->setValue(scroll->maximum());
            settle();
            if (!save(id + QStringLiteral("-end")))
                return 1;
        }
    }
    return 0;
}

} // namespace

// VeltrinCommands

VeltrinCommands::VeltrinCommands(VeltrinApp& app, Platform platform)
    : QObject(&app),
      about(makeAction(QStringLiteral("About Veltrin"), this, [&app] { app.showAboutWindow(); })),
      checkForUpdates(makeAction(QStringLiteral("Check for Updates\u2026"), this,
                                 [&app] {
                                     if (app.updater() != nullptr)
                                         app.updater()->checkForUpdates();
                                 })),
      refresh(makeAction(QStringLiteral("Refresh"), this, [&app] { app.store().refreshAll(); })),
      copySummary(makeAction(QStringLiteral("Copy Summary"), this, [&app] { app.mainView().copySummary(); })),
      help(makeAction(QStringLiteral("Veltrin Help"), this, [&app] { app.showHelpWindow(); })),
      // Closing every window ends the application the way closing the last one does.
      quit(makeAction(platform == Platform::mac ? QStringLiteral("Quit Veltrin") : QStringLiteral("Quit"), this,
                      [] { QApplication::closeAllWindows(); })),
      reports(new ReportCommands(app.store(), app.source(), &app.mainWindow(), this)),
      platform_(platform)
{
    // Qt reads Ctrl as the Command key on macOS.
    refresh->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    copySummary->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    // One spelling only: the keystroke Shift-/ also matches "?" with or without
    // Shift, and two matching shortcuts are ambiguous to Qt, which then fires neither.
    help->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Slash));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    checkForUpdates->setEnabled(app.updater() != nullptr);
    if (app.updater() == nullptr)
        checkForUpdates->setToolTip(QString::fromUtf8(platformTexts(platform).noUpdater));
    about->setMenuRole(QAction::AboutRole);
    checkForUpdates->setMenuRole(QAction::ApplicationSpecificRole);
    quit->setMenuRole(QAction::QuitRole);
}

void VeltrinCommands::install(QMenuBar& menuBar) const
{
    const bool mac = platform_ == Platform::mac;
    // Their roles move the application menu's items into the one macOS makes, which
    // leaves this one empty and hidden.
    if (mac)
        menuBar.addMenu(QStringLiteral("Veltrin"))->addActions({about, checkForUpdates, quit});
    QMenu* file = menuBar.addMenu(QStringLiteral("File"));
    file->addAction(reports->exportReport);
    file->addAction(reports->compareWithCapture);
    if (!mac) {
        file->addSeparator();
        file->addAction(quit);
    }
    QMenu* tools = menuBar.addMenu(QStringLiteral("Tools"));
    tools->addAction(refresh);
    tools->addAction(copySummary);
    tools->addAction(reports->copyReport);
    QMenu* helpMenu = menuBar.addMenu(QStringLiteral("Help"));
    helpMenu->addAction(help);
    if (!mac) {
        helpMenu->addSeparator();
        helpMenu->addAction(checkForUpdates);
        helpMenu->addAction(about);
    }
    // A disabled item's tooltip says why it is disabled.
    for (QAction* menu : menuBar.actions())
        menu->menu()->setToolTipsVisible(true);
}

// VeltrinApp

VeltrinApp::VeltrinApp(SystemInfoStore::Collector collect, SystemInfoStore::BenchmarkRunner benchmark,
                       std::unique_ptr<Updater> updater, AppLinks links, SystemInfoStore::HistoryReader readHistory,
                       std::string source)
    : updater_(std::move(updater)),
      store_(std::move(collect), std::move(benchmark), std::move(readHistory)),
      links_(std::move(links)),
      source_(std::move(source)),
      mainWindow_(std::make_unique<QMainWindow>()),
      mainView_(new MainWindowView(store_, links_, updater_.get())),
      commands_(new VeltrinCommands(*this))
{
    mainWindow_->setWindowTitle(QStringLiteral("Veltrin"));
    mainWindow_->setCentralWidget(mainView_);
#ifdef __APPLE__
    sharedMenuBar_ = std::make_unique<QMenuBar>(nullptr);
    commands_->install(*sharedMenuBar_);
#else
    commands_->install(*mainWindow_->menuBar());
#endif
    // The shortcuts work in whichever window has the focus.
    mainWindow_->addActions({commands_->about, commands_->checkForUpdates, commands_->refresh, commands_->copySummary,
                             commands_->help, commands_->quit, commands_->reports->exportReport,
                             commands_->reports->copyReport, commands_->reports->compareWithCapture});
}

VeltrinApp::~VeltrinApp()
{
    delete about_.data();
    delete help_.data();
}

void VeltrinApp::showMainWindow()
{
    if (!remembersWindow_) {
        remembersWindow_ = true;
        const RememberedWindow remembered = rememberedMainWindow();
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
        mainWindow_->setGeometry(
            mainWindowPlacement(remembered.geometry, available, mainWindow_->minimumSizeHint()));
        if (remembered.tab)
            mainView_->selectTab(*remembered.tab);
        // Closing the window is the moment to remember it, and quitting in
        // whatever way, since the last window need not be this one.
        mainWindow_->installEventFilter(this);
        connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { rememberWindow(); });
    }
    bringForward(mainWindow_.get());
}

void VeltrinApp::rememberWindow() const
{
    if (remembersWindow_)
        rememberMainWindow(mainWindow_->geometry(), mainView_->selection());
}

bool VeltrinApp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mainWindow_.get() && event->type() == QEvent::Close)
        rememberWindow();
    return QObject::eventFilter(watched, event);
}

QWidget* VeltrinApp::showAboutWindow()
{
    if (about_.isNull()) {
        about_ = makeSecondaryWindow(QStringLiteral("About Veltrin"), QSize(760, 560),
                                     new AboutTabView(links_, updater_.get()));
        about_->addActions(mainWindow_->actions());
        placeCentred(*about_, *mainWindow_);
    }
    return bringForward(about_);
}

QWidget* VeltrinApp::showHelpWindow()
{
    if (help_.isNull()) {
        help_ = makeSecondaryWindow(QStringLiteral("Veltrin Help"), QSize(860, 620), new HelpTabView(updater_.get()));
        help_->addActions(mainWindow_->actions());
        placeCentred(*help_, *mainWindow_);
    }
    return bringForward(help_);
}

bool desktopAvailable()
{
#if defined(__APPLE__) || defined(_WIN32)
    return true;
#else
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return true;
    }
    return false;
#endif
}

int runDesktopApplication(int argc, char** argv, SystemInfoStore::Collector collect,
                          SystemInfoStore::BenchmarkRunner benchmark, SystemInfoStore::HistoryReader readHistory,
                          std::optional<std::string> screenshotsDirectory, std::string source)
{
    if (screenshotsDirectory)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The application id names the settings (on a Mac <domain reversed>.<name>, the
    // bundle identifier) and, on Linux, the desktop entry the window belongs to.
    QCoreApplication::setOrganizationName(QStringLiteral("Veltrin"));
    QCoreApplication::setOrganizationDomain(QStringLiteral(VELTRIN_ORGANIZATION_DOMAIN));
    QCoreApplication::setApplicationName(QStringLiteral(VELTRIN_APPLICATION_NAME));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELTRIN_APP_ID));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELTRIN_VERSION));
    QApplication::setWindowIcon(QIcon(applicationImage(256)));
    QApplication::setQuitOnLastWindowClosed(true);
    applyDarkScheme(application);

    // Screenshots start no update mechanism: they only render.
    VeltrinApp app(std::move(collect), std::move(benchmark), screenshotsDirectory ? nullptr : makePlatformUpdater(),
                   deploymentLinks(), std::move(readHistory), std::move(source));
    if (screenshotsDirectory)
        return renderScreenshots(app, *screenshotsDirectory);
    app.showMainWindow();
    return QApplication::exec();
}

} // namespace veltrin
