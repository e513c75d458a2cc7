// A book's cover and a hardcover's case are bands round the page block: an outline across
// the height (x the depth, z the width), each point with its place on the outside and on the
// inside, extruded from the bottom to the top. A media case is a rounded outline across its
// depth, extruded from front to back. Figures are real millimetres, kept within the box.
#include "engine3d/shapes/shaped_box.h"

#include <algorithm>

#include "engine3d/shapes/shape_builder.h"

namespace engine3d {
namespace {

constexpr float half_turn = 3.14159265f;

// Paperback: the card of the cover and how round it bends onto the spine.
constexpr float cover_card_mm = 0.3f, spine_bend_mm = 1.5f;
// Hardcover: board thickness, how far the boards stand over the pages, the rounded spine's
// bulge as a share of the book's depth, and the joint's groove beside the spine.
constexpr float board_mm = 2.5f, overhang_mm = 3.0f, spine_bulge_share = 0.2f;
constexpr float groove_from_spine_mm = 7.0f, groove_width_mm = 3.0f, groove_depth_mm = 0.8f;
// Media case: the radius of its plastic corners.
constexpr float case_corner_mm = 4.0f;
constexpr int arc_steps = 4, spine_arc_steps = 10;

// One point of a band's outline; the segment to the next point shows `face`.
struct band_point {
    float outer_x, outer_z, inner_x, inner_z;
    int face;
};

vec3 at(float x, float y, float z) { return {x, y, z}; }

// The inside of a band between heights y0 and y1.
void add_inside(shape_builder& build, const band_point& p, const band_point& q, float y0, float y1, vec3 inward) {
    build.quad(at(p.inner_x, y0, p.inner_z), at(q.inner_x, y0, q.inner_z), at(q.inner_x, y1, q.inner_z),
               at(p.inner_x, y1, p.inner_z), inward, p.face);
}

// The band from y0 to y1: outside, top and bottom and the two open ends. Its inside shows
// only where it stands over what it holds, by `reach`: at the top, at the bottom and along
// the open ends (z beyond `open_z`); everywhere else the pages hide it.
void add_band(shape_builder& build, const std::vector<band_point>& line, float y0, float y1, float reach, float open_z) {
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const band_point &p = line[i], &q = line[i + 1];
        const vec3 out_dir{(p.outer_x + q.outer_x - p.inner_x - q.inner_x), 0, (p.outer_z + q.outer_z - p.inner_z - q.inner_z)};
        build.quad(at(p.outer_x, y0, p.outer_z), at(q.outer_x, y0, q.outer_z), at(q.outer_x, y1, q.outer_z),
                   at(p.outer_x, y1, p.outer_z), out_dir, p.face);
        if (reach > 0 && std::min(p.inner_z, q.inner_z) >= open_z) {
            add_inside(build, p, q, y0, y1, out_dir * -1);
        } else if (reach > 0) {
            add_inside(build, p, q, y0, y0 + reach, out_dir * -1);
            add_inside(build, p, q, y1 - reach, y1, out_dir * -1);
        }
        for (float y : {y0, y1})
            build.quad(at(p.outer_x, y, p.outer_z), at(q.outer_x, y, q.outer_z), at(q.inner_x, y, q.inner_z),
                       at(p.inner_x, y, p.inner_z), {0, y, 0}, p.face);
    }
    const auto end = [&](const band_point& p, const band_point& next, int face) {
        const vec3 away{p.outer_x - next.outer_x, 0, p.outer_z - next.outer_z};
        build.quad(at(p.outer_x, y0, p.outer_z), at(p.inner_x, y0, p.inner_z), at(p.inner_x, y1, p.inner_z),
                   at(p.outer_x, y1, p.outer_z), away, face);
    };
    end(line.front(), line[1], line.front().face);
    end(line.back(), line[line.size() - 2], line[line.size() - 2].face);
}

// A quarter circle of radius r round (cx, cz) from angle `from` on, its inside at one point;
// the first half of its segments shows `first`, the rest `second`.
void add_corner(std::vector<band_point>& line, float cx, float cz, float r, float from, float inner_x,
                float inner_z, int first, int second) {
    for (int i = 0; i <= arc_steps; ++i) {
        const float angle = from + half_turn / 2 * float(i) / arc_steps;
        line.push_back({cx + r * std::cos(angle), cz + r * std::sin(angle), inner_x, inner_z, i < arc_steps / 2 ? first : second});
    }
}

void make_paperback(shape_builder& build, float unit_mm, bool soft) {
    const vec3 h = build.half();
    const float card = std::min(cover_card_mm / unit_mm, h.x / 4);
    const float bend = soft ? std::min({std::max(spine_bend_mm / unit_mm, 2 * card), h.x / 2, h.z / 4}) : 0;
    const float reach = std::max(bend, card);  // the pages begin this far from the spine
    std::vector<band_point> line;
    line.push_back({-h.x, h.z, -h.x + card, h.z, front_face});
    add_corner(line, -h.x + bend, -h.z + bend, bend, half_turn, -h.x + card, -h.z + reach, front_face, left_face);
    add_corner(line, h.x - bend, -h.z + bend, bend, 1.5f * half_turn, h.x - card, -h.z + reach, left_face, back_face);
    line.push_back({h.x, h.z, h.x - card, h.z, back_face});
    add_band(build, line, -h.y, h.y, 0, h.z);
    build.block({-h.x + card, -h.y, -h.z + reach}, {h.x - card, h.y, h.z},
                {-1, -1, top_face, bottom_face, right_face, -1});
}

// The joint's groove on a board's outside, a shallow notch along the height.
void add_groove(std::vector<band_point>& line, float outside_x, float inside_x, float depth, float middle_z,
                float width, int face) {
    for (float step : {0.5f, 0.0f, -0.5f}) {
        const float dip = step == 0 ? depth : 0;
        line.push_back({outside_x + dip, middle_z + step * width, inside_x, middle_z + step * width, face});
    }
}

void make_hardcover(shape_builder& build, float unit_mm) {
    const vec3 h = build.half();
    const float board = std::min(board_mm / unit_mm, h.x / 5);
    const float overhang = std::min({overhang_mm / unit_mm, h.y / 10, h.z / 10});
    const float bulge = std::min(std::max(spine_bulge_share * 2 * h.x, 1.5f * board), h.z / 5);
    const float groove_z = -h.z + bulge + groove_from_spine_mm / unit_mm, groove_width = groove_width_mm / unit_mm;
    const bool grooved = groove_z + groove_width < h.z - overhang;
    const float groove_depth = std::min(groove_depth_mm / unit_mm, board / 3);
    std::vector<band_point> line;
    line.push_back({-h.x, h.z, -h.x + board, h.z, front_face});
    line.push_back({-h.x, h.z - overhang, -h.x + board, h.z - overhang, front_face});
    if (grooved) add_groove(line, -h.x, -h.x + board, groove_depth, groove_z, groove_width, front_face);
    for (int i = 0; i <= spine_arc_steps; ++i) {
        const float t = half_turn * float(i) / spine_arc_steps;
        line.push_back({-h.x * std::cos(t), -h.z + bulge - bulge * std::sin(t), -(h.x - board) * std::cos(t),
                        -h.z + bulge - (bulge - board) * std::sin(t), i < spine_arc_steps ? left_face : back_face});
    }
    if (grooved) {
        std::vector<band_point> back;
        add_groove(back, h.x, h.x - board, -groove_depth, groove_z, groove_width, back_face);
        line.insert(line.end(), back.rbegin(), back.rend());
    }
    line.push_back({h.x, h.z - overhang, h.x - board, h.z - overhang, back_face});
    line.push_back({h.x, h.z, h.x - board, h.z, back_face});
    add_band(build, line, -h.y, h.y, overhang, h.z - overhang);
    build.block({-h.x + board, -h.y + overhang, -h.z + bulge}, {h.x - board, h.y - overhang, h.z - overhang},
                {-1, -1, top_face, bottom_face, right_face, right_face});
}

// Where a case's insert lies under the sleeve, in millimetres from the case's outline: a DVD
// case's 129.5 x 183 mm panels inside its 135 x 190 mm; a Blu-ray case's 128 x 149 mm inside
// 135 x 171.5 mm, below the band across its top.
struct insert_rims {
    float side, bottom, top;
};
constexpr insert_rims dvd_rims{2.75f, 3.5f, 3.5f}, bluray_rims{3.5f, 3.5f, 19.0f};

// The insert's extent across the case's front: y from low to high, z from -half_z to half_z.
// A case too small for its rims keeps at least half of each side for the insert.
struct insert_extent {
    float low, high, half_z;
};

insert_extent insert_of(vec3 h, const insert_rims& rims, float unit_mm) {
    const float side = std::min(rims.side / unit_mm, h.z / 2);
    const float shrink = std::min((rims.bottom + rims.top) / unit_mm, h.y);
    const float bottom = shrink * rims.bottom / (rims.bottom + rims.top);
    return {-h.y + bottom, h.y - (shrink - bottom), h.z - side};
}

// The rim between a side's rounded outline and its insert, corner by corner: each corner's
// arc fans from the insert's corner, and the straight stretch between two arcs joins the two
// insert corners. The rim shows the open edges' plastic.
void add_rim(shape_builder& build, const std::vector<vec3>& ring, int per_corner, const vec3 (&insert)[4],
             vec3 outward) {
    for (size_t i = 0; i < ring.size(); ++i) {
        const size_t next = (i + 1) % ring.size();
        const int corner = int(i) / per_corner, next_corner = int(next) / per_corner;
        build.quad(insert[corner], ring[i], ring[next], insert[next_corner], outward, top_face);
    }
}

void make_media_case(shape_builder& build, float unit_mm, const insert_rims& rims) {
    const vec3 h = build.half();
    const float r = std::min({case_corner_mm / unit_mm, h.y / 4, h.z / 4});
    const insert_extent insert = insert_of(h, rims, unit_mm);
    // corners round the front's outline (y up, z to the right), each with the insert's corner it fans from
    struct corner {
        float y, z, from, insert_y, insert_z;
    };
    const corner corners[] = {{h.y - r, -h.z + r, 0.5f * half_turn, insert.high, -insert.half_z},
                              {-h.y + r, -h.z + r, half_turn, insert.low, -insert.half_z},
                              {-h.y + r, h.z - r, 1.5f * half_turn, insert.low, insert.half_z},
                              {h.y - r, h.z - r, 0, insert.high, insert.half_z}};
    std::vector<vec3> ring;
    for (const corner& c : corners)
        for (int i = 0; i <= arc_steps; ++i) {
            const float angle = c.from + half_turn / 2 * float(i) / arc_steps;
            ring.push_back({0, c.y + r * std::sin(angle), c.z + r * std::cos(angle)});
        }
    const int per_corner = arc_steps + 1;
    // The ring's edge from p to q round the case: plastic, but for the spine (the straight
    // stretch on the left), which shows the insert's spine where the insert reaches.
    const auto side = [&](vec3 p, vec3 q, vec3 outward, bool spine) {
        const float low = std::min(p.y, q.y), high = std::max(p.y, q.y);
        if (!spine) {
            build.quad(at(-h.x, p.y, p.z), at(-h.x, q.y, q.z), at(h.x, q.y, q.z), at(h.x, p.y, p.z), outward, top_face);
            return;
        }
        const float cuts[] = {low, std::max(low, insert.low), std::min(high, insert.high), high};
        const picture_area spine_area{-h.x, h.x, insert.low, insert.high};
        for (int k = 0; k < 3; ++k) {
            if (!(cuts[k + 1] > cuts[k])) continue;
            const vec3 c0 = at(-h.x, cuts[k], p.z), c1 = at(h.x, cuts[k], p.z);
            const vec3 c2 = at(h.x, cuts[k + 1], p.z), c3 = at(-h.x, cuts[k + 1], p.z);
            if (k == 1) build.quad(c0, c1, c2, c3, outward, left_face, spine_area);
            else build.quad(c0, c1, c2, c3, outward, top_face);
        }
    };
    const size_t spine_edge = per_corner - 1;  // from the first corner's end to the second's start
    for (size_t i = 0; i < ring.size(); ++i)
        if (i != spine_edge) side(ring[i], ring[(i + 1) % ring.size()], ring[i] + ring[(i + 1) % ring.size()], false);
    // The clear sleeve wraps the spine, front and back; the open edges are bare plastic.
    build.sleeve_from_here();
    side(ring[spine_edge], ring[spine_edge + 1], {0, 0, -1}, true);
    for (float x : {-h.x, h.x}) {
        std::vector<vec3> outline = ring;
        for (vec3& p : outline) p.x = x;
        vec3 inner[4];
        for (int c = 0; c < 4; ++c) inner[c] = {x, corners[c].insert_y, corners[c].insert_z};
        const vec3 outward{x, 0, 0};
        add_rim(build, outline, per_corner, inner, outward);
        const int face = x < 0 ? front_face : back_face;
        const picture_area area{insert.low, insert.high, -insert.half_z, insert.half_z};
        build.quad(inner[0], inner[1], inner[2], inner[3], outward, face, area);
    }
}

}  // namespace

bool shaped_box(const mesh& box, vec3 factor, shape_form form, bool soft, mesh& out) {
    box_frame frame;
    face_map maps[box_face_count];
    if (form.kind == shape_kind::box || !(form.unit_mm > 0) || !std::isfinite(form.unit_mm) ||
        !box_frame_of(box, factor, frame) || !box_face_maps(box, frame, maps))
        return false;
    shape_builder build(frame, maps, box.handle);
    switch (form.kind) {
    case shape_kind::paperback: make_paperback(build, form.unit_mm, soft); break;
    case shape_kind::hardcover: make_hardcover(build, form.unit_mm); break;
    case shape_kind::media_case: make_media_case(build, form.unit_mm, dvd_rims); break;
    case shape_kind::bluray_case: make_media_case(build, form.unit_mm, bluray_rims); break;
    default: return false;
    }
    out = build.take();
    return true;
}

}  // namespace engine3d
