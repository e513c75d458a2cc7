// Items are inserted before "Beenden" with a line of their own, so that an empty list leaves
// the menu as it was; the line is found by its place, as the host keeps no number for it.
#include "app/window/recent_menu.h"

#include <vector>

#include "app/app_state.h"
#include "app/project/recent_projects.h"
#include "runtime/gui/gui.h"

namespace {

constexpr object_number main_menu = 0;

// The list the items were made from: a click opens what its label names, whatever the
// settings file says by then (another Tessaryn may have changed it).
std::vector<std::string> shown;

// "&1 tee.tessaryn": the number is the item's access key, so an "&" of the name is doubled.
std::string item_text(size_t index, const std::string& path) {
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : path.substr(path.find_last_of("\\/") + 1)) text += c == '&' ? "&&" : std::string(1, c);
    return text;
}

}  // namespace

void show_recent_projects() {
    for (size_t index = 0; index < shown.size(); ++index)
        menu_remove_item(main_menu, first_recent_menu_item + int32_t(index));
    if (!shown.empty()) menu_remove_separator_before(main_menu, quit_menu_item);
    shown = recent_projects();
    for (size_t index = 0; index < shown.size(); ++index)
        menu_insert_item(main_menu, quit_menu_item, first_recent_menu_item + int32_t(index),
                         item_text(index, shown[index]).c_str());
    if (!shown.empty()) menu_insert_item(main_menu, quit_menu_item, 0, nullptr);
}

std::string recent_project_of_item(int32_t item) {
    const int32_t index = item - first_recent_menu_item;
    return index >= 0 && index < int32_t(shown.size()) ? shown[size_t(index)] : std::string();
}
