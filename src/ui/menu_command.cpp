#include "ui/menu_command.h"

#include <QAction>

namespace veltrin {

QAction* makeAction(const QString& title, QObject* parent, std::function<void()> run)
{
    auto* action = new QAction(title, parent);
    action->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(action, &QAction::triggered, parent, std::move(run));
    return action;
}

} // namespace veltrin
