#include "ui/boot_tab.h"
#include "ui/metal_button.h"
#include "ui/pill.h"
#include "ui/section_header.h"

#include "ui_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace veltrin;
using namespace veltrin::testing;

namespace {

struct CardRows {
    QString card;
    std::vector<ShownRow> rows; // empty: the card says it was not reported
};

std::vector<CardRows> shownCards(const QWidget* view)
{
    std::vector<CardRows> cards;
    for (GlassCard* card : cardsOf(view)) {
        EXPECT_EQ(card->showsNothingReported(), rowsOf(card).empty()) << card->title().toStdString();
        cards.push_back({card->title(), rowsOf(card)});
    }
    return cards;
}

bool operator==(const CardRows& a, const CardRows& b) { return a.card == b.card && a.rows == b.rows; }
void PrintTo(const CardRows& c, std::ostream* out)
{
    *out << c.card.toStdString() << " {";
    for (const auto& [label, value] : c.rows)
        *out << label.toStdString() << "=" << value.toStdString() << "; ";
    *out << "}";
}

QStringList pillTexts(const QWidget* view)
{
    QStringList texts;
    for (const Pill* pill : view->findChildren<Pill*>())
        texts << pill->text();
    return texts;
}

} // namespace

// What the tab shows for real machines' captures, card by card; a machine without
// any of the tools keeps the tab and its cards, each saying it was not reported.
TEST(BootTab, ShowsEachCaptureCardByCard)
{
    struct Case {
        const char* capture;
        QString subtitle;
        std::vector<CardRows> cards;
        QStringList pills;
        bool appleInternalNote = false;
    };
    const QString mac = QStringLiteral("Boot loader, boot arguments, System Integrity Protection and kernel extensions");
    const QString linux = QStringLiteral("Kernel command line, Secure Boot and kernel modules");
    const Case cases[] = {
        {"opencore-ryzen-bigsur-smcamdprocessor",
         mac,
         {{"Boot Arguments", {}},
          {"System Integrity Protection", {}},
          {"Kernel Extensions",
           {{"Loaded", "6 third-party, 0 Apple"},
            {"Lilu", "as.vit9696.Lilu (1.5.3)"},
            {"AppleALC", "as.vit9696.AppleALC (1.6.0)"},
            {"WhateverGreen", "as.vit9696.WhateverGreen (1.4.9)"},
            {"AMDRyzenCPUPowerManagement", "wtf.spinach.AMDRyzenCPUPowerManagement (0.6.6)"},
            {"VirtualSMC", "as.vit9696.VirtualSMC (1.2.3)"},
            {"SMCAMDProcessor", "wtf.spinach.SMCAMDProcessor (1)"}}}},
         {}},
        {"opencore-catalina-sip-unknown-custom",
         mac,
         {{"Boot Arguments", {}},
          {"System Integrity Protection",
           {{"Status", "unknown (Custom Configuration)"},
            {"csr-active-config", "0x3E7"},
            {"Flags", "CSR_ALLOW_UNTRUSTED_KEXTS\nCSR_ALLOW_UNRESTRICTED_FS\nCSR_ALLOW_TASK_FOR_PID\n"
                      "CSR_ALLOW_UNRESTRICTED_DTRACE\nCSR_ALLOW_UNRESTRICTED_NVRAM\nCSR_ALLOW_DEVICE_CONFIGURATION\n"
                      "CSR_ALLOW_ANY_RECOVERY_OS\nCSR_ALLOW_UNAPPROVED_KEXTS"}}},
          {"Kernel Extensions", {}}},
         {}},
        {"mac-monterey-csrutil-disable",
         mac,
         {{"Boot Arguments", {}},
          {"System Integrity Protection",
           {{"csr-active-config", "0x27F"},
            {"Flags", "CSR_ALLOW_UNTRUSTED_KEXTS\nCSR_ALLOW_UNRESTRICTED_FS\nCSR_ALLOW_TASK_FOR_PID\n"
                      "CSR_ALLOW_KERNEL_DEBUGGER\nCSR_ALLOW_APPLE_INTERNAL\nCSR_ALLOW_UNRESTRICTED_DTRACE\n"
                      "CSR_ALLOW_UNRESTRICTED_NVRAM\nCSR_ALLOW_UNAPPROVED_KEXTS"}}},
          {"Kernel Extensions", {}}},
         {},
         true},
        {"hack-hac-mini-catalina-apple-internal",
         mac,
         {{"Boot Arguments", {{"boot-args", "alcid=11 -disablegfxfirmware shikigva=32 shiki-id=Mac-BE088AF8C5EB4FA2"}}},
          {"System Integrity Protection", {{"Status", "disabled (Apple Internal)"}}},
          {"Kernel Extensions", {}}},
         {"alcid=11", "-disablegfxfirmware", "shikigva=32", "shiki-id=Mac-BE088AF8C5EB4FA2"},
         true},
        {"oclp-macbookpro11-5-as-15-1",
         mac,
         {{"Boot Loader", {{"OpenCore", "0.8.0 (release, 2022-04-18)"}, {"Legacy Patcher", "0.4.5"}}},
          {"Boot Arguments", {}},
          {"System Integrity Protection", {}},
          {"Kernel Extensions", {}}},
         {}},
        {"linux-debian-testing-prime-generator",
         linux,
         {{"Kernel Command Line",
           {{"Command line", "BOOT_IMAGE=/vmlinuz-6.12.20-amd64 root=/dev/mapper/testing--vg-root ro quiet "
                             "i915.enable_guc=3 module_blacklist=xe"}}},
          {"Secure Boot", {{"Secure Boot", "disabled"}}},
          {"Kernel Modules", {{"Loaded", "1 out-of-tree, 0 in-tree"}, {"prime_generator", "out-of-tree"}}}},
         {"BOOT_IMAGE=/vmlinuz-6.12.20-amd64", "root=/dev/mapper/testing--vg-root", "ro", "quiet",
          "i915.enable_guc=3", "module_blacklist=xe"}},
        {"linux-kvm-epyc-2vcpu", linux, {{"Kernel Command Line", {}}, {"Secure Boot", {}}, {"Kernel Modules", {}}}, {}},
        {"mbp15-1-i7-8750h",
         mac,
         {{"Boot Arguments", {}}, {"System Integrity Protection", {}}, {"Kernel Extensions", {}}},
         {}},
    };
    const QString note = QStringLiteral("With CSR_ALLOW_APPLE_INTERNAL set, macOS may not offer software updates.");
    for (const Case& c : cases) {
        auto store = publishedStore(replayedSnapshot(c.capture));
        BootTabView view(*store);
        EXPECT_EQ(view.findChild<SectionHeader*>()->subtitle(), c.subtitle) << c.capture;
        EXPECT_EQ(shownCards(&view), c.cards) << c.capture;
        EXPECT_EQ(pillTexts(&view), c.pills) << c.capture;
        EXPECT_EQ(textsOf(&view).contains(note), c.appleInternalNote) << c.capture;
        EXPECT_EQ(view.findChild<QLineEdit*>(), nullptr) << c.capture;
    }
}

// Third-party extensions first, Apple's own after them once asked for; a pill
// copies its argument whole.
TEST(BootTab, ShowsAppleExtensionsOnRequestAndCopiesAnArgument)
{
    auto store = publishedStore(replayedSnapshot("opencore-boot-composite"));
    BootTabView view(*store);
    EXPECT_EQ(cardTitles(&view), (QStringList{"Boot Loader", "Boot Arguments", "System Integrity Protection",
                                              "Kernel Extensions"}));
    const auto extensionLabels = [&] { return rowLabels(cardTitled(&view, QStringLiteral("Kernel Extensions"))); };
    const QStringList thirdParty{"Loaded", "Lilu", "AppleALC", "WhateverGreen", "AMDRyzenCPUPowerManagement",
                                 "VirtualSMC", "SMCAMDProcessor"};
    EXPECT_EQ(extensionLabels(), thirdParty);
    auto* toggle = view.findChild<MetalButton*>(QStringLiteral("systemExtensionsToggle"));
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->text(), QStringLiteral("Show Apple extensions"));
    QTest::mouseClick(toggle, Qt::LeftButton);
    QCoreApplication::processEvents();
    const QStringList apple{"bsd", "dsep", "iokit", "libkern", "mach", "private", "unsupported", "corecrypto",
                            "pthread", "Libm"};
    EXPECT_EQ(extensionLabels(), thirdParty + apple);
    EXPECT_EQ(view.findChild<MetalButton*>(QStringLiteral("systemExtensionsToggle"))->text(),
              QStringLiteral("Hide Apple extensions"));

    auto arguments = publishedStore(replayedSnapshot("hack-xiaomi-pro-bigsur-sip-disabled"));
    BootTabView withArguments(*arguments);
    Pill* pill = withArguments.findChildren<Pill*>().value(1);
    ASSERT_NE(pill, nullptr);
    pill->resize(30, pill->height()); // too narrow for its text: copying still takes all of it
    QTest::mouseClick(pill, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("gfxrst=1"));
}

// Past twenty extensions a field filters them by identifier.
TEST(BootTab, FiltersALongListByIdentifier)
{
    SystemSnapshot snapshot;
    for (int index = 0; index <= int(BootTabView::kFilterThreshold); ++index)
        snapshot.boot.extensions.push_back({"com.example.Driver" + std::to_string(index), "1.0", "third-party"});
    snapshot.boot.extensions.push_back({"as.vit9696.Lilu", "1.6.7", "third-party"});
    auto store = publishedStore(snapshot);
    BootTabView view(*store);
    auto* filter = view.findChild<QLineEdit*>(QStringLiteral("extensionFilter"));
    ASSERT_NE(filter, nullptr);
    filter->setText(QStringLiteral("lilu"));
    QStringList shown;
    for (const InfoRow* row : cardTitled(&view, QStringLiteral("Kernel Extensions"))->findChildren<InfoRow*>())
        if (!row->isHidden())
            shown << row->label();
    EXPECT_EQ(shown, (QStringList{"Lilu"}));
}

TEST(BootTab, SplitsArgumentsAtBlanksOutsideQuotes)
{
    EXPECT_EQ(bootArgumentWords("  -v  keepsyms=1\tagdpmod=\"pikera x\" "),
              (std::vector<std::string>{"-v", "keepsyms=1", "agdpmod=\"pikera x\""}));
    EXPECT_TRUE(bootArgumentWords(" \t").empty());
}
