// Shadow maps: the convex footprint of each caster filled with exact coverage along its
// rows, then three box blurs each way (close to a gaussian) whose width grows with the
// caster's height above the plane, so a floating box throws a softer, fainter shadow.
#include "engine3d/shadow_map.h"

#include <cmath>

namespace engine3d {
namespace {

// Blur spread in world units: soft even for a caster standing on the plane, whose floor a
// low camera sees at a grazing angle that squeezes the fade into few rows.
constexpr float spread_standing = 1.4f;
constexpr float spread_per_height = 0.2f;
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
};

bool footprint_of(const shadow_caster& caster, float plane_y, footprint& out) {
    if (caster.points.empty() || !(caster.strength > 0)) return false;
    std::vector<point2> dropped;
    float lowest = caster.points[0].y;
    for (const vec3& p : caster.points) {
        // The hull's sort needs numbers that compare.
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
        dropped.push_back({p.x, p.z});
        lowest = std::min(lowest, p.y);
    }
    float height = lowest - plane_y;
    if (!(height > -1e-3f)) return false;
    out.hull = convex_hull(dropped);
    if (out.hull.size() < 3) return false;
    out.low_x = out.high_x = out.hull[0].x;
    out.low_z = out.high_z = out.hull[0].z;
    for (point2 p : out.hull) {
        out.low_x = std::min(out.low_x, p.x), out.high_x = std::max(out.high_x, p.x);
        out.low_z = std::min(out.low_z, p.z), out.high_z = std::max(out.high_z, p.z);
    }
    out.spread = spread_standing + spread_per_height * std::max(height, 0.0f);
    out.strength = std::min(caster.strength, 1.0f);
    return true;
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

// Coverage of each texel by the hull along its centre row, exact across the row.
void fill_footprint(const footprint& f, const shadow_map& map, std::vector<float>& cover) {
    cover.assign(size_t(shadow_map_size) * shadow_map_size, 0.0f);
    for (int32_t j = 0; j < shadow_map_size; ++j) {
        float from, to;
        if (!hull_span(f.hull, map.back + (float(j) + 0.5f) * map.texel, from, to)) continue;
        from = (from - map.left) / map.texel, to = (to - map.left) / map.texel;
        int32_t first = std::max(0, int32_t(std::floor(from)));
        int32_t last = std::min(shadow_map_size - 1, int32_t(std::floor(to)));
        float* row = &cover[size_t(j) * shadow_map_size];
        for (int32_t i = first; i <= last; ++i)
            row[i] = std::min(to, float(i + 1)) - std::max(from, float(i));
    }
}

// A box blur down every column at once, zeros above and below: whole rows are added and
// taken away, which the compiler turns into vector code.
void box_blur_columns(std::vector<float>& cover, int32_t radius, std::vector<float>& out) {
    constexpr int32_t n = shadow_map_size;
    const float scale = 1.0f / float(2 * radius + 1);
    float sum[n] = {};
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

void transpose(std::vector<float>& cover) {
    constexpr int32_t n = shadow_map_size;
    for (int32_t j = 0; j < n; ++j)
        for (int32_t i = j + 1; i < n; ++i) std::swap(cover[size_t(j) * n + i], cover[size_t(i) * n + j]);
}

// Three passes of radius r spread a point by sqrt(r (r + 1)) texels; the rows are blurred
// as columns of the transposed map.
void blur(std::vector<float>& cover, float spread_texels) {
    float wanted = (std::sqrt(4 * spread_texels * spread_texels + 1) - 1) / 2;
    int32_t radius = wanted < float(shadow_map_size) ? std::max(1, int32_t(std::lround(wanted))) : shadow_map_size;
    std::vector<float> spare;
    for (int32_t pass = 0; pass < blur_passes; ++pass) box_blur_columns(cover, radius, spare);
    transpose(cover);
    for (int32_t pass = 0; pass < blur_passes; ++pass) box_blur_columns(cover, radius, spare);
    transpose(cover);
}

}  // namespace

bool shadow_map_build(float plane_y, const std::vector<shadow_caster>& casters, shadow_map& map) {
    std::vector<footprint> prints;
    for (const shadow_caster& caster : casters) {
        footprint f;
        if (footprint_of(caster, plane_y, f)) prints.push_back(std::move(f));
    }
    if (prints.empty()) return false;
    place_map(prints, map);
    if (!std::isfinite(map.texel) || !(map.texel > 0)) return false;
    map.values.assign(size_t(shadow_map_size) * shadow_map_size, 0.0f);
    std::vector<float> cover;
    for (const footprint& f : prints) {
        fill_footprint(f, map, cover);
        blur(cover, f.spread / map.texel);
        // Shadows that overlap darken as two filters would.
        for (size_t i = 0; i < cover.size(); ++i)
            map.values[i] = 1 - (1 - map.values[i]) * (1 - f.strength * std::min(cover[i], 1.0f));
    }
    return true;
}

}  // namespace engine3d
