// The "Ansicht" menu's items and the options they switch.
#include "app/window/view_menu.h"

#include "app/app_state.h"
#include "app/engine/engine.h"
#include "app/scene/scene.h"
#include "runtime/gui/gui.h"

namespace {

constexpr object_number main_menu = 0;

// The items follow one another in the options' order.
int32_t item_of(int index) { return first_view_menu_item + index; }

void tick_items() {
    for (int i = 0; i < view_option_count; ++i)
        menu_set_item_state(main_menu, item_of(i), app.view.*view_option_names[i].option ? 1 : 0);
}

}  // namespace

void add_view_menu() {
    if (!engine.studio_ready) return;
    menu_title("Ansicht");
    for (int i = 0; i < view_option_count; ++i) menu_item(item_of(i), view_option_names[i].shown);
    tick_items();
}

bool toggle_view_option(int32_t item) {
    const int index = item - first_view_menu_item;
    if (index < 0 || index >= view_option_count) return false;
    bool& option = app.view.*view_option_names[index].option;
    option = !option;
    menu_set_item_state(main_menu, item, option ? 1 : 0);
    apply_view_options();
    view_settings_follow(app.view);
    return true;
}

void show_view_options() {
    if (engine.studio_ready) tick_items();
    apply_view_options();
}
