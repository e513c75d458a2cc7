// Tessaryn's entry procedure: starts the runtime libraries in their fixed order, builds the
// window and the scene, runs the frame loop until the window is closed, and shuts down.
#include "app/window/about_box.h"
#include "app/app_state.h"
#include "app/catalogue/catalogue_console.h"
#include "app/export/stills/batch_export.h"
#include "app/export/stills/export_command.h"
#include "app/export/model/glb_command.h"
#include "app/project/command_line.h"
#include "app/messages/console_output.h"
#include "app/engine/engine.h"
#include "app/faces/face_atlas.h"
#include "app/faces/face_choice.h"
#include "app/faces/print_sheet.h"
#include "app/window/handlers.h"
#include "app/window/box_sizes.h"
#include "app/window/catalogue_dialog.h"
#include "app/window/main_window.h"
#include "app/scene/preview_mouse.h"
#include "app/project/project_commands.h"
#include "app/project/project_paths.h"
#include "app/scene/scene.h"
#include "app/window/start_check.h"
#include "app/messages/user_message.h"
#include "app/window/edit_menu.h"
#include "app/window/view_menu.h"
#include "runtime/core/core.h"
#include "runtime/gui/gui.h"
#include "runtime/image/image.h"
#include "runtime/screen/screen.h"

#include <cstdlib>
#include <string>

app_state app;

namespace {

constexpr int32_t key_up = 200;
constexpr int32_t key_down = 208;
constexpr int32_t key_left = 203;
constexpr int32_t key_right = 205;
constexpr int32_t frame_pause_ms = 10;
constexpr UINT wrong_call = 2;
constexpr const char* model_probe = "model\\box.mesh";

// The engine is loaded and bound between the library starts: the screen library must find
// it initialised, because it adopts the engine's display object. A run without a preview
// screen starts neither the screen, nor the sprites drawn on it, nor the keyboard and mouse
// read for it: a command-line export runs no frames.
void start_libraries(bool with_screen) {
    string_library_init();
    object_heap_init();
    draw_library_init();
    engine_load();
    engine_bind_camera();
    engine_bind_texture();
    engine_bind_entity();
    font_library_init();
    window_library_init();
    gadget_library_init();
    codec_registry_reset();
    image_library_init();
    engine_bind_light();
    engine_bind_material();
    menu_library_init();
    engine_bind_mesh();
    requester_library_init();
    statusbar_library_init();
    engine_bind_world();
    engine_init();
    if (with_screen) {
        screen_library_init(engine_screen());
        sprite3d_library_init();
        keyboard_init();
        mouse_init();
    }
}

void end_libraries() {
    sprite3d_free_all();
    mouse_end();
    keyboard_end();
    screen_library_end();
    image_free_all();
    window_close_all();
    font_free_all();
    engine_unload();
}

void register_codecs() {
    jpeg_decoder_register();
    jpeg_encoder_register();
    png_decoder_register();
    tga_decoder_register();
    tiff_decoder_register();
}

void read_controls() {
    app.size_depth = gadget_get_state(gadget::size_depth);
    app.size_height = gadget_get_state(gadget::size_height);
    app.size_width = gadget_get_state(gadget::size_width);
    app.turn_offset = gadget_get_state(gadget::turn);
    app.camera_height = gadget_get_state(gadget::camera_height);
}

// The arrow keys turn and tilt by whole degrees from where the box stands, scroll-bar
// offsets included, so that a key press never makes the box jump.
void turn_box_by_arrow_keys() {
    if (!engine.call.IsEntity(scene::box) || !keyboard_poll()) return;
    if (keyboard_key_down(key_up)) {
        --app.tilt_angle;
        apply_box_rotation();
    } else if (keyboard_key_down(key_down)) {
        ++app.tilt_angle;
        apply_box_rotation();
    }
    if (keyboard_key_down(key_left)) {
        --app.turn_angle;
        apply_box_rotation();
    } else if (keyboard_key_down(key_right)) {
        ++app.turn_angle;
        apply_box_rotation();
    }
}

// False for "Beenden" once a changed project was asked about, as closing the window does.
bool take_menu_choice(int32_t item) {
    if (item == quit_menu_item) return !project_may_close();
    if (item == about_menu_item) show_about_box();
    else if (item == export_set_menu_item) ask_and_save_view_set();
    else if (item == export_spin_menu_item) ask_and_save_spin_set();
    else if (item == export_glb_menu_item) ask_and_save_glb();
    else if (item == print_template_menu_item) ask_and_save_print_template();
    else if (item == print_sheet_menu_item) load_print_sheet();
    else if (item == catalogue_menu_item) ask_and_export_catalogue();
    else if (!handle_project_menu_item(item) && !handle_edit_menu_item(item)) toggle_view_option(item);
    return true;
}

// Handles every pending event; false once the window asked to close.
bool drain_events() {
    for (;;) {
        const int32_t event = window_event();
        if (event == 0) return true;
        if (event == event_code_gadget) handle_gadget_event(event_gadget());
        if (event == event_code_drop && !open_dropped_project()) take_dropped_picture(event_gadget());
        if (event == event_code_menu && !take_menu_choice(event_gadget())) return false;
        if (event == event_code_close && project_may_close()) return false;
    }
}

void run_frames() {
    for (;;) {
        turn_box_by_arrow_keys();
        follow_preview_mouse();
        follow_changes();
        box_size_text_follow();
        screen_flip_picture(scene_draw(), 1);
        if (!drain_events()) return;
        delay(frame_pause_ms);
    }
}

[[noreturn]] void quit(UINT exit_code) {
    end_libraries();
    main_heap_destroy();
    ExitProcess(exit_code);
}

// Logging off or shutting down asks as closing does, once however many windows hear of it;
// the answer stands until the session ends, or goes on after all.
bool session_agreed = false;

bool session_may_end() {
    if (!session_agreed) session_agreed = project_may_close();
    return session_agreed;
}

void session_ends(bool ending) {
    if (ending) quit(0);
    session_agreed = false;
}

// A project opened by a double click or from a batch file in another folder: the program
// then finds its model data beside itself. The files it names are taken as full paths first.
void settle_working_folder(command& asked) {
    asked.project = full_path(asked.project);
    if (!asked.target.empty()) asked.target = full_path(asked.target);
    if (GetFileAttributesA(model_probe) != INVALID_FILE_ATTRIBUTES) return;
    char program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder(program, length < MAX_PATH ? length : 0);
    folder.erase(folder.find_last_of('\\') + 1);
    if (GetFileAttributesA((folder + model_probe).c_str()) != INVALID_FILE_ATTRIBUTES)
        SetCurrentDirectoryA(folder.c_str());
}

// The arguments that need no window are answered at once, before any library starts.
command read_arguments() {
    command asked = command_read(__argc - 1, __argv + 1);
    if (asked.mode == command_mode::usage) {
        console_write(command_usage(), false);
        ExitProcess(0);
    }
    if (asked.mode == command_mode::wrong) {
        console_write(asked.complaint + "\n\n" + command_usage(), true);
        ExitProcess(wrong_call);
    }
    if (asked.mode == command_mode::export_project || asked.mode == command_mode::catalogue) message_to_console();
    if (asked.mode != command_mode::window) settle_working_folder(asked);
    return asked;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const command asked = read_arguments();
    const bool without_window = asked.mode == command_mode::export_project || asked.mode == command_mode::catalogue;
    const bool with_screen = !without_window || batch_needs_screen(asked);
    main_heap_create();
    start_libraries(with_screen);
    if (!start_requirements_met()) quit(1);

    app.turn_angle = start_turn_angle;
    app.tilt_angle = start_tilt_angle;
    app.camera_distance = 47;
    app.fonts[0] = font_load(0, "arial", 9, font_bold);
    app.fonts[1] = font_load(1, "arial", 14, font_bold);
    register_codecs();
    if (asked.mode == command_mode::export_project) batch_prefetch_faces(asked);
    app.background_colour = 0xFFFFFF;
    // A large export fills its backdrop with the floor's colour and never draws the floor's
    // texture: without a screen the scene only needs one to load.
    if (with_screen) make_background_texture(app.background_colour);
    else make_background_texture_if_missing(app.background_colour);
    app.view = view_settings_load();
    // Without its window the program would run on unseen, with no way to end it.
    if (!build_main_window(!without_window, with_screen)) {
        start_report_no_window();
        quit(1);
    }
    read_controls();
    set_box_size(box_size_of_steps(app.size_depth, app.size_width, app.size_height));
    apply_box_angles();

    // A batch run ends once its file is written and closed: the system takes back the hidden
    // window and everything else at once, where ending each library would only cost time.
    if (asked.mode == command_mode::catalogue) ExitProcess(UINT(catalogue_console_run(asked)));
    if (without_window) ExitProcess(UINT(batch_export(asked)));
    if (asked.mode == command_mode::window_with_project) open_project(asked.project.c_str());
    window_on_session_end({session_may_end, session_ends});
    run_frames();
    quit(0);
}
