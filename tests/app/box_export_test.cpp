// An export's failures told apart, with a stand-in for the engine: without the preview's
// camera the export says so, a band that finds no memory is named as such, and neither
// touches the file it would have replaced. The spin's zip read back, and the folders an
// export's name asks for.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdio>
#include <set>
#include <string>

#include "app/export/stills/box_export.h"
#include "app/export/stills/export_atlas.h"
#include "app/export/model/box_model.h"
#include "app/export/model/glb_export.h"
#include "app/export/sets/stored_zip.h"
#include "app/export/write_failure.h"
#include "app/faces/face_atlas.h"
#include "tests/support/picture_files.h"
#include "runtime/core/windows_host.h"
#include "tests/support/test_runtime.h"
#include "tests/support/zip_contents.h"

namespace {

bool camera_there = false;

int ENGINE3D_CALL no_texture(int, const void*, int, int, int) { return 0; }
int ENGINE3D_CALL texture_freed(int) { return 1; }
int ENGINE3D_CALL texture_shown(int, int) { return 1; }
int ENGINE3D_CALL entity_hidden(int, int) { return 1; }
int ENGINE3D_CALL window_set(float, float, float, float) { return 1; }
int ENGINE3D_CALL backdrop_set(int) { return 1; }
// With the camera there, only the smallest view finds memory.
int ENGINE3D_CALL render_rows(int, int width, int, int, int, int, void*, int) {
    return camera_there && width == 1 ? 1 : 0;
}

// The middle row of the fore-edge (the right side's rectangle) and the middle column of the
// head (the top's) of the last texture handed over: both cross the book's depth.
std::vector<uint32_t> fore_edge_row, head_column;
int ENGINE3D_CALL texture_kept(int, const void* pixels, int width, int height, int pitch) {
    const int32_t scale = width / atlas_width;
    const auto at = [&](int32_t x, int32_t y) {
        return reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(pixels) + intptr_t(y) * pitch)[x];
    };
    const face_rectangle &edge = face_rectangles[1], &head = face_rectangles[0];
    fore_edge_row.clear();
    head_column.clear();
    for (int32_t x = edge.x * scale; x < (edge.x + edge.width) * scale; ++x)
        fore_edge_row.push_back(at(x, (edge.y + edge.height / 2) * scale));
    for (int32_t y = head.y * scale; y < (head.y + head.height) * scale; ++y)
        head_column.push_back(at((head.x + head.width / 2) * scale, y));
    return height > 0 ? 1 : 0;
}

int neighbours_differing(const std::vector<uint32_t>& line) {
    int differing = 0;
    for (size_t i = 1; i < line.size(); ++i) differing += line[i] != line[i - 1];
    return differing;
}

// A book's fore-edge and head at 4096 show their page lines drawn at the export's own size,
// across the depth: neighbouring lines of pixels differ, as a stretched preview atlas's would not.
TEST(BoxExport, PageLinesAreSharpAtTheLargestExport) {
    CreateDirectoryA("model", nullptr);
    ASSERT_TRUE(write_png(face_atlas_file, one_colour_picture(atlas_width, atlas_height, 90, 90, 90)));
    const engine_export_calls engine = {texture_kept, texture_freed, texture_shown, entity_hidden, window_set, backdrop_set, nullptr};
    face_edges_follow(box_shape::paperback, {320, book_paper::cream});
    ASSERT_NE(export_atlas_texture(engine, 3, export_atlas_scale(export_types[2])), 0);
    ASSERT_EQ(fore_edge_row.size(), size_t(face_rectangles[1].width * 4));
    EXPECT_GT(neighbours_differing(fore_edge_row), int(fore_edge_row.size()) * 2 / 3) << "of " << fore_edge_row.size();
    EXPECT_GT(neighbours_differing(head_column), int(head_column.size()) * 2 / 3) << "the head's leaves run along its width";
    EXPECT_NE(fore_edge_row[0] & 0xFFFFFF, 0x5A5A5Au) << "paper, not the atlas";
    // A coloured edge: the picture chosen for it, not paper.
    ASSERT_TRUE(write_png("edge.png", one_colour_picture(40, 40, 200, 10, 10)));
    face_picture_choose(1, "edge.png");
    ASSERT_NE(export_atlas_texture(engine, 3, export_atlas_scale(export_types[2])), 0);
    face_picture_choose(1, nullptr);
    face_edges_follow(box_shape::box, {});
    EXPECT_EQ(fore_edge_row[fore_edge_row.size() / 2] & 0xFFFFFF, 0xC80A0Au);
}

TEST(BoxExport, MissingCameraAndMissingMemoryAreToldApartAndTheTargetStays) {
    const engine_export_calls engine = {no_texture, texture_freed, texture_shown, entity_hidden, window_set, backdrop_set, render_rows};
    const export_scene scene = {1, 2, 3, {4, 5}};
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    write_file("export.png", old);
    camera_there = false;
    EXPECT_EQ(export_box(engine, scene, "export.png", export_types[1], nullptr, nullptr), export_failure::no_preview);
    camera_there = true;
    EXPECT_EQ(export_box(engine, scene, "export.png", export_types[1], nullptr, nullptr), export_failure::no_memory);
    EXPECT_EQ(read_file("export.png"), old);
}

// Typed in the program's code page, "Gr\xF6\xDF" "e" is stored as UTF-8 and flagged so, in
// a folder made for it; a file where a folder should be is named as what stops it.
TEST(BoxExport, ZipNamesAreUtf8AndEveryEntryReadsBackInAFolderMadeForIt) {
    ASSERT_EQ(GetACP(), 1252u) << "the names below are Windows-1252";
    const std::string base = "zip_" + std::to_string(GetTickCount()) + "\\made\\Gr\xF6\xDF" "e";
    ASSERT_EQ(write_folders_make(base + ".zip").failure, write_failure::none);
    std::vector<std::string> frames;
    for (int frame = 1; frame <= 3; ++frame) {
        frames.push_back(base + "-0" + std::to_string(frame) + ".png");
        write_file(frames.back(), std::vector<uint8_t>(size_t(70000 * frame), uint8_t(frame)));
    }
    ASSERT_EQ(write_stored_zip(base + ".zip", frames), write_failure::none);
    const std::vector<zip_entry> entries = zip_entries(read_file(base + ".zip"));
    ASSERT_EQ(entries.size(), frames.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, "Gr\xC3\xB6\xC3\x9F" "e-0" + std::to_string(i + 1) + ".png");
        EXPECT_TRUE(entries[i].central_flags & entries[i].local_flags & 0x800) << "UTF-8 flag";
        EXPECT_TRUE(entries[i].local_header_matches && entries[i].crc_matches) << entries[i].name;
    }
    write_file("blocking_file", {1});
    const folders_made blocked = write_folders_make("blocking_file\\set\\box.png");
    EXPECT_EQ(blocked.failure, write_failure::file_in_way);
    EXPECT_EQ(blocked.folder, "blocking_file");
    EXPECT_EQ(write_stored_zip("blocking_file\\box.zip", frames), write_failure::no_folder);
}

// Each picture stands as in the window: sides upright, the top's upper edge at the back, the
// bottom's at the front; every triangle turns its front outwards, and at the edges the faces
// meet in the same points with the same normals, so no crack or crease shows.
TEST(BoxModel, PicturesReadAsInTheWindowAndRoundedFacesMeetWithoutCracks) {
    const std::vector<model_face> faces = box_model({140, 180, 80}, true);
    const float top_left_direction[6][3] = {{-1, 1, 0}, {1, 1, 0}, {0, 1, 1}, {0, 1, -1}, {-1, 0, -1}, {-1, 0, 1}};
    std::multiset<std::string> edge_points;
    for (size_t f = 0; f < faces.size(); ++f)
        for (const model_vertex& v : faces[f].vertices) {
            if (v.uv[0] == 0 && v.uv[1] == 0)
                for (int k = 0; k < 3; ++k) EXPECT_GE(v.position[k] * top_left_direction[f][k], 0) << faces[f].name;
            if (v.uv[0] == 0 || v.uv[0] == 1 || v.uv[1] == 0 || v.uv[1] == 1) {
                char key[96];
                std::snprintf(key, sizeof key, "%.6f %.6f %.6f %.4f %.4f %.4f", v.position[0], v.position[1], v.position[2],
                              v.normal[0], v.normal[1], v.normal[2]);
                edge_points.insert(key);
            }
        }
    for (const std::string& point : edge_points) EXPECT_GE(edge_points.count(point), 2u) << "alone at an edge: " << point;
    for (const model_face& face : faces)
        for (size_t t = 0; t < face.triangles.size(); t += 3) {
            const float* a = face.vertices[face.triangles[t]].position;
            const float* b = face.vertices[face.triangles[t + 1]].position;
            const float* c = face.vertices[face.triangles[t + 2]].position;
            const float* n = face.vertices[face.triangles[t]].normal;
            const float turn[3] = {(b[1] - a[1]) * (c[2] - a[2]) - (b[2] - a[2]) * (c[1] - a[1]),
                                   (b[2] - a[2]) * (c[0] - a[0]) - (b[0] - a[0]) * (c[2] - a[2]),
                                   (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])};
            EXPECT_GT(turn[0] * n[0] + turn[1] * n[1] + turn[2] * n[2], 0) << face.name << " triangle " << t / 3;
        }
}

// A picture of another format than JPEG, longer than the model takes, goes in made smaller as
// a PNG; a folder that cannot take the file leaves no file and says why.
TEST(BoxModel, OtherPicturesGoInAsSmallerPngsAndAFailedSaveIsTold) {
    CreateDirectoryA("model", nullptr);
    ASSERT_TRUE(write_png(face_atlas_file, one_colour_picture(atlas_width, atlas_height, 90, 90, 90)));
    ASSERT_TRUE(write_png("long.png", one_colour_picture(3000, 40, 200, 10, 10)));
    face_picture_choose(2, "long.png");
    ASSERT_EQ(export_glb("model.glb", {100, 100, 100}, false), export_failure::none);
    const std::vector<uint8_t> model = read_file("model.glb");
    const std::string json(model.begin() + 20, model.begin() + 20 + (model[12] | model[13] << 8));
    EXPECT_NE(json.find("image/png"), std::string::npos) << json;
    EXPECT_EQ(export_glb("no_such_folder\\model.glb", {100, 100, 100}, false), export_failure::not_written);
    // A print sheet's panel goes in alone, not the whole sheet.
    ASSERT_TRUE(write_png("sheet.png", one_colour_picture(400, 100, 10, 10, 200)));
    face_picture_choose(2, "sheet.png", {0.5, 0, 1, 1});
    ASSERT_EQ(export_glb("model.glb", {100, 100, 100}, false), export_failure::none);
    const std::vector<uint8_t> sheet_model = read_file("model.glb");
    const auto header = std::search(sheet_model.begin(), sheet_model.end(), std::begin("IHDR"), std::end("IHDR") - 1);
    ASSERT_NE(header, sheet_model.end());
    EXPECT_EQ(header[6] << 8 | header[7], 200) << "the panel's width";
    face_picture_choose(2, nullptr);
}

}  // namespace
