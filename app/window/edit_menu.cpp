// The "Bearbeiten" menu's items and the history they drive.
#include "app/window/edit_menu.h"

#include "app/app_state.h"
#include "app/faces/box_from_pictures.h"
#include "app/project/project_document.h"
#include "app/project/project_history.h"
#include "app/project/project_state.h"
#include "app/project/view_settings.h"
#include "app/window/box_size_dialog.h"
#include "app/window/shape_dialog.h"
#include "runtime/gui/gui.h"

namespace {

constexpr object_number main_menu = 0;

// What the items show, so that the menu is touched only when it changes.
int shown_greys = -1;

}  // namespace

void add_edit_menu() {
    menu_title("Bearbeiten");
    menu_item(undo_menu_item, "R\xFC" "ckg\xE4" "ngig\tStrg+Z");
    menu_item(redo_menu_item, "Wiederholen\tStrg+Y");
    menu_bar();
    menu_item(sizes_from_pictures_menu_item, "Ma\xDF" "e aus Bildern");
    menu_item(box_size_menu_item, "Ma\xDF" "e...");
    menu_item(box_shape_menu_item, "Form...");
    shown_greys = -1;
}

void follow_changes() {
    const project shown = project_of_window();
    history_follow(shown);
    document_follow(shown);
    view_settings_follow(shown.view);
    const int greys = (history_can_undo() ? 0 : 1) | (history_can_redo() ? 0 : 2);
    if (greys == shown_greys) return;
    menu_disable_item(main_menu, undo_menu_item, greys & 1);
    menu_disable_item(main_menu, redo_menu_item, greys & 2);
    shown_greys = greys;
}

bool handle_edit_menu_item(int32_t item) {
    switch (item) {
        case undo_menu_item:
            history_undo();
            return true;
        case redo_menu_item:
            history_redo();
            return true;
        case sizes_from_pictures_menu_item:
            size_box_from_pictures();
            return true;
        case box_size_menu_item:
            ask_box_size();
            return true;
        case box_shape_menu_item:
            ask_box_shape();
            return true;
        default:
            return false;
    }
}
