// The studio look's paints: a mirror image keeps its weight as the sample's alpha (top
// byte t = 255 - alpha); the receiver drawn over it later shows its colour through by that
// weight over the shadowed floor; a receiver left out of an export only catches the shadow
// and the image, with straight colours and partial alpha; a clear sleeve brightens where it
// mirrors the lights. Included by the rasterizer only.
#pragma once

#include "engine3d/render/raster_pixel.h"
#include "engine3d/studio/shadow_map.h"
#include "engine3d/studio/sleeve_gloss.h"

namespace engine3d {

constexpr uint32_t rgb_bits = 0xFFFFFF;

inline uint32_t transparency(uint32_t sample) { return sample >> 24; }

// The colour darkened by a shadow of share s: a grey lighting factor, exact at s = 0.
inline uint32_t shaded(uint32_t colour, uint32_t shadow_alpha) {
    return shadow_alpha ? lit(colour, (255 - shadow_alpha) * 0x010101) : colour;
}

inline uint32_t alpha_byte(float share) { return uint32_t(share * 255 + 0.5f); }

// A receiver's own triangles meet along shared edges, whose samples both may cover. Drawn
// twice, a mirror image would be blended twice, or a caught shadow caught again; a
// receiver therefore covers only samples it lies clearly in front of.
inline __m128 clearly_behind(__m128 stored) { return _mm_mul_ps(stored, _mm_set1_ps(1 + 1.0f / 65536)); }

// Beyond the map's border, which is 0, nothing is looked up.
inline uint32_t shadow_alpha_at(const triangle_setup& t, const raster_style& style, const pixel_at& p) {
    constexpr float last = float(shadow_map_size - 1);
    if (!style.shadow) return 0;
    float distance = distance_at(t, p.z), x = p.a * distance, y = p.b * distance;
    if (!(x > 0 && x < last && y > 0 && y < last)) return 0;
    return alpha_byte(shadow_at(*style.shadow, x, y));
}

struct mirror_paint {
    static constexpr bool studio = true;
    surface_paint surface;

    static __m128 depth_margin(__m128 stored) { return stored; }

    __m128 operator()(const pixel_at& p, __m128 nearer, __m128, uint32_t* colour) const {
        float weight = bounded(p.a * distance_at(surface.t, p.z), 0.0f, surface.style.weight_limit);
        store_where(colour, surface.at(p) | (255 - alpha_byte(weight)) << 24, nearer);
        return nearer;
    }
};

// Per sample: the mask bits of samples that hold a mirror image waiting for its receiver.
inline int image_samples(__m128 stored, const uint32_t* colour) {
    __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colour));
    __m128i waiting = _mm_and_si128(old, _mm_set1_epi32(int32_t(~rgb_bits)));
    __m128i none = _mm_cmpeq_epi32(waiting, _mm_setzero_si128());
    return ~_mm_movemask_ps(_mm_castsi128_ps(none)) & _mm_movemask_ps(_mm_cmpgt_ps(stored, _mm_setzero_ps()));
}

struct receiver_paint {
    static constexpr bool studio = true;
    surface_paint surface;

    static __m128 depth_margin(__m128 stored) { return clearly_behind(stored); }

    __m128 operator()(const pixel_at& p, __m128 nearer, __m128 stored, uint32_t* colour) const {
        const uint32_t floor = shaded(surface.at(p), shadow_alpha_at(surface.t, surface.style, p));
        const int images = image_samples(stored, colour) & _mm_movemask_ps(nearer);
        if (!images) {
            store_where(colour, floor, nearer);
            return nearer;
        }
        const int covered = _mm_movemask_ps(nearer);
        for (int k = 0; k < 4; ++k) {
            if (!(covered >> k & 1)) continue;
            uint32_t weight = 255 - transparency(colour[k]);
            colour[k] = images >> k & 1 ? blend(floor, colour[k] & rgb_bits, (weight * 256 + 127) / 255) : floor;
        }
        return nearer;
    }
};

struct catcher_paint {
    static constexpr bool studio = true;
    surface_paint surface;

    static __m128 depth_margin(__m128 stored) { return clearly_behind(stored); }

    // The shadow (black, alpha s) under a sample: opaque ones darken; a mirror image of
    // alpha w lies over it, giving alpha w + s (1 - w) and its colour scaled back to straight.
    static uint32_t caught(uint32_t sample, uint32_t shadow) {
        uint32_t t = transparency(sample);
        if (!t) return shaded(sample, shadow);
        uint32_t image = 255 - t;
        uint32_t alpha = image + (shadow * t + 127) / 255;
        if (!alpha) return sample;
        uint32_t out = (255 - alpha) << 24;
        for (int shift = 0; shift < 24; shift += 8)
            out |= std::min(((sample >> shift & 0xFF) * image + alpha / 2) / alpha, 255u) << shift;
        return out;
    }

    __m128 operator()(const pixel_at& p, __m128 nearer, __m128 stored, uint32_t* colour) const {
        const uint32_t shadow = shadow_alpha_at(surface.t, surface.style, p);
        const int drawn = _mm_movemask_ps(_mm_cmpgt_ps(stored, _mm_setzero_ps()));
        const int covered = _mm_movemask_ps(nearer);
        alignas(16) uint32_t written[4] = {};
        // A sub-pixel's samples mostly hold one colour, whose divisions are done once; black
        // catches black.
        uint32_t last_sample = 0, last_caught = 0;
        for (int k = 0; k < 4; ++k) {
            if (!(covered >> k & 1)) continue;
            if (drawn >> k & 1) {
                if (colour[k] != last_sample) last_sample = colour[k], last_caught = caught(last_sample, shadow);
                colour[k] = last_caught;
            }
            else if (shadow) colour[k] = (255 - shadow) << 24;
            else continue;
            written[k] = ~0u;
        }
        return _mm_load_ps(reinterpret_cast<const float*>(written));
    }
};

// A sleeve's a and b are the eye's ray through the pixel; it adds the light it mirrors there.
struct sleeve_paint {
    static constexpr bool studio = true;
    surface_paint surface;

    static __m128 depth_margin(__m128 stored) { return stored; }

    __m128 operator()(const pixel_at& p, __m128 nearer, __m128, uint32_t* colour) const {
        const uint32_t add = sleeve_highlight(surface.style.sleeve, p.a, p.b, distance_at(surface.t, p.z));
        store_where(colour, brightened(surface.at(p), add), nearer);
        return nearer;
    }
};

}  // namespace engine3d
