#pragma once

#include <QString>

#include <functional>

class QAction;
class QObject;

namespace veltrin {

// A menu command that runs `run`; its shortcut works in every window of the
// application (the About and Help windows too), not only the main one.
QAction* makeAction(const QString& title, QObject* parent, std::function<void()> run);

} // namespace veltrin
