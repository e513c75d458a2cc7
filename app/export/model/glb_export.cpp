// The face pictures for the model: a JPEG small enough and standing as stored goes in as its
// own bytes; any other picture is decoded, made at most glb_longest_side long and encoded,
// a JPEG as JPEG and every other format as PNG. The encoders write files, so each picture is
// encoded into a temporary file and read back.
#include "app/export/model/glb_export.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/export/model/glb_file.h"
#include "app/faces/face_atlas.h"
#include "app/project/whole_file.h"
#include "runtime/core/windows_host.h"
#include "runtime/image/image.h"
#include "runtime/image/orientation.h"

namespace {

constexpr object_number picture_image = 330;
constexpr object_number texture_image = 331;
constexpr object_number atlas_image = 332;
constexpr int32_t true_colour = 32;
// Quality 90: pictures looked at closely in a viewer, at a fraction of quality 100's size.
constexpr int32_t jpeg_quality_flag = 9;

std::vector<uint8_t> file_bytes(const char* path) {
    const ::file_bytes read = whole_file(path);
    return read ? std::vector<uint8_t>(read->begin(), read->end()) : std::vector<uint8_t>();
}

// A JPEG's stored size and its Exif orientation, from the segments up to its frame header;
// false for anything else.
struct jpeg_frame {
    int32_t width = 0, height = 0, orientation = orientation_upright;
    bool common = false;  // Huffman-coded grey or colour, which every viewer shows
};

bool is_frame_marker(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool read_jpeg_frame(const std::vector<uint8_t>& bytes, jpeg_frame& frame) {
    constexpr uint8_t app1 = 0xE1;
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return false;
    for (size_t at = 2; at + 4 <= bytes.size();) {
        if (bytes[at] != 0xFF) return false;
        const uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at;  // a fill byte
            continue;
        }
        const size_t length = size_t(bytes[at + 2]) << 8 | bytes[at + 3];
        if (length < 2 || length > bytes.size() - at - 2) return false;
        const uint8_t* segment = &bytes[at + 4];
        if (marker == app1 && frame.orientation == orientation_upright)
            frame.orientation = exif_orientation(segment, length - 2);
        if (is_frame_marker(marker)) {
            if (length < 7) return false;
            frame.height = int32_t(segment[1]) << 8 | segment[2];
            frame.width = int32_t(segment[3]) << 8 | segment[4];
            frame.common = marker <= 0xC2 && (segment[5] == 1 || segment[5] == 3);
            return frame.width > 0 && frame.height > 0;
        }
        at += 2 + length;
    }
    return false;
}

struct extent {
    int32_t width, height;
};

extent fitted(extent picture) {
    const int32_t longest = std::max(picture.width, picture.height);
    if (longest <= glb_longest_side) return picture;
    const auto side = [&](int32_t length) {
        return std::max(1, int32_t((int64_t(length) * glb_longest_side + longest / 2) / longest));
    };
    return {side(picture.width), side(picture.height)};
}

// The encoders' target: a fresh name in the temporary folder, removed at the end.
class scratch_file {
public:
    scratch_file() {
        char folder[MAX_PATH], name[MAX_PATH];
        const DWORD length = GetTempPathA(MAX_PATH, folder);
        if (length && length < MAX_PATH && GetTempFileNameA(folder, "tsy", 0, name)) name_ = name;
    }
    ~scratch_file() {
        if (!name_.empty()) DeleteFileA(name_.c_str());
    }
    scratch_file(const scratch_file&) = delete;
    scratch_file& operator=(const scratch_file&) = delete;
    const char* name() const { return name_.c_str(); }

private:
    std::string name_;
};

// The PNG keeps no alpha of its own: the box is opaque.
bool write_png(object_number image, const scratch_file& scratch, extent size) {
    int32_t pitch = 0;
    uint8_t* top = image_top_row(image, &pitch);
    if (!top) return false;
    for (int32_t y = 0; y < size.height; ++y)
        for (int32_t x = 0; x < size.width; ++x) top[ptrdiff_t(y) * pitch + x * 4 + 3] = 0xFF;
    image_writer* writer = image_writer_open(scratch.name(), plugin_png, size.width, size.height);
    if (!writer) return false;
    const int32_t rows = image_writer_rows(writer, top, pitch, size.height);
    return image_writer_close(writer, rows) != 0;
}

// A PNG needs the 32-bit pixels of a drawn texture.
export_failure encode(object_number image, extent size, bool jpeg, glb_picture& picture) {
    scratch_file scratch;
    const bool written = jpeg ? image_save(image, scratch.name(), plugin_jpeg, jpeg_quality_flag) != 0
                              : write_png(image, scratch, size);
    if (!written) return export_failure::not_written;
    picture = {file_bytes(scratch.name()), jpeg};
    return picture.bytes.empty() ? export_failure::not_written : export_failure::none;
}

// `source` drawn at (x, y) with `drawn` size into a texture of `size`, then encoded.
export_failure drawn_and_encoded(platform_handle source, int32_t x, int32_t y, extent drawn, extent size, bool jpeg,
                                 glb_picture& picture) {
    if (!image_create(texture_image, size.width, size.height, true_colour)) return export_failure::no_memory;
    draw_begin(image_output(texture_image));
    draw_image(source, x, y, drawn.width, drawn.height);
    draw_end();
    const export_failure failure = encode(texture_image, size, jpeg, picture);
    image_free(texture_image);
    return failure;
}

// The largest of the JPEG decoder's scales, in eighths, at which the picture is at most
// glb_longest_side long: decoding at it costs a fraction of the whole picture's decoding,
// and nothing is left to draw smaller.
int32_t fitting_eighths(extent stored) {
    const int64_t longest = std::max(stored.width, stored.height);
    int32_t eighths = 8;
    while (eighths > 1 && (longest * eighths + 7) / 8 > glb_longest_side) --eighths;
    return eighths;
}

// The decoder takes the smallest scale whose picture covers the wanted size with its short
// side, so the short side at the fitting scale is asked for.
bool load_picture(const char* path, bool jpeg, extent stored) {
    const int32_t eighths = jpeg ? fitting_eighths(stored) : 8;
    if (eighths == 8) return image_load(picture_image, path) != 0;
    const auto shortest = int32_t((int64_t(std::min(stored.width, stored.height)) * eighths + 7) / 8);
    return image_load_sized(picture_image, path, shortest, shortest) != 0;
}

// False for a picture that cannot be read.
bool picture_texture(const char* path, glb_picture& picture, export_failure& failure) {
    std::vector<uint8_t> bytes = file_bytes(path);
    jpeg_frame frame;
    const bool jpeg = read_jpeg_frame(bytes, frame);
    const extent stored{frame.width, frame.height};
    if (jpeg && frame.common && frame.orientation == orientation_upright && fitted(stored).width == stored.width) {
        picture = {std::move(bytes), true};
        return true;
    }
    if (!load_picture(path, jpeg, stored)) return false;
    const image_record* loaded = image_get(picture_image);
    const extent size = fitted({loaded->width, loaded->height});
    failure = jpeg && size.width == loaded->width && size.height == loaded->height
                  ? encode(picture_image, size, true, picture)
                  : drawn_and_encoded(image_handle(picture_image), 0, 0, size, size, jpeg, picture);
    image_free(picture_image);
    return true;
}

// A print sheet's panel alone: the sheet decoded no larger than the panel needs, the panel
// drawn out of it. A JPEG sheet's panels stay JPEGs.
bool panel_texture(const char* path, const picture_part& part, glb_picture& picture, export_failure& failure) {
    int32_t width = 0, height = 0;
    if (!image_picture_size(path, &width, &height)) return false;
    const double part_width = part.right - part.left, part_height = part.bottom - part.top;
    const extent panel = fitted({std::max(1, int32_t(width * part_width + 0.5)),
                                 std::max(1, int32_t(height * part_height + 0.5))});
    const extent sheet{int32_t(panel.width / part_width + 0.5), int32_t(panel.height / part_height + 0.5)};
    if (!image_load_sized(picture_image, path, sheet.width, sheet.height)) return false;
    jpeg_frame frame;
    const bool jpeg = read_jpeg_frame(file_bytes(path), frame);
    failure = drawn_and_encoded(image_handle(picture_image), -int32_t(part.left * sheet.width + 0.5),
                                -int32_t(part.top * sheet.height + 0.5), sheet, panel, jpeg, picture);
    image_free(picture_image);
    return true;
}

export_failure atlas_texture(int32_t face, glb_picture& picture) {
    if (!image_get(atlas_image) && !image_load(atlas_image, face_atlas_file, image_load_as_stored))
        return export_failure::picture_unreadable;
    const face_rectangle& r = face_rectangles[face];
    return drawn_and_encoded(image_handle(atlas_image), -r.x, -r.y, {atlas_width, atlas_height}, {r.width, r.height},
                             true, picture);
}

std::vector<glb_picture> face_textures(const std::vector<model_face>& faces, export_failure& failure) {
    std::vector<glb_picture> pictures(faces.size());
    for (size_t i = 0; i < faces.size() && failure == export_failure::none; ++i) {
        const char* chosen = face_picture(faces[i].atlas_face);
        const picture_part part = face_picture_part(faces[i].atlas_face);
        const bool taken = chosen && (is_whole_picture(part) ? picture_texture(chosen, pictures[i], failure)
                                                             : panel_texture(chosen, part, pictures[i], failure));
        if (!taken)
            failure = atlas_texture(faces[i].atlas_face, pictures[i]);
    }
    image_free(atlas_image);
    return pictures;
}

export_failure export_model(const char* path, const std::vector<model_face>& faces) {
    export_failure failure = export_failure::none;
    const std::vector<glb_picture> pictures = face_textures(faces, failure);
    if (failure != export_failure::none) return failure;
    const std::vector<uint8_t> file = glb_file(faces, pictures);
    return file_save_bytes(path, file.data(), file.size()) ? export_failure::none : export_failure::not_written;
}

}  // namespace

export_failure export_glb(const char* path, const box_size& box, bool soft_edges) {
    return export_model(path, box_model(box, soft_edges));
}

export_failure export_shape_glb(const engine_model_calls& engine, const model_scene& scene, const char* path,
                                box_shape shape, const box_size& size, bool soft_edges) {
    std::vector<drawn_corner> corners;
    if (!drawn_shape(engine, scene, shape, shape_extent(shape, size), soft_edges, corners))
        return export_failure::no_preview;
    return export_model(path, shape_model(corners));
}
