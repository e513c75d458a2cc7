// A row becomes the hidden window's project: its pictures or sheet or project file, and its
// millimetres; then each asked-for export runs as the command line's does, into temporary
// names that are moved into place only when the row's last file is written.
#include "app/catalogue/catalogue_product.h"

#include <cstdlib>

#include "app/app_state.h"
#include "app/export/model/glb_command.h"
#include "app/export/sets/spin_set.h"
#include "app/export/sets/view_set.h"
#include "app/export/stills/box_export.h"
#include "app/export/stills/export_command.h"
#include "app/project/box_size.h"
#include "app/project/project_state.h"
#include "runtime/core/windows_host.h"
#include "runtime/image/image.h"

namespace {

constexpr int32_t measured_side = 512;
// Shops ask for a white jpg of 2000 pixels; the transparent png is the program's own.
constexpr export_type shop_jpeg = {2000, plugin_jpeg, false, ".jpg", 150};
const export_type& transparent_png = export_types[1];
// The project's face rows, as project files key them: Top, Right, Left, Front, Back, Bottom.
constexpr const char* face_columns[project_face_count] = {"top", "right", "left", "front", "back", "bottom"};
// A folder of its own for each row: helper processes write rows side by side.
std::string partial_folder(const catalogue_product& product) {
    return product.out_folder + ".catalogue-row-" + std::to_string(product.row) + "\\";
}

std::string field(const catalogue_product& product, const char* column) {
    return catalogue_field(*product.table, product.row, column);
}

std::string full_input(const catalogue_product& product, const std::string& path) {
    if (path.empty()) return path;
    const bool absolute = path.size() > 1 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\'));
    std::string joined = absolute ? path : product.table_folder + path;
    for (char& c : joined) c = c == '/' ? '\\' : c;
    return joined;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The row's millimetres; an empty column keeps what the project has.
std::string take_sizes(const catalogue_product& product, box_size& box) {
    static const struct {
        const char* column;
        double box_size::*side;
    } sides[] = {{"width_mm", &box_size::width_mm}, {"height_mm", &box_size::height_mm}, {"depth_mm", &box_size::depth_mm}};
    for (const auto& side : sides) {
        const std::string text = field(product, side.column);
        if (!text.empty() && !mm_of_text(text, true, box.*side.side))
            return std::string(side.column) + " ist keine Zahl: " + text;
    }
    return box_size_allowed(box) ? std::string() : "Diese Ma\xDF" "e hat keine Box: " + box_size_text(box);
}

// The row's shape, and a book's pages and paper; empty columns keep the project's. A case
// without sizes of its own (`sized`: from the row's own project) is a standard one, a book
// with pages its spine deep.
std::string take_shape(const catalogue_product& product, project& made, bool sized) {
    const std::string shape = field(product, "shape"), pages = field(product, "pages"), paper = field(product, "paper");
    if (!shape.empty() && !shape_of_key(shape, made.shape)) return "shape ist keine Form: " + shape;
    if (!pages.empty()) {
        const int32_t count = pages_of_text(pages);
        if (count <= 0) return "pages ist keine Seitenzahl: " + pages;
        made.book.pages = count;
    }
    if (!paper.empty() && !paper_of_key(paper, made.book.paper)) return "paper ist kein Papier: " + paper;
    if (shape_is_case(made.shape) && !sized && field(product, "width_mm").empty())
        made.box = standard_case_size(made.shape);
    return {};
}

// The project the row describes over the window's own; empty when it can be drawn.
std::string project_of_row(const catalogue_product& product, project& made, project_reading& reading) {
    made = *product.start;
    const std::string file = full_input(product, field(product, "project"));
    if (!file.empty()) {
        reading = project_read(file.c_str(), made);
        if (reading.refusal != project_refusal::none) return "Das Projekt kann nicht gelesen werden: " + file;
    } else {
        made.sheet = full_input(product, field(product, "sheet"));
        for (int32_t row = 0; row < project_face_count; ++row) {
            made.pictures[row] = full_input(product, field(product, face_columns[row]));
            made.sheet_panels[row] = {};
        }
    }
    for (const std::string& input : catalogue_product_inputs(product))
        if (!exists(input)) return "Die Datei fehlt: " + input;
    std::string why = take_shape(product, made, !file.empty() && made.box.width_mm != 0);
    if (made.box.width_mm == 0) made.box = box_size_of_steps(made.size_depth, made.size_width, made.size_height);
    if (why.empty()) why = take_sizes(product, made.box);
    if (why.empty() && spine_mm(made.shape, made.book) > 0 && field(product, "depth_mm").empty())
        made.box.depth_mm = spine_mm(made.shape, made.book);
    return why.empty() && !box_size_allowed(made.box) ? "Diese Ma\xDF" "e hat keine Box: " + box_size_text(made.box) : why;
}

std::string why_incomplete(const project_outcome& outcome) {
    for (const std::string& failure : outcome.picture_failures)
        if (!failure.empty()) return failure;
    if (!outcome.sizes_refused.empty()) return "Diese Ma\xDF" "e wurden nicht genommen: " + outcome.sizes_refused;
    return "Das Projekt konnte nicht ganz \xFC" "bernommen werden.";
}

struct written_file {
    std::string temporary;
    std::string final_name;  // relative to the output folder
};

// The exports of the row into the partial folder; false at the first that fails.
bool export_row(const catalogue_product& product, const catalogue_names& names, std::vector<written_file>& files) {
    const catalogue_shape shape = catalogue_profile_shape(product.profile);
    const export_type& type = shape.jpeg ? shop_jpeg : transparent_png;
    const std::string base = partial_folder(product) + "p";
    app.view.fill = shape.fill;
    app.background_colour = 0xFFFFFF;
    if (product.outputs & output_main) {
        files.push_back({export_file_name(base + "-main", type), names.main});
        if (!save_export(files.back().temporary.c_str(), type, true)) return false;
    }
    if (product.outputs & output_set) {
        for (int32_t view = 0; view < set_view_count; ++view)
            files.push_back({set_file_name(base + "-set", type, set_views[view]), names.views[size_t(view)]});
        if (!save_view_set((base + "-set").c_str(), type, true)) return false;
    }
    if (product.outputs & output_spin) {
        const spin_files spin = spin_file_names(base + "-spin", type, spin_default_frames);
        const bool written = save_spin_set((base + "-spin").c_str(), type, spin_default_frames, true, true, true);
        for (const std::string& frame : spin.frames) DeleteFileA(frame.c_str());
        files.push_back({spin.zip, names.spin_zip});
        if (!written) return false;
    }
    if (product.outputs & output_glb) {
        files.push_back({base + ".glb", names.model});
        if (!save_glb(files.back().temporary.c_str())) return false;
    }
    if (product.outputs & output_template) {
        files.push_back({base + "-template.png", names.print_template});
        if (!save_print_template(files.back().temporary.c_str())) return false;
    }
    return true;
}

// The share and the background are found on a smaller decode: a few pixels more or less of a
// 2000-pixel picture change neither.
catalogue_measure measure_main(const std::string& path) {
    int32_t width = 0, height = 0;
    if (!image_picture_size(path.c_str(), &width, &height) || width <= 0 || height <= 0) return {};
    const platform_handle picture = image_decode_sized(path.c_str(), measured_side, measured_side);
    DIBSECTION section = {};
    catalogue_measure measure;
    if (picture && GetObjectA(picture, sizeof section, &section) == int(sizeof section) && section.dsBm.bmBits) {
        const BITMAP& bits = section.dsBm;
        // Bottom-up rows: the top row is the last in memory.
        const uint8_t* top = static_cast<const uint8_t*>(bits.bmBits) + ptrdiff_t(bits.bmHeight - 1) * bits.bmWidthBytes;
        measure = catalogue_measure_picture(top, -bits.bmWidthBytes, bits.bmBitsPixel / 8, bits.bmWidth, bits.bmHeight);
        measure.longer_side = width > height ? width : height;
    }
    if (picture) image_decoded_free(picture);
    return measure;
}

bool move_into_place(const catalogue_product& product, const catalogue_names& names, const std::vector<written_file>& files) {
    if (!names.folder.empty()) CreateDirectoryA((product.out_folder + names.folder).c_str(), nullptr);
    for (const written_file& file : files)
        if (!MoveFileExA(file.temporary.c_str(), (product.out_folder + file.final_name).c_str(), MOVEFILE_REPLACE_EXISTING))
            return false;
    return true;
}

}  // namespace

std::vector<std::string> catalogue_product_inputs(const catalogue_product& product) {
    std::vector<std::string> inputs;
    for (const char* column : {"project", "sheet", "top", "right", "left", "front", "back", "bottom"}) {
        const std::string path = full_input(product, field(product, column));
        if (!path.empty()) inputs.push_back(path);
    }
    return inputs;
}

std::vector<std::string> catalogue_product_files(const catalogue_product& product) {
    const catalogue_names names = catalogue_file_names(product.profile, product.identifier);
    std::vector<std::string> files;
    if (product.outputs & output_main) files.push_back(names.main);
    if (product.outputs & output_set) files.insert(files.end(), names.views.begin(), names.views.end());
    if (product.outputs & output_spin) files.push_back(names.spin_zip);
    if (product.outputs & output_glb) files.push_back(names.model);
    if (product.outputs & output_template) files.push_back(names.print_template);
    return files;
}

void catalogue_product_write(const catalogue_product& product, catalogue_line& line) {
    project made{};
    project_reading reading;
    line.status = catalogue_status::failed;
    line.reason = project_of_row(product, made, reading);
    if (!line.reason.empty()) return;
    const project_outcome outcome = project_apply(made, reading, face_drawing::for_exports_only);
    if (!outcome.complete()) {
        line.reason = why_incomplete(outcome);
        return;
    }
    CreateDirectoryA(partial_folder(product).c_str(), nullptr);
    const catalogue_names names = catalogue_file_names(product.profile, product.identifier);
    std::vector<written_file> files;
    const bool exported = export_row(product, names, files);
    if (exported && (product.outputs & output_main)) line.measure = measure_main(files.front().temporary);
    const bool placed = exported && move_into_place(product, names, files);
    if (placed) {
        for (const written_file& file : files) line.files.push_back(file.final_name);
        line.status = catalogue_status::written;
    } else {
        for (const written_file& file : files) DeleteFileA(file.temporary.c_str());
        line.reason = exported ? "Die Dateien konnten nicht an ihren Platz gelegt werden." : "Der Export schlug fehl (siehe Konsole).";
        line.measure = {};
    }
    RemoveDirectoryA(partial_folder(product).c_str());
}
