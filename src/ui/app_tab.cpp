#include "ui/app_tab.h"

#include <algorithm>

namespace veltrin {

const AppTabInfo& appTabInfo(AppTab tab)
{
    return *std::ranges::find(kAppTabs, tab, &AppTabInfo::tab);
}

std::string_view appTabId(AppTab tab) { return appTabInfo(tab).id; }
std::string_view appTabTitle(AppTab tab) { return appTabInfo(tab).title; }
std::string_view appTabSymbol(AppTab tab) { return appTabInfo(tab).symbol; }

std::optional<AppTab> appTabFromId(std::string_view id)
{
    const auto found = std::ranges::find(kAppTabs, id, &AppTabInfo::id);
    if (found == kAppTabs.end())
        return std::nullopt;
    return found->tab;
}

} // namespace veltrin
