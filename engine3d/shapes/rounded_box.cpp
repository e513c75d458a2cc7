// Rounded boxes: each face becomes a grid over the sharp box's face whose outer rows and
// columns lie in the rounding; every grid point is pushed onto the rounded surface (the box
// shrunk by the radius, grown back by it along the way out). Two faces meet at the 45 degree
// line of their edge, where both compute the same points, so no crack opens between them.
#include "engine3d/shapes/rounded_box.h"

#include <algorithm>
#include <cmath>

#include "engine3d/shapes/box_faces.h"

namespace engine3d {
namespace {

// Grid lines in each half of an edge's rounding: two flat strips per quarter circle, which
// at the sizes exports draw the rounding read as one soft edge and keep the triangles few.
constexpr int band_lines = 1;
constexpr int grid_lines = 2 * band_lines + 2;
constexpr float quarter_turn = 1.5707963f;

// Grid lines across a drawn half extent: the flat part's two ends, and between each end and
// the edge lines whose points land at even angles round the rounding.
void grid_of(float half, float radius, float* lines) {
    const float inner = half - radius;
    for (int j = 0; j <= band_lines; ++j) {
        const float out = j == band_lines ? half : inner + radius * std::tan(quarter_turn / 2 * float(j) / band_lines);
        lines[band_lines - j] = -out;
        lines[band_lines + 1 + j] = out;
    }
}

struct rounding {
    box_frame frame;
    vec3 drawn_half, inner;
    float radius;

    // A point of the sharp box's surface, in drawn units from the centre, onto the rounding;
    // back in the box's own coordinates.
    vec3 onto_surface(vec3 sharp) const {
        vec3 core;
        for (int k = 0; k < 3; ++k)
            axis(core, k) = std::min(std::max(axis(sharp, k), -axis(inner, k)), axis(inner, k));
        vec3 drawn = core + normalized(sharp - core) * radius;
        vec3 own;
        for (int k = 0; k < 3; ++k)
            axis(own, k) = axis(drawn, k) / axis(frame.factor, k) + axis(frame.centre, k);
        return own;
    }
};

void add_face(const rounding& round, int a, float sign, const face_map& map, mesh& out) {
    const int b = (a + 1) % 3, c = (a + 2) % 3;
    float lines_b[grid_lines], lines_c[grid_lines];
    grid_of(axis(round.drawn_half, b), round.radius, lines_b);
    grid_of(axis(round.drawn_half, c), round.radius, lines_c);
    const uint32_t first = uint32_t(out.vertices.size());
    for (float along_b : lines_b)
        for (float along_c : lines_c) {
            vec3 sharp;
            axis(sharp, a) = sign * axis(round.drawn_half, a);
            axis(sharp, b) = along_b, axis(sharp, c) = along_c;
            const float own_b = along_b / axis(round.frame.factor, b) + axis(round.frame.centre, b);
            const float own_c = along_c / axis(round.frame.factor, c) + axis(round.frame.centre, c);
            out.vertices.push_back({round.onto_surface(sharp), map.u0 + map.du_db * own_b + map.du_dc * own_c,
                                    map.v0 + map.dv_db * own_b + map.dv_dc * own_c});
        }
    // b, c, a run right-handed: corners in rising b then rising c wind counter-clockwise
    // seen from +a; from -a they run the other way round.
    for (uint32_t i = 0; i + 1 < grid_lines; ++i)
        for (uint32_t j = 0; j + 1 < grid_lines; ++j) {
            uint32_t p00 = first + i * grid_lines + j, p10 = p00 + grid_lines, p01 = p00 + 1, p11 = p10 + 1;
            uint32_t quad[6] = {p00, p10, p11, p00, p11, p01};
            if (sign < 0) std::swap(quad[1], quad[2]), std::swap(quad[4], quad[5]);
            out.triangles.insert(out.triangles.end(), quad, quad + 6);
        }
}

}  // namespace

bool rounded_box(const mesh& box, vec3 factor, float share, mesh& out) {
    box_frame frame;
    face_map maps[box_face_count];
    if (!(share > 0 && share <= 0.5f) || !box_frame_of(box, factor, frame) || !box_face_maps(box, frame, maps))
        return false;
    rounding round{frame, scaled(frame.half, factor), {}, 0};
    round.radius = share * 2 * std::min({round.drawn_half.x, round.drawn_half.y, round.drawn_half.z});
    round.inner = round.drawn_half - vec3{round.radius, round.radius, round.radius};
    mesh made{box.handle, {}, {}};
    for (int face = 0; face < box_face_count; ++face) add_face(round, face_axis(face), face_sign(face), maps[face], made);
    out = std::move(made);
    return true;
}

}  // namespace engine3d
