// The "Ansicht" menu's items and the options they switch.
#include "app/view_menu.h"

#include "app/app_state.h"
#include "app/engine/engine.h"
#include "app/scene.h"
#include "runtime/gui/gui.h"

namespace {

struct view_item {
    int32_t item;
    const char* text;
    bool view_options::*option;
};

constexpr view_item view_items[] = {
    {light_menu_item, "Licht", &view_options::light},
    {shadow_menu_item, "Schatten", &view_options::shadow},
    {reflection_menu_item, "Spiegelung", &view_options::reflection},
};

constexpr object_number main_menu = 0;

}  // namespace

void add_view_menu() {
    if (!engine.studio_ready) return;
    menu_title("Ansicht");
    for (const view_item& entry : view_items) {
        menu_item(entry.item, entry.text);
        menu_set_item_state(main_menu, entry.item, app.view.*entry.option ? 1 : 0);
    }
}

bool toggle_view_option(int32_t item) {
    for (const view_item& entry : view_items) {
        if (entry.item != item) continue;
        bool& option = app.view.*entry.option;
        option = !option;
        menu_set_item_state(main_menu, item, option ? 1 : 0);
        apply_view_options();
        view_settings_save(app.view);
        return true;
    }
    return false;
}

void show_view_options() {
    if (engine.studio_ready)
        for (const view_item& entry : view_items) menu_set_item_state(main_menu, entry.item, app.view.*entry.option ? 1 : 0);
    apply_view_options();
}
