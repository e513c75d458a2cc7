// Shadow maps: the convex footprint of each shadow filled with exact coverage along its
// rows, then three box blurs each way (close to a gaussian). The contact shadow lies under
// the caster's lowest tenth, tightly blurred, and fades as the caster rises off the plane;
// the key shadow is the whole caster dropped slightly slanted, away from the key light,
// blurred the more the higher the caster floats.
#include "engine3d/shadow_map.h"

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
// Blurs this wide, in the map's texels, are made on a coarser grid.
constexpr float coarse_spread_texels = 6;

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
                     caster.strength * contact_share * (1 - rise / reach), f))
        prints.push_back(std::move(f));
}

// The square of world that holds every footprint with its blur.
void place_map(const std::vector<footprint>& prints, shadow_map& map) {
    float low_x = prints[0].low_x, high_x = prints[0].high_x, low_z = prints[0].low_z, high_z = prints[0].high_z;
    for (const footprint& f : prints) {
        float reach = f.spread * reach_in_spreads;
        low_x = std::min(low_x, f.low_x - reach), high_x = std::max(high_x, f.high_x + reach);
        low_z = std::min(low_z, f.low_z - reach), high_z = std::max(high_z, f.high_z + reach);
    }
    float side = std::max(high_x - low_x, high_z - low_z);
    map.texel = side / float(shadow_map_size - 2 * border_texels);
    map.left = (low_x + high_x - side) / 2 - float(border_texels) * map.texel;
    map.back = (low_z + high_z - side) / 2 - float(border_texels) * map.texel;
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

// Texels over the plane: the map's own, or a coarser grid of the same square.
struct grid {
    float left, back, texel;
    int32_t n;
};

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

// Texels lo to hi - 1 along both axes: where a blurred footprint can be other than 0.
struct window {
    int32_t lo, hi;
};

// A box blur down every column of the window at once, zeros above and below: whole rows are
// added and taken away, which the compiler turns into vector code.
void box_blur_columns(std::vector<float>& cover, int32_t n, int32_t radius, window w, std::vector<float>& out) {
    const float scale = 1.0f / float(2 * radius + 1);
    float sum[shadow_map_size] = {};
    auto row = [&](int32_t j) { return &cover[size_t(j) * n]; };
    for (int32_t j = w.lo; j < std::min(w.lo + radius, w.hi); ++j)
        for (int32_t i = w.lo; i < w.hi; ++i) sum[i] += row(j)[i];
    if (out.size() != cover.size()) out.assign(cover.size(), 0.0f);
    for (int32_t j = w.lo; j < w.hi; ++j) {
        if (j + radius < w.hi)
            for (int32_t i = w.lo; i < w.hi; ++i) sum[i] += row(j + radius)[i];
        if (j - radius - 1 >= w.lo)
            for (int32_t i = w.lo; i < w.hi; ++i) sum[i] -= row(j - radius - 1)[i];
        for (int32_t i = w.lo; i < w.hi; ++i) out[size_t(j) * n + i] = sum[i] * scale;
    }
    cover.swap(out);
}

void transpose(std::vector<float>& cover, int32_t n, window w) {
    for (int32_t j = w.lo; j < w.hi; ++j)
        for (int32_t i = j + 1; i < w.hi; ++i) std::swap(cover[size_t(j) * n + i], cover[size_t(i) * n + j]);
}

// Three passes of radius r spread a point by sqrt(r (r + 1)) texels and reach 3 r; the rows
// are blurred as columns of the transposed map. Only the window the footprint reaches is
// worked on, and returned: a contact shadow's is a fraction of the map.
window blur(std::vector<float>& cover, int32_t n, float spread_texels, window footprint_texels) {
    float wanted = (std::sqrt(4 * spread_texels * spread_texels + 1) - 1) / 2;
    int32_t radius = wanted < float(n) ? std::max(1, int32_t(std::lround(wanted))) : n;
    const int32_t reach = std::min(blur_passes * radius + 1, n);
    const window w{std::max(footprint_texels.lo - reach, 0), std::min(footprint_texels.hi + reach, n)};
    std::vector<float> spare;
    for (int32_t pass = 0; pass < blur_passes; ++pass) box_blur_columns(cover, n, radius, w, spare);
    transpose(cover, n, w);
    for (int32_t pass = 0; pass < blur_passes; ++pass) box_blur_columns(cover, n, radius, w, spare);
    transpose(cover, n, w);
    return w;
}

// The texels the footprint covers on the grid, along both axes.
window texels_of(const footprint& f, const grid& g) {
    auto texel = [&](float at, float from) { return int32_t(std::floor((at - from) / g.texel)); };
    const int32_t lo = std::min(texel(f.low_x, g.left), texel(f.low_z, g.back));
    const int32_t hi = std::max(texel(f.high_x, g.left), texel(f.high_z, g.back)) + 1;
    return {std::max(lo, 0), std::min(hi, g.n)};
}

// A wide blur loses nothing on a grid of half the map's resolution, at a quarter of the
// cost; it is read back bilinearly at the map's texel centres.
void coarse_cover(const footprint& f, const shadow_map& map, std::vector<float>& cover) {
    const grid coarse{map.left, map.back, map.texel * 2, shadow_map_size / 2};
    std::vector<float> small;
    fill_footprint(f, coarse, small);
    const window w = blur(small, coarse.n, f.spread / coarse.texel, texels_of(f, coarse));
    cover.assign(size_t(shadow_map_size) * shadow_map_size, 0.0f);
    auto at = [&](int32_t i, int32_t j) {
        return small[size_t(std::min(std::max(j, 0), coarse.n - 1)) * coarse.n + std::min(std::max(i, 0), coarse.n - 1)];
    };
    for (int32_t j = 2 * w.lo; j < 2 * w.hi; ++j)
        for (int32_t i = 2 * w.lo; i < 2 * w.hi; ++i) {
            // Fine texel i's centre lies at coarse i / 2 - 1/4: three quarters of the nearer.
            const int32_t ci = (i - 1) >> 1, cj = (j - 1) >> 1;
            const float fx = i & 1 ? 0.25f : 0.75f, fy = j & 1 ? 0.25f : 0.75f;
            const float upper = at(ci, cj) + (at(ci + 1, cj) - at(ci, cj)) * fx;
            const float lower = at(ci, cj + 1) + (at(ci + 1, cj + 1) - at(ci, cj + 1)) * fx;
            cover[size_t(j) * shadow_map_size + i] = upper + (lower - upper) * fy;
        }
}

void cover_of(const footprint& f, const shadow_map& map, std::vector<float>& cover) {
    if (f.spread / map.texel >= coarse_spread_texels) return coarse_cover(f, map, cover);
    const grid own{map.left, map.back, map.texel, shadow_map_size};
    fill_footprint(f, own, cover);
    blur(cover, shadow_map_size, f.spread / map.texel, texels_of(f, own));
}

}  // namespace

bool shadow_map_build(float plane_y, const std::vector<shadow_caster>& casters, shadow_map& map) {
    std::vector<footprint> prints;
    for (const shadow_caster& caster : casters) footprints_of(caster, plane_y, prints);
    if (prints.empty()) return false;
    place_map(prints, map);
    if (!std::isfinite(map.texel) || !(map.texel > 0)) return false;
    map.values.assign(size_t(shadow_map_size) * shadow_map_size, 0.0f);
    std::vector<float> cover;
    for (const footprint& f : prints) {
        cover_of(f, map, cover);
        // Shadows that overlap darken as two filters would.
        for (size_t i = 0; i < cover.size(); ++i)
            map.values[i] = 1 - (1 - map.values[i]) * (1 - f.strength * std::min(cover[i], 1.0f));
    }
    return true;
}

}  // namespace engine3d
