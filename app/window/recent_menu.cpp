// Items are inserted before "Beenden" with a line of their own, so that an empty list leaves
// the menu as it was.
#include "app/window/recent_menu.h"

#include <vector>

#include "app/app_state.h"
#include "app/project/recent_projects.h"
#include "runtime/gui/gui.h"

namespace {

constexpr object_number main_menu = 0;

// "&1 tee.tessaryn": the number is the item's access key, so an "&" of the name is doubled.
std::string item_text(size_t index, const std::string& path) {
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : path.substr(path.find_last_of("\\/") + 1)) text += c == '&' ? "&&" : std::string(1, c);
    return text;
}

}  // namespace

void show_recent_projects() {
    for (int32_t item = first_recent_menu_item; item <= recent_separator_menu_item; ++item)
        menu_remove_item(main_menu, item);
    const std::vector<std::string> list = recent_projects();
    for (size_t index = 0; index < list.size(); ++index)
        menu_insert_item(main_menu, quit_menu_item, first_recent_menu_item + int32_t(index),
                         item_text(index, list[index]).c_str());
    if (!list.empty()) menu_insert_item(main_menu, quit_menu_item, recent_separator_menu_item, nullptr);
}

std::string recent_project_of_item(int32_t item) {
    const std::vector<std::string> list = recent_projects();
    const int32_t index = item - first_recent_menu_item;
    return index >= 0 && index < int32_t(list.size()) ? list[size_t(index)] : std::string();
}
