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
    // The tab's row in the Help tab's "Tabs" card, none where empty: as a Mac's
    // build says it, and elsewhere where that differs (empty where it does not).
    std::string_view help{};
    std::string_view helpElsewhere{};
};

inline constexpr std::array<AppTabInfo, 10> kAppTabs{{
    {AppTab::cpu, "cpu", "CPU", "cpu", "Processor name, vendor, architecture, clock and feature flags"},
    {AppTab::caches, "caches", "Caches", "square.stack.3d.up", "L1, L2 and L3 cache sizes reported by macOS",
     "L1, L2 and L3 cache sizes reported by the Linux kernel or CPUID"},
    {AppTab::mainboard, "mainboard", "Mainboard", "rectangle.connected.to.line.below",
     "Trusted motherboard, firmware and macOS SMBIOS details",
     "Trusted motherboard, firmware and Apple SMBIOS details"},
    {AppTab::memory, "memory", "Memory", "memorychip", "Installed memory capacity, type, speed and current pressure"},
    {AppTab::spd, "spd", "SPD", "list.bullet.rectangle",
     "Per-module DIMM information when exposed by macOS or dmidecode",
     "Per-module DIMM information when exposed by udev or dmidecode"},
    {AppTab::graphics, "graphics", "Graphics", "display", "GPU, VRAM, Metal and display information",
     "GPU, VRAM and display information"},
    {AppTab::boot, "boot", "Boot", "power",
     "Boot arguments, System Integrity Protection and the kernel extensions loaded, with their versions",
     "Kernel command line, Secure Boot and the kernel modules loaded, with their versions"},
    {AppTab::bench, "bench", "Bench", "speedometer", "A deterministic CPU benchmark for quick comparisons"},
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
