#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace veltrin {

// The tabs of the main window, in tab-bar order.
enum class AppTab { cpu, caches, mainboard, memory, spd, graphics, boot, bench, about, help };

struct AppTabInfo {
    AppTab tab;
    std::string_view id;
    std::string_view title;
    std::string_view symbol;
};

inline constexpr std::array<AppTabInfo, 10> kAppTabs{{
    {AppTab::cpu, "cpu", "CPU", "cpu"},
    {AppTab::caches, "caches", "Caches", "square.stack.3d.up"},
    {AppTab::mainboard, "mainboard", "Mainboard", "rectangle.connected.to.line.below"},
    {AppTab::memory, "memory", "Memory", "memorychip"},
    {AppTab::spd, "spd", "SPD", "list.bullet.rectangle"},
    {AppTab::graphics, "graphics", "Graphics", "display"},
    {AppTab::boot, "boot", "Boot", "power"},
    {AppTab::bench, "bench", "Bench", "speedometer"},
    {AppTab::about, "about", "About", "info.circle"},
    {AppTab::help, "help", "Help", "questionmark.circle"},
}};

const AppTabInfo& appTabInfo(AppTab tab);
std::string_view appTabId(AppTab tab);
std::string_view appTabTitle(AppTab tab);
std::string_view appTabSymbol(AppTab tab);

// The tab whose id is exactly `id` (case-sensitive); absent for any other text.
std::optional<AppTab> appTabFromId(std::string_view id);

} // namespace veltrin
