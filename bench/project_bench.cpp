// Times projects with six 4000 x 3000 photos, each against its own floor in the same run:
// - opening the project (read, the six faces into the atlas, the engine's reload of it)
//   against choosing the same six photos one after another as the face buttons do
//   (compose_face and the reload, six times);
// - a png 2048 export from the command line, as a whole process from its start to its end,
//   against the same export made inside a running program.
#include <cstdio>
#include <string>
#include <vector>

#include "app/export/stills/box_export.h"
#include "app/faces/face_atlas.h"
#include "app/project/project_file.h"
#include "bench/bench_pictures.h"
#include "bench/export_calls.h"
#include "harness/harness.h"
#include "runtime/core/windows_host.h"

namespace {

constexpr int photo_width = 4000, photo_height = 3000;
constexpr int rounds = 3;
constexpr int box_texture = 306;
constexpr const char* project_name = "box\\box.tessaryn";
const export_scene scene_numbers = {0, 0, 303, {6, 7}};

std::string photo_name(int face) { return "box\\photo" + std::to_string(face) + ".jpg"; }

void reload_atlas(const engine_dll& e) {
    e.FreeTexture(box_texture);
    if (!e.LoadTexture(box_texture, "cube1.jpg")) std::printf("LoadTexture failed\n");
}

void choose_one_after_another(const engine_dll& e) {
    for (int face = 0; face < face_count; ++face) {
        if (!compose_face(photo_name(face).c_str(), face)) std::printf("compose_face failed\n");
        reload_atlas(e);
    }
}

// The rows of the project are the window's face rows; which face each fills does not change
// the work.
void open_project(const engine_dll& e) {
    project opened = {};
    project_read(project_name, opened);
    face_picture_request requests[face_count];
    for (int face = 0; face < face_count; ++face) requests[face] = {opened.pictures[face].c_str(), face, false};
    if (compose_faces(requests, face_count) != face_failure::none) std::printf("compose_faces failed\n");
    reload_atlas(e);
}

void measure_opening(const engine_dll& e) {
    std::vector<double> chosen, opened;
    for (int round = 0; round < rounds; ++round) {
        chosen.push_back(milliseconds([&] { choose_one_after_another(e); }));
        opened.push_back(milliseconds([&] { open_project(e); }));
    }
    const double choosing = median(chosen), opening = median(opened);
    std::printf("opening a project of six %d x %d photos: median %.0f ms; choosing them one after another: "
                "%.0f ms; ratio %.2f (target at most 1.1)\n",
                photo_width, photo_height, opening, choosing, opening / choosing);
}

std::string program_path() {
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string path = own;
    path.erase(path.find_last_of('\\'));
    return path.substr(0, path.find_last_of('\\') + 1) + "bin\\Tessaryn.exe";
}

// The exit code, or STILL_ACTIVE when the program did not end within a minute.
DWORD run_command_line(const std::string& program) {
    std::string command = "\"" + program + "\" " + project_name + " /export cli.png";
    // What the program says goes nowhere, as in a batch file that keeps quiet.
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE quiet = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = quiet;
    PROCESS_INFORMATION info = {};
    const bool started = CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &info) != 0;
    CloseHandle(quiet);
    if (!started) return STILL_ACTIVE;
    WaitForSingleObject(info.hProcess, 60000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return code;
}

void measure_command_line(const engine_dll& e) {
    const engine_export_calls calls = export_calls(e);
    const std::string program = program_path();
    std::vector<double> whole, inside;
    for (int round = 0; round < rounds; ++round) {
        DWORD code = 0;
        whole.push_back(milliseconds([&] { code = run_command_line(program); }));
        if (code != 0) std::printf("the command-line export ended with %lu\n", static_cast<unsigned long>(code));
        inside.push_back(milliseconds([&] {
            if (export_box(calls, scene_numbers, "inside.png", export_types[1], nullptr, nullptr) != export_failure::none)
                std::printf("export failed\n");
        }));
    }
    const double process = median(whole), in_program = median(inside);
    std::printf("png 2048 x 2048 from the command line, start to end: median %.0f ms; the same export in the "
                "running program: %.0f ms; ratio %.2f (target at most 1.3)\n",
                process, in_program, process / in_program);
}

}  // namespace

int main() {
    start_image_runtime();
    if (!engine_start()) {
        std::fprintf(stderr, "project_bench: Engine3D.dll or its screen is not available\n");
        return 1;
    }
    const engine_dll& e = *engine_library();
    write_picture("model\\land.jpg", filled(1024, 1024, 0xFFFFFF), picture_format::jpeg);
    build_default_scene();
    CreateDirectoryA("box", nullptr);
    project saved = {};
    saved.size_depth = saved.size_width = saved.size_height = saved.camera_height_bar = 5;
    saved.turn_bar = saved.tilt_bar = 1;
    saved.turn_angle = 120;
    saved.camera_distance = 47;
    saved.floor_colour = 0xFFFFFF;
    for (int face = 0; face < face_count; ++face) {
        write_jpeg(photo_name(face).c_str(), make_photo(photo_width, photo_height, 901u + face), 90);
        saved.pictures[face] = full_path(photo_name(face));
    }
    if (project_write(project_name, saved) != project_save_failure::none) std::printf("project_write failed\n");
    measure_opening(e);
    measure_command_line(e);
    return 0;
}
