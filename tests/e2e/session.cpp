// What the end-to-end cases share to look at the program.
#include "tests/e2e/session.h"

#include "tests/support/picture_files.h"

#include <vector>

HWND gadget(HWND window, int number) {
    HWND direct = GetDlgItem(window, number);
    return direct ? direct : GetDlgItem(GetDlgItem(window, 14), number);
}

pixel_grid capture(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, old);
    pixel_grid shot = read_pixels(bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

double mean_difference(const pixel_grid& a, const pixel_grid& b) {
    if (a.pixels.size() != b.pixels.size() || a.pixels.empty()) return 255.0;
    double total = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) total += channel_distance(a.pixels[i], b.pixels[i]);
    return total / double(a.pixels.size());
}

void write_face_picture(const face_choice& face) {
    const bgr_picture colour = one_colour_picture(64, 48, face.r, face.g, face.b);
    const std::string name = face.file;
    const std::string kind = name.substr(name.find('.'));
    if (kind == ".png") ASSERT_TRUE(write_png(face.file, colour));
    if (kind == ".tif") ASSERT_TRUE(write_tiff(face.file, colour));
    if (kind == ".tga") write_tga(face.file, colour);
    if (kind == ".jpg" || kind == ".bmp") {
        ASSERT_NE(image_create(900, 64, 48, 24), 0);
        draw_begin(image_output(900));
        draw_box(0, 0, 64, 48, color_rgb(face.r, face.g, face.b));
        draw_end();
        ASSERT_EQ(image_save(900, face.file, kind == ".jpg" ? plugin_jpeg : plugin_bmp, 10), 1);
        image_free(900);
    }
}

RECT drawn_bounds(const pixel_grid& exported) {
    RECT bounds = {exported.width, exported.height, 0, 0};
    for (int y = 0; y < exported.height; ++y)
        for (int x = 0; x < exported.width; ++x)
            if (exported.at(x, y) >> 24 >= 8)
                bounds = {std::min(bounds.left, LONG(x)), std::min(bounds.top, LONG(y)),
                          std::max(bounds.right, LONG(x + 1)), std::max(bounds.bottom, LONG(y + 1))};
    return bounds;
}

DWORD run_from_command_line(const std::string& folder, const std::string& arguments, std::string* said) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    const std::string log = folder + "\\said.txt";
    HANDLE output = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0, nullptr);
    tessaryn_process program;
    const bool started = program.start(build_path("bin/Tessaryn.exe"), folder, arguments, output);
    const DWORD code = started ? program.wait_for_exit(600000) : STILL_ACTIVE;
    CloseHandle(output);
    const std::vector<uint8_t> text = read_file(log);
    *said = std::string(text.begin(), text.end());
    return code;
}

uint32_t pixel_of(const std::string& file, int x, int y) {
    const pixel_grid loaded = load_pixels(file.c_str());
    return x < loaded.width && y < loaded.height ? loaded.at(x, y) : 0xFFFFFFFFu;
}

// A Tessaryn of its own, started in a fresh folder with the shipped model data, so that

void post_scroll(HWND bar, int code, int times) {
    for (int step = 0; step < times; ++step)
        PostMessageA(GetParent(bar), WM_HSCROLL, WPARAM(code), reinterpret_cast<LPARAM>(bar));
}

void press_shortcut(HWND window, WORD key, bool with_shift) {
    SetForegroundWindow(window);
    std::vector<WORD> keys = {VK_CONTROL};
    if (with_shift) keys.push_back(VK_SHIFT);
    keys.push_back(key);
    std::vector<INPUT> presses;
    for (bool up : {false, true})
        for (size_t i = 0; i < keys.size(); ++i) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = keys[up ? keys.size() - 1 - i : i];
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            presses.push_back(input);
        }
    SendInput(UINT(presses.size()), presses.data(), sizeof(INPUT));
}
