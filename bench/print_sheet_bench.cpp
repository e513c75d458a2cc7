// Times print sheets for a 200 x 150 x 50 mm box painted at 300 ppi, as a JPEG:
// - loading the sheet onto the six faces (its size read, the atlas composed once) against
//   libjpeg alone decoding the sheet whole;
// - a png 4096 export drawing its faces from the sheet against the same export drawing them
//   from six separate JPEGs of the same panels.
#include <cstdio>
#include <string>
#include <vector>

#include "app/export/stills/box_export.h"
#include "app/faces/face_atlas.h"
#include "app/faces/print_net.h"
#include "bench/bench_pictures.h"
#include "bench/export_calls.h"
#include "harness/harness.h"

namespace {

constexpr const char* sheet_file = "sheet.jpg";
constexpr box_size box = {200, 150, 50};
constexpr int rounds = 5;
const export_scene scene_numbers = {0, 0, 303, {6, 7}};

std::string panel_name(int face) { return "panel" + std::to_string(face) + ".jpg"; }

rgb_picture cut(const rgb_picture& sheet, const pixel_rect& r) {
    rgb_picture panel{r.width, r.height, std::vector<uint8_t>(size_t(r.width) * r.height * 3)};
    for (int y = 0; y < r.height; ++y) {
        const uint8_t* from = &sheet.samples[(size_t(r.y + y) * sheet.width + r.x) * 3];
        std::copy(from, from + size_t(r.width) * 3, &panel.samples[size_t(y) * r.width * 3]);
    }
    return panel;
}

// The program's load of the sheet without its window: measured, cut, composed.
bool load_sheet() {
    int32_t width = 0, height = 0;
    if (!image_picture_size(sheet_file, &width, &height)) return false;
    const sheet_cut cut = print_sheet_cut(print_net_of(box), width, height);
    if (!cut.fits) return false;
    face_picture_request requests[face_count];
    for (int32_t face = 0; face < face_count; ++face) requests[face] = {sheet_file, face, false, cut.panels[face]};
    return compose_faces(requests, face_count) == face_failure::none && requests[0].drawn;
}

void measure_load() {
    std::vector<double> load_times, floor_times;
    for (int round = 0; round <= rounds; ++round) {
        const double load = milliseconds([] {
            if (!load_sheet()) std::printf("loading the sheet failed\n");
        });
        const double floor = milliseconds([] { read_jpeg(sheet_file); });
        if (round == 0) continue;  // caches warmed
        load_times.push_back(load);
        floor_times.push_back(floor);
    }
    std::printf("print sheet 200 x 150 x 50 mm at 300 ppi: load median %.0f ms, libjpeg decoding it alone %.0f ms, "
                "ratio %.2f (target at most 1.3)\n",
                median(load_times), median(floor_times), median(load_times) / median(floor_times));
}

void choose_sheet(bool from_sheet) {
    int32_t width = 0, height = 0;
    image_picture_size(sheet_file, &width, &height);
    const sheet_cut cut = print_sheet_cut(print_net_of(box), width, height);
    for (int32_t face = 0; face < face_count; ++face)
        if (from_sheet) face_picture_choose(face, sheet_file, cut.panels[face]);
        else face_picture_choose(face, panel_name(face).c_str());
}

void measure_export(const engine_dll& e) {
    const engine_export_calls calls = export_calls(e);
    std::vector<double> sheet_times, panel_times;
    for (int round = 0; round <= rounds; ++round)
        for (bool from_sheet : {true, false}) {
            choose_sheet(from_sheet);
            const double time = milliseconds([&] {
                if (export_box(calls, scene_numbers, "sheet_export.png", export_types[2], nullptr, nullptr) !=
                    export_failure::none)
                    std::printf("export failed\n");
            });
            if (round > 0) (from_sheet ? sheet_times : panel_times).push_back(time);
        }
    std::printf("png 4096 x 4096 from the print sheet: export median %.0f ms against %.0f ms from six separate "
                "pictures, ratio %.2f (target at most 1.1)\n",
                median(sheet_times), median(panel_times), median(sheet_times) / median(panel_times));
}

}  // namespace

int main() {
    start_image_runtime();
    if (!engine_start()) {
        std::fprintf(stderr, "print_sheet_bench: Engine3D.dll or its screen is not available\n");
        return 1;
    }
    write_picture("model\\land.jpg", filled(1024, 1024, 0xFFFFFF), picture_format::jpeg);
    build_default_scene();
    const print_net net = print_net_of(box);
    const rgb_picture sheet = make_photo(net_pixels(net.width_mm), net_pixels(net.height_mm), 4711u);
    write_jpeg(sheet_file, sheet, 90);
    for (int face = 0; face < face_count; ++face)
        write_jpeg(panel_name(face).c_str(), cut(sheet, net_pixels(net.panels[face])), 90);
    std::printf("print sheet %d x %d pixels\n", sheet.width, sheet.height);
    measure_load();
    measure_export(*engine_library());
    return 0;
}
