#pragma once

#include "ui/app_links.h"
#include "ui/app_tab.h"

class QWidget;

namespace veltrin {

class SystemInfoStore;
class Updater;

// A new view of `tab`; it reads the store itself and rebuilds on each publication.
QWidget* makeTabView(AppTab tab, SystemInfoStore& store, const AppLinks& links, Updater* updater);

} // namespace veltrin
