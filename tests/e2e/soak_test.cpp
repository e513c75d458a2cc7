// Hours of use in a few minutes: sixty pictures chosen in a row over the six face buttons,
// large JPEG photos, PNG with alpha and TIFF. Tessaryn must keep answering, its memory and
// GDI objects must stay flat after the first round, and the atlas must stay whole.
#include <gtest/gtest.h>

#include "tests/e2e/dialog_answers.h"
#include "tests/e2e/tessaryn_process.h"
// clang-format off: needs <windows.h> from above.
#include <psapi.h>
// clang-format on
#include <png.h>

#include <algorithm>
#include <cstdio>

#include "tests/support/picture_files.h"
#include "tests/support/test_runtime.h"

namespace {

constexpr int face_buttons = 6, rounds = 10;
constexpr double memory_allowance_mib = 24;
constexpr int gdi_allowance = 50;

const char* const titles[face_buttons] = {
    "Bild f\xFCr die Oberseite", "Bild f\xFCr die Rechteseite", "Bild f\xFCr Oben",
    "Bild f\xFCr die R\xFC" "ckseite", "Bild f\xFC" "rdie Vorderseite", "Bild f\xFCr Oben"};

// A photo-like picture: smooth gradients with a pattern, so that JPEG has work to do.
bgr_picture gradient_picture(int width, int height, int seed) {
    bgr_picture picture{width, height, std::vector<uint8_t>(size_t(width) * height * 3)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = &picture.rows[(size_t(y) * width + x) * 3];
            pixel[0] = uint8_t(x * 255 / width + seed * 40);
            pixel[1] = uint8_t(y * 255 / height);
            pixel[2] = uint8_t((x / 16 + y / 16 + seed) % 2 ? 220 : 30);
        }
    return picture;
}

bool write_jpeg(const std::string& name, const bgr_picture& picture) {
    const int32_t stride = (picture.width * 3 + 3) & ~3;
    std::vector<uint8_t> rows(size_t(stride) * picture.height);
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(&picture.rows[size_t(picture.height - 1 - y) * picture.width * 3],
                    picture.width * 3, &rows[size_t(y) * stride]);
    return encoder_save(name.c_str(), rows.data(), plugin_jpeg, picture.width, picture.height,
                        stride, 8) != 0;
}

bool write_png_with_alpha(const std::string& name, int width, int height) {
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    for (size_t i = 0; i < pixels.size(); i += 4)
        pixels[i] = 40, pixels[i + 1] = 200, pixels[i + 2] = 90, pixels[i + 3] = uint8_t(i / 4 % 256);
    png_image description = {};
    description.version = PNG_IMAGE_VERSION;
    description.width = uint32_t(width);
    description.height = uint32_t(height);
    description.format = PNG_FORMAT_BGRA;
    return png_image_write_to_file(&description, name.c_str(), 0, pixels.data(), 0, nullptr) != 0;
}

std::vector<std::string> write_pictures() {
    const std::vector<std::string> names = {full_path("photo_4000.jpg"), full_path("photo_2592.jpg"),
                                            full_path("alpha.png"),      full_path("scan.tif"),
                                            full_path("photo_1600.jpg"), full_path("small_alpha.png")};
    bool written = write_jpeg(names[0], gradient_picture(4000, 3000, 1)) &&
                   write_jpeg(names[1], gradient_picture(2592, 1944, 2)) &&
                   write_png_with_alpha(names[2], 1200, 900) &&
                   write_tiff(names[3].c_str(), gradient_picture(1024, 768, 3)) &&
                   write_jpeg(names[4], gradient_picture(1600, 1200, 4)) &&
                   write_png_with_alpha(names[5], 64, 48);
    return written ? names : std::vector<std::string>();
}

struct usage {
    double memory_mib;
    DWORD gdi_objects;
};

// Private bytes where the platform counts them for another process, else the working set
// (Wine reports only the latter). GDI objects are 0 where the platform does not count them.
usage usage_of(const tessaryn_process& program) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(program.handle(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return {};
    const SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.WorkingSetSize;
    return {double(bytes) / (1024 * 1024), GetGuiResources(program.handle(), GR_GDIOBJECTS)};
}

// The main thread has finished the choice when it answers a message again.
bool answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30000, &ignored) != 0;
}

TEST(Soak, SixtyPicturesInARowKeepMemoryGdiAndTheAtlasSteady) {
    const DWORD started = GetTickCount();
    start_image_runtime();
    const std::vector<std::string> pictures = write_pictures();
    ASSERT_EQ(pictures.size(), size_t(face_buttons));
    const std::string folder = full_path("soak");
    ASSERT_TRUE(prepare_model_folder(folder, {}));
    const std::string atlas = folder + "\\model\\cube1.jpg";
    const pixel_grid first_atlas = load_pixels(atlas.c_str());

    tessaryn_process program;
    ASSERT_TRUE(program.start(build_path("bin/Tessaryn.exe"), folder));
    HWND window = program.main_window();
    ASSERT_NE(window, nullptr);

    usage baseline = {}, highest = {};
    for (int round = 0; round < rounds; ++round) {
        for (int button = 0; button < face_buttons; ++button) {
            const std::string& picture = pictures[size_t(button + round) % pictures.size()];
            PostMessageA(GetDlgItem(window, 6 + button), BM_CLICK, 0, 0);
            ASSERT_TRUE(answer_file_dialog(program, titles[button], picture))
                << "round " << round << ", button " << 6 + button;
            ASSERT_TRUE(answers(window)) << "round " << round << ", button " << 6 + button;
            EXPECT_EQ(window_text(GetDlgItem(window, 30 + button)), picture);
        }
        const usage now = usage_of(program);
        ASSERT_GT(now.memory_mib, 0.0) << "the memory of the program could not be read";
        if (round == 0) baseline = highest = now;
        highest.memory_mib = std::max(highest.memory_mib, now.memory_mib);
        highest.gdi_objects = std::max(highest.gdi_objects, now.gdi_objects);
    }
    const pixel_grid last_atlas = load_pixels(atlas.c_str());
    EXPECT_EQ(last_atlas.width, first_atlas.width);
    EXPECT_EQ(last_atlas.height, first_atlas.height);
    EXPECT_LE(highest.memory_mib - baseline.memory_mib, memory_allowance_mib);
    EXPECT_LE(int(highest.gdi_objects) - int(baseline.gdi_objects), gdi_allowance);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.wait_for_exit(20000), 0u);
    std::printf("soak: memory %.1f MiB after the first round, highest %.1f MiB; GDI "
                "objects %lu, highest %lu; %d pictures in %.0f s\n",
                baseline.memory_mib, highest.memory_mib, baseline.gdi_objects,
                highest.gdi_objects, rounds * face_buttons, (GetTickCount() - started) / 1000.0);
}

}  // namespace
