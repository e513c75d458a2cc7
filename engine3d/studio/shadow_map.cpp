// Shadow maps: the convex footprint of each shadow filled with exact coverage along its
// rows, then three box blurs each way (close to a gaussian). The key shadow is the whole
// caster dropped slightly slanted, away from the key light, blurred the more the higher the
// caster floats; the contact shadow lies under the caster's lowest tenth, tightly blurred on
// a finer grid of its own, and fades as the caster rises off the plane.
#include "engine3d/studio/shadow_map.h"

#include <cmath>

namespace engine3d {
namespace {

// The key shadow's blur in world units: soft even for a caster standing on the plane, whose
// floor a low camera sees at a grazing angle that squeezes the fade into few rows.
constexpr float spread_standing = 1.1f;
constexpr float spread_per_height = 0.2f;
// A large soft key light high above: its shadow leans a little, so that it stays close to
// the caster's footprint.
constexpr float key_slant = 0.12f;
// The shares of the caster's strength the two shadows take where they are full.
constexpr float key_share = 0.6f;
constexpr float contact_share = 0.8f;
// The contact shadow reaches a tenth of the caster's height, over which it also fades as the
// caster rises; it blurs over a third of that.
constexpr float contact_reach = 0.1f;
constexpr float contact_blur = 1.0f / 7;
// Three box passes reach about three spreads; a few texels more keep the border at 0.
constexpr float reach_in_spreads = 3;
constexpr int32_t border_texels = 4;
constexpr int32_t blur_passes = 3;

struct point2 {
    float x, z;
};

float cross2(point2 o, point2 a, point2 b) { return (a.x - o.x) * (b.z - o.z) - (a.z - o.z) * (b.x - o.x); }

// Andrew's monotone chain: the hull's corners in order, without collinear ones.
std::vector<point2> convex_hull(std::vector<point2> points) {
    std::sort(points.begin(), points.end(),
              [](point2 a, point2 b) { return a.x < b.x || (a.x == b.x && a.z < b.z); });
    if (points.size() < 3) return points;
    std::vector<point2> hull(points.size() * 2);
    size_t k = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && cross2(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
        hull[k++] = points[i];
    }
    for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross2(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return hull;
}

struct footprint {
    std::vector<point2> hull;
    float low_x, high_x, low_z, high_z;
    float spread;
    float strength;
    bool contact = false;
};

// False when the points span no area.
bool footprint_of(const std::vector<point2>& dropped, float spread, float strength, footprint& out) {
    out.hull = convex_hull(dropped);
    if (out.hull.size() < 3) return false;
    out.low_x = out.high_x = out.hull[0].x;
    out.low_z = out.high_z = out.hull[0].z;
    for (point2 p : out.hull) {
        out.low_x = std::min(out.low_x, p.x), out.high_x = std::max(out.high_x, p.x);
        out.low_z = std::min(out.low_z, p.z), out.high_z = std::max(out.high_z, p.z);
    }
    out.spread = spread;
    out.strength = std::min(strength, 1.0f);
    return true;
}

// The points near the bottom, each widened by the blur, so that the shadow is darkest right
// at the caster's edge; a caster resting on an edge or a corner touches along a line or at a
// point, which has no area of its own.
std::vector<point2> contact_points(const std::vector<vec3>& points, float lowest, float reach) {
    const float widen = reach * contact_blur;
    std::vector<point2> dropped;
    for (const vec3& p : points) {
        if (p.y > lowest + reach) continue;
        for (float dx : {-widen, widen})
            for (float dz : {-widen, widen}) dropped.push_back({p.x + dx, p.z + dz});
    }
    return dropped;
}

// The caster's contact and key shadows; none when it lies below the plane.
void footprints_of(const shadow_caster& caster, float plane_y, std::vector<footprint>& prints) {
    if (caster.points.empty() || !(caster.strength > 0)) return;
    float lowest = caster.points[0].y, highest = lowest;
    for (const vec3& p : caster.points) {
        // The hull's sort needs numbers that compare.
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return;
        lowest = std::min(lowest, p.y), highest = std::max(highest, p.y);
    }
    const float height = lowest - plane_y;
    if (!(height > -1e-3f)) return;
    const float rise = std::max(height, 0.0f);
    const float horizontal = std::hypot(key_light_towards.x, key_light_towards.z);
    const float lean_x = -key_light_towards.x / horizontal * key_slant;
    const float lean_z = -key_light_towards.z / horizontal * key_slant;
    std::vector<point2> dropped;
    for (const vec3& p : caster.points) {
        float above = p.y - plane_y;
        dropped.push_back({p.x + lean_x * above, p.z + lean_z * above});
    }
    footprint f;
    if (footprint_of(dropped, spread_standing + spread_per_height * rise, caster.strength * key_share, f))
        prints.push_back(std::move(f));
    const float reach = contact_reach * (highest - lowest);
    if (!(rise < reach)) return;
    if (footprint_of(contact_points(caster.points, lowest, reach), reach * contact_blur,
                     caster.strength * contact_share * (1 - rise / reach), f)) {
        f.contact = true;
        prints.push_back(std::move(f));
    }
}

// Texels over the plane: texel (i, j) covers x from left + i * texel, z from back + j * texel.
struct grid {
    float left, back, texel;
    int32_t n;  // texels along each side
};

// The square of world that holds the footprints with their blur; false for none.
bool place_grid(const std::vector<footprint>& prints, bool contact, grid& g) {
    float low_x = 1e30f, high_x = -1e30f, low_z = 1e30f, high_z = -1e30f;
    for (const footprint& f : prints) {
        if (f.contact != contact) continue;
        float reach = f.spread * reach_in_spreads;
        low_x = std::min(low_x, f.low_x - reach), high_x = std::max(high_x, f.high_x + reach);
        low_z = std::min(low_z, f.low_z - reach), high_z = std::max(high_z, f.high_z + reach);
    }
    float side = std::max(high_x - low_x, high_z - low_z);
    g.n = contact ? contact_map_size : shadow_map_size;
    g.texel = side / float(g.n - 2 * border_texels);
    g.left = (low_x + high_x - side) / 2 - float(border_texels) * g.texel;
    g.back = (low_z + high_z - side) / 2 - float(border_texels) * g.texel;
    return std::isfinite(g.texel) && g.texel > 0 && std::isfinite(g.left) && std::isfinite(g.back);
}

// The hull's x range along the line z, false where the line misses it.
bool hull_span(const std::vector<point2>& hull, float z, float& from, float& to) {
    from = 1e30f, to = -1e30f;
    for (size_t i = 0; i < hull.size(); ++i) {
        point2 a = hull[i], b = hull[(i + 1) % hull.size()];
        if ((a.z > z) == (b.z > z)) continue;
        float x = a.x + (b.x - a.x) * (z - a.z) / (b.z - a.z);
        from = std::min(from, x), to = std::max(to, x);
    }
    return from < to;
}

// Coverage of each texel by the hull along its centre row, exact across the row.
void fill_footprint(const footprint& f, const grid& g, std::vector<float>& cover) {
    cover.assign(size_t(g.n) * g.n, 0.0f);
    for (int32_t j = 0; j < g.n; ++j) {
        float from, to;
        if (!hull_span(f.hull, g.back + (float(j) + 0.5f) * g.texel, from, to)) continue;
        from = (from - g.left) / g.texel, to = (to - g.left) / g.texel;
        int32_t first = std::max(0, int32_t(std::floor(from)));
        int32_t last = std::min(g.n - 1, int32_t(std::floor(to)));
        float* row = &cover[size_t(j) * g.n];
        for (int32_t i = first; i <= last; ++i)
            row[i] = std::min(to, float(i + 1)) - std::max(from, float(i));
    }
}

// A box blur down every column at once, zeros above and below: whole rows are added and
// taken away, which the compiler turns into vector code.
void box_blur_columns(std::vector<float>& cover, int32_t n, int32_t radius, std::vector<float>& out) {
    const float scale = 1.0f / float(2 * radius + 1);
    float sum[contact_map_size] = {};
    auto row = [&](int32_t j) { return &cover[size_t(j) * n]; };
    for (int32_t j = 0; j < std::min(radius, n); ++j)
        for (int32_t i = 0; i < n; ++i) sum[i] += row(j)[i];
    out.resize(cover.size());
    for (int32_t j = 0; j < n; ++j) {
        if (j + radius < n)
            for (int32_t i = 0; i < n; ++i) sum[i] += row(j + radius)[i];
        if (j - radius - 1 >= 0)
            for (int32_t i = 0; i < n; ++i) sum[i] -= row(j - radius - 1)[i];
        for (int32_t i = 0; i < n; ++i) out[size_t(j) * n + i] = sum[i] * scale;
    }
    cover.swap(out);
}

void transpose(std::vector<float>& cover, int32_t n) {
    for (int32_t j = 0; j < n; ++j)
        for (int32_t i = j + 1; i < n; ++i) std::swap(cover[size_t(j) * n + i], cover[size_t(i) * n + j]);
}

// Three passes of radius r spread a point by sqrt(r (r + 1)) texels; the rows are blurred
// as columns of the transposed map.
void blur(std::vector<float>& cover, int32_t n, float spread_texels) {
    float wanted = (std::sqrt(4 * spread_texels * spread_texels + 1) - 1) / 2;
    int32_t radius = wanted < float(n) ? std::max(1, int32_t(std::lround(wanted))) : n;
    std::vector<float> spare;
    for (int32_t pass = 0; pass < blur_passes; ++pass) box_blur_columns(cover, n, radius, spare);
    transpose(cover, n);
    for (int32_t pass = 0; pass < blur_passes; ++pass) box_blur_columns(cover, n, radius, spare);
    transpose(cover, n);
}

// Every footprint of one kind blurred on its grid; shadows that overlap darken as two
// filters would.
void draw_footprints(const std::vector<footprint>& prints, bool contact, const grid& g, std::vector<float>& values) {
    values.assign(size_t(g.n) * g.n, 0.0f);
    std::vector<float> cover;
    for (const footprint& f : prints) {
        if (f.contact != contact) continue;
        fill_footprint(f, g, cover);
        blur(cover, g.n, f.spread / g.texel);
        for (size_t i = 0; i < cover.size(); ++i)
            values[i] = 1 - (1 - values[i]) * (1 - f.strength * std::min(cover[i], 1.0f));
    }
}

}  // namespace

bool shadow_map_build(float plane_y, const std::vector<shadow_caster>& casters, shadow_map& map) {
    std::vector<footprint> prints;
    for (const shadow_caster& caster : casters) footprints_of(caster, plane_y, prints);
    grid wide, close;
    if (!place_grid(prints, false, wide)) return false;
    map.left = wide.left, map.back = wide.back, map.texel = wide.texel;
    draw_footprints(prints, false, wide, map.values);
    map.contact.clear();
    if (!place_grid(prints, true, close)) return true;
    draw_footprints(prints, true, close, map.contact);
    // From the wide grid's texel coordinates, whose integers are texel centres, to the close's.
    map.contact_scale = wide.texel / close.texel;
    map.contact_x = (wide.left - close.left + wide.texel / 2) / close.texel - 0.5f;
    map.contact_y = (wide.back - close.back + wide.texel / 2) / close.texel - 0.5f;
    return true;
}

}  // namespace engine3d
