// A Tessaryn of its own for an end-to-end case, and what the cases share to look at it: the
// pixels of a window, the face pictures they choose and the atlas those land in.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/e2e/dialog_answers.h"
#include "tests/e2e/polling.h"
#include "tests/e2e/tessaryn_process.h"
#include "tests/support/test_runtime.h"

struct face_choice {
    int button;
    const char* title;
    const char* file;
    int face_x, face_y;  // centre of the face's rectangle in the atlas
    uint8_t r, g, b;
};

// A gadget of the window, in it or in the controls' container.
HWND gadget(HWND window, int number);
// The pixels of a window's client area as the screen shows them.
pixel_grid capture(HWND window);
double mean_difference(const pixel_grid& a, const pixel_grid& b);
// A one-colour picture of the face's colour under its file name, in the format of its extension.
void write_face_picture(const face_choice& face);
uint32_t pixel_of(const std::string& file, int x, int y);
// The bounds of an export's pixels with alpha 8 or more: the box, its shadow and mirror image.
RECT drawn_bounds(const pixel_grid& exported);
// Tessaryn run from a batch file in `folder` with `arguments`: its exit code, and what it
// wrote to its redirected output in `said`.
DWORD run_from_command_line(const std::string& folder, const std::string& arguments, std::string* said);
// Scroll-bar steps as the bar's own notifications, `times` in a row.
void post_scroll(HWND bar, int code, int times);
// Ctrl (and Shift) with the key, typed as a user types it into the foreground window.
void press_shortcut(HWND window, WORD key, bool with_shift = false);

class session {
public:
    // With `own_program` the program runs from a copy in the folder, so that the settings it
    // keeps beside itself are the case's own.
    explicit session(const std::string& name, bool own_program = false) : folder_(full_path(name)) {
        if (prepare_model_folder(folder_, {}) && program_.start(program_file(own_program), folder_))
            window_ = program_.main_window();
        // Answered from the frame loop, after the first frame has been drawn.
        if (window_ && !caught_up(window_)) window_ = nullptr;
    }
    // Closed as a user closes it, so that its window has gone before the next case looks at
    // the screen where the next program's window opens.
    ~session() {
        if (!window_) return;
        PostMessageA(window_, WM_CLOSE, 0, 0);
        // A case that left its project changed is asked about it.
        eventually(10000, [&] {
            return program_.wait_for_exit(0) != STILL_ACTIVE || program_.wait_for_window("Tessaryn", "#32770", 0);
        });
        if (program_.wait_for_exit(0) == STILL_ACTIVE) answer_message(program_, IDNO);
        program_.wait_for_exit(10000);
        eventually(5000, [&] { return !IsWindow(window_); });
    }

    const tessaryn_process& program() const { return program_; }
    HWND window() const { return window_; }
    std::string folder() const { return folder_; }
    HWND g(int number) const { return gadget(window_, number); }
    std::string model_file(const char* name) const { return folder_ + "\\model\\" + name; }
    pixel_grid preview() const { return capture(g(39)); }
    void click(int number) const { PostMessageA(g(number), BM_CLICK, 0, 0); }

    // The preview at rest with the scene drawn: two captures a moment apart agree, the
    // corner is no longer the black of a cleared frame and the box shows (a window that
    // has not presented its first frame yet is one plain colour).
    pixel_grid still_preview() const {
        pixel_grid last, now;
        eventually(5000, [&] {
            now = preview();
            const bool drawn = now.width == 295 && now.at(0, 0) != 0 &&
                               std::any_of(now.pixels.begin(), now.pixels.end(),
                                           [&](uint32_t p) { return p != now.at(0, 0); });
            const bool still = drawn && mean_difference(now, last) < 0.05;
            last = now;
            return still;
        });
        return now;
    }
    // The preview once it has moved on from `before` by more than `difference` and come to rest.
    pixel_grid preview_changed_from(const pixel_grid& before, double difference) const {
        eventually(5000, [&] { return mean_difference(before, preview()) > difference; });
        return still_preview();
    }
    // The file the program writes when "Bild Speichern" is answered with `name`; the
    // requester may already be waiting when this is called.
    pixel_grid snapshot(const char* name) const {
        const std::string path = full_path(name);
        // A file of an earlier run would pass for the new one.
        DeleteFileA(path.c_str());
        // Read once the handler has returned: a file still being written decodes with grey rows.
        if (!answer_file_dialog(program_, "Bild Abspeichern", path) || !caught_up(window_))
            return {};
        return load_pixels(path.c_str());
    }
    // Picks the face's picture and waits until the atlas shows it.
    bool choose_face(const face_choice& face) const {
        write_face_picture(face);
        return pick_face(face);
    }
    // The same for a picture already written.
    bool pick_face(const face_choice& face) const {
        const std::string path = full_path(face.file);
        click(face.button);
        if (!answer_file_dialog(program_, face.title, path)) {
            ADD_FAILURE() << "requester \"" << face.title << "\" not answered";
            return false;
        }
        return atlas_shows(face);
    }
    // Waits until the face's rectangle of the atlas has the face's colour.
    bool atlas_shows(const face_choice& face) const {
        const auto atlas_pixel = [&] {
            return pixel_of(model_file("cube1.jpg"), face.face_x, face.face_y);
        };
        if (eventually(10000, [&] {
                return channel_distance(atlas_pixel(), rgb(face.r, face.g, face.b)) <= 12;
            }))
            return true;
        const bool told = program_.wait_for_window("Tessaryn", "#32770", 0) != nullptr;
        const std::string message = told ? dismiss_message(program_) : "(none)";
        ADD_FAILURE() << face.file << ": the atlas shows " << std::hex << atlas_pixel()
                      << ", the path field \"" << window_text(g(30 + face.button - 6))
                      << "\", message box " << message << ", the program "
                      << (caught_up(window_, 2000) ? "answers" : "does not answer");
        return false;
    }

    // "Bild Speichern" answered with a file type and a typed name; the picture the program
    // wrote under `written`, alpha kept, once the export has ended.
    pixel_grid exported(const char* typed, int file_type, const char* written) const {
        DeleteFileA(full_path(written).c_str());
        click(13);
        if (!answer_file_dialog(program_, "Bild Abspeichern", full_path(typed), file_type) ||
            !caught_up(window_, 120000))
            return {};
        return load_pixels(full_path(written).c_str(), true);
    }

private:
    std::string program_file(bool own_program) const {
        if (!own_program) return build_path("bin/Tessaryn.exe");
        for (const char* file : {"Tessaryn.exe", "Engine3D.dll"})
            CopyFileA(build_path((std::string("bin/") + file).c_str()).c_str(), (folder_ + "\\" + file).c_str(), FALSE);
        return folder_ + "\\Tessaryn.exe";
    }

    std::string folder_;
    tessaryn_process program_;
    HWND window_ = nullptr;
};
