// The menus, accelerators and toolbar tables agree with each other.
#include "frames/MenuTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace {

// The key a menu entry names after its tab, in the accelerator table's terms.
std::string KeyOf(const char* text) {
    const std::string entry = text;
    const auto tab = entry.find('\t');
    if (tab == std::string::npos)
        return std::string();
    const std::string key = entry.substr(tab + 1);
    if (key == "Suppr")
        return "Del";
    return key;
}

bool HasAccelerator(const std::string& key, unsigned id) {
    for (const Accelerator& accelerator : MainAccelerators())
        if (accelerator.key == key && accelerator.id == id)
            return true;
    return false;
}

} // namespace

TEST(MenuTables, EveryKeyShownInAMenuIsInTheAcceleratorTable) {
    for (const auto* menu : {&NoDocumentMenu(), &DocumentMenu()})
        for (const MenuPopup& popup : *menu)
            for (const MenuItem& item : popup.items) {
                if (item.id == 0)
                    continue;
                const std::string key = KeyOf(item.text);
                if (!key.empty()) {
                    EXPECT_TRUE(HasAccelerator(key, item.id)) << item.text;
                }
            }
}

TEST(MenuTables, NoKeyServesTwoCommands) {
    std::set<std::string> keys;
    for (const Accelerator& accelerator : MainAccelerators())
        EXPECT_TRUE(keys.insert(accelerator.key).second) << accelerator.key;
}

TEST(MenuTables, NoCommandTwiceInOneMenu) {
    for (const auto* menu : {&NoDocumentMenu(), &DocumentMenu()}) {
        std::set<unsigned> ids;
        for (const MenuPopup& popup : *menu)
            for (const MenuItem& item : popup.items)
                if (item.id != 0) {
                    EXPECT_TRUE(ids.insert(item.id).second) << item.text;
                }
    }
}

TEST(MenuTables, ToolbarHasNoGapAtItsEnds) {
    const std::vector<unsigned>& buttons = ToolBarButtons();
    ASSERT_FALSE(buttons.empty());
    EXPECT_NE(buttons.front(), 0u);
    EXPECT_NE(buttons.back(), 0u);
    for (std::size_t i = 1; i < buttons.size(); ++i)
        EXPECT_FALSE(buttons[i] == 0 && buttons[i - 1] == 0) << "two gaps in a row";
}
