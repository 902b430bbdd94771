#pragma once

// The six tabs that show the store's hardware records. Each keeps nothing but
// the store (and the Mainboard tab its two masking preferences) and hides every
// row whose value is a placeholder.

#include "core/records.h"
#include "ui/preferences.h"
#include "ui/tab_page.h"

#include <string>

namespace veltrin {

// The displays of an adapter, one per line: the probe joins them with " / ".
std::string displayLines(const std::string& displays);

// True when the Physical Board card would show at least one row.
bool hasBoardIdentity(const MainboardInfo& mainboard);
// True when the SMBIOS card would show at least one row.
bool hasMacIdentity(const MainboardInfo& mainboard);
// True when the Firmware card would show at least one row.
bool hasFirmware(const MainboardInfo& mainboard);

class CPUTabView : public TabPageView {
    Q_OBJECT
public:
    explicit CPUTabView(SystemInfoStore& store, QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;
};

class CachesTabView : public TabPageView {
    Q_OBJECT
public:
    explicit CachesTabView(SystemInfoStore& store, QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;
};

class MainboardTabView : public TabPageView {
    Q_OBJECT
public:
    explicit MainboardTabView(SystemInfoStore& store, PersistedFlag hideMacOSSerial = kHideMacOSSerial,
                              PersistedFlag hideSystemUUID = kHideSystemUUID, QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;

private:
    PersistedFlag hideMacOSSerial_;
    PersistedFlag hideSystemUUID_;
};

class MemoryTabView : public TabPageView {
    Q_OBJECT
public:
    explicit MemoryTabView(SystemInfoStore& store, QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;
};

class SPDTabView : public TabPageView {
    Q_OBJECT
public:
    explicit SPDTabView(SystemInfoStore& store, QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;
};

class GraphicsTabView : public TabPageView {
    Q_OBJECT
public:
    explicit GraphicsTabView(SystemInfoStore& store, QWidget* parent = nullptr);

protected:
    void build(QVBoxLayout& column) override;
};

} // namespace veltrin
