// An export is drawn in bands of sub-pixel rows, so that its memory stays small whatever
// its size; the two threads take each band's tiles in turn, clearing, rasterizing and
// resolving each tile to straight-alpha pixels in one go.
#include "engine3d/render/export_render.h"

#include <emmintrin.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "engine3d/render/parallel.h"
#include "engine3d/studio/studio.h"

namespace engine3d {
namespace {

// A band is drawn in tiles of 32 sub-pixel rows by tile_pixels pixels: with 16 samples a
// tile's samples and depths take 512 KiB, which the cache keeps from drawing to resolving.
constexpr int32_t band_sub_rows = 32;
constexpr int32_t tile_pixels = 256;
// Sides beyond this would overflow the sub-pixel coordinates' integers.
constexpr int32_t largest_side = 32768;

// The entities an export shows, with copies of the materials it gives other textures.
struct export_scene {
    std::vector<std::unique_ptr<material>> looks;
    std::vector<drawn_entity> drawn;
};

const material* export_look(const context& engine, const material* own, export_scene& scene) {
    for (const auto& [number, image] : engine.exports.textures) {
        auto* found = find_number(engine.materials, number);
        if (!found || found->get() != own) continue;
        scene.looks.push_back(std::make_unique<material>(*own));
        scene.looks.back()->image = image;
        return scene.looks.back().get();
    }
    return own;
}

// Entities left out still catch the shadows that fall on them.
void gather(const context& engine, export_scene& scene) {
    for (const auto& [number, body] : engine.entities)
        scene.drawn.push_back({&body, export_look(engine, body.look.get(), scene), number,
                               engine.exports.hidden.count(number) > 0});
}

// The export's window of the camera's view, enlarged to the whole picture: the projection
// is narrowed and moved off the axis, so the window is drawn at the export's full size.
view window_view(const export_settings& exports, view whole) {
    const float width = exports.window_width, height = exports.window_height;
    const float centre_x = 2 * (exports.window_left + width / 2) - 1;
    const float centre_y = 1 - 2 * (exports.window_top + height / 2);
    whole.focal_x /= width;
    whole.focal_y /= height;
    whole.shift_x = -centre_x / width;
    whole.shift_y = -centre_y / height;
    return whole;
}

struct band {
    const export_request& request;
    frame_buffer frame;
    std::vector<raster_job> jobs;  // moved up to the band's first row and clipped to it
    int32_t first_pixel_row = 0;   // of the export, for the band's first sub-pixel row
    bool flat = false;             // the flat backdrop behind what is drawn
    uint32_t backdrop = 0;         // B, G, R, A as the pixels lie
    std::atomic<int32_t> next_tile{0};
};

void place_jobs(const std::vector<raster_job>& all, int32_t top, band& work) {
    work.jobs.clear();
    const float shift = float(top);
    for (raster_job job : all) {
        job.clip.top = std::max(job.clip.top - top, 0);
        job.clip.bottom = std::min(job.clip.bottom - top, work.frame.height);
        if (job.clip.top >= job.clip.bottom) continue;
        for (raster_vertex& corner : job.corner) corner.y -= shift;
        work.jobs.push_back(job);
    }
}

// Only the depths: a sample's colour is read only where a surface was drawn into it.
void clear_tile(frame_buffer& frame, const pixel_rect& tile) {
    const size_t samples = size_t(tile.right - tile.left) * 4;
    for (int32_t row = tile.top; row < tile.bottom; ++row)
        std::fill_n(&frame.depth[(size_t(row) * frame.width + tile.left) * 4], samples, 0.0f);
}

void draw_tile(frame_buffer& frame, const std::vector<raster_job>& jobs, const pixel_rect& tile) {
    clear_tile(frame, tile);
    for (const raster_job& job : jobs) {
        const pixel_rect clip{std::max(job.clip.left, tile.left), job.clip.top,
                              std::min(job.clip.right, tile.right), job.clip.bottom};
        if (clip.left < clip.right) raster_triangle(frame, clip, job.corner, job.style, {0, 1});
    }
}

// Rounded quotients by small counts without a division per channel.
struct sample_share {
    uint32_t reciprocal[65] = {};  // 65536 / count, for counts up to 64 samples
    sample_share() {
        for (uint32_t count = 1; count < 65; ++count) reciprocal[count] = (65536 + count / 2) / count;
    }
};
const sample_share shares;

// A pixel with partly transparent samples (shadows and mirror images without their floor):
// each drawn sample weighs by its alpha, 255 - t.
uint32_t resolve_partial(const frame_buffer& frame, int32_t x, int32_t y, int32_t grid) {
    uint32_t sum[3] = {}, weights = 0;
    for (int32_t j = 0; j < grid; ++j) {
        size_t index = (size_t(y + j) * frame.width + x) * 4;
        for (int32_t k = 0; k < grid * 4; ++k, ++index) {
            if (!(frame.depth[index] > 0)) continue;
            uint32_t sample = frame.colour[index], alpha = 255 - (sample >> 24);
            weights += alpha;
            for (int c = 0; c < 3; ++c) sum[c] += (sample >> (8 * c) & 0xFF) * alpha;
        }
    }
    if (!weights) return 0;
    const uint32_t total = uint32_t(grid * grid * 4);
    uint32_t out = ((weights + total / 2) / total) << 24;
    for (int c = 0; c < 3; ++c) out |= ((sum[c] + weights / 2) / weights) << (8 * c);
    return out;
}

// Covered samples by coverage mask, for a target without a population count instruction.
constexpr uint8_t samples_in[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};

// One pixel from its grid x grid sub-pixels: covered samples summed per channel.
uint32_t resolve_pixel(const frame_buffer& frame, int32_t x, int32_t y, int32_t grid) {
    const __m128i zero = _mm_setzero_si128();
    const __m128 empty = _mm_setzero_ps();
    __m128i sum = zero;
    uint32_t covered = 0;
    for (int32_t j = 0; j < grid; ++j) {
        size_t index = (size_t(y + j) * frame.width + x) * 4;
        for (int32_t i = 0; i < grid; ++i, index += 4) {
            __m128 drawn = _mm_cmpgt_ps(_mm_loadu_ps(&frame.depth[index]), empty);
            int mask = _mm_movemask_ps(drawn);
            if (!mask) continue;
            covered += samples_in[mask];
            __m128i four = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&frame.colour[index])),
                                         _mm_castps_si128(drawn));
            sum = _mm_add_epi16(sum, _mm_add_epi16(_mm_unpacklo_epi8(four, zero), _mm_unpackhi_epi8(four, zero)));
        }
    }
    if (!covered) return 0;
    sum = _mm_add_epi16(sum, _mm_srli_si128(sum, 8));
    alignas(16) uint16_t channel[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(channel), sum);
    if (channel[3]) return resolve_partial(frame, x, y, grid);
    const uint32_t total = uint32_t(grid * grid * 4), share = shares.reciprocal[covered];
    auto mean = [&](uint32_t value) { return (value * share + 32768) >> 16; };
    uint32_t alpha = (covered * 255 + total / 2) / total;
    return mean(channel[0]) | mean(channel[1]) << 8 | mean(channel[2]) << 16 | alpha << 24;
}

// The resolved pixel laid over the flat backdrop: opaque, the backdrop's own colour where
// nothing was drawn.
uint32_t over_backdrop(uint32_t pixel, uint32_t backdrop) {
    const uint32_t alpha = pixel >> 24;
    if (alpha == 255) return pixel;
    if (alpha == 0) return backdrop;
    uint32_t out = 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
        const uint32_t mixed = (pixel >> (8 * c) & 0xFF) * alpha + (backdrop >> (8 * c) & 0xFF) * (255 - alpha);
        out |= ((mixed + 127) / 255) << (8 * c);
    }
    return out;
}

uint32_t* output_row(const band& work, int32_t row) {
    const export_request& request = work.request;
    const int32_t from_first = work.first_pixel_row + row - request.first_row;
    return reinterpret_cast<uint32_t*>(request.pixels + ptrdiff_t(from_first) * request.pitch);
}

void resolve_tile(const band& work, const pixel_rect& tile) {
    const int32_t grid = work.request.grid;
    for (int32_t row = tile.top / grid; row < tile.bottom / grid; ++row) {
        uint32_t* out = output_row(work, row);
        for (int32_t x = tile.left / grid; x < tile.right / grid; ++x)
            out[x] = resolve_pixel(work.frame, x * grid, row * grid, grid);
        if (!work.flat) continue;
        for (int32_t x = tile.left / grid; x < tile.right / grid; ++x) out[x] = over_backdrop(out[x], work.backdrop);
    }
}

// Whether a triangle's bounds, a sub-pixel wider, reach into the tile.
bool tile_reached(const std::vector<raster_job>& jobs, const pixel_rect& tile) {
    for (const raster_job& job : jobs) {
        const raster_vertex* c = job.corner;
        if (std::max({c[0].x, c[1].x, c[2].x}) + 1 >= float(tile.left) &&
            std::min({c[0].x, c[1].x, c[2].x}) - 1 <= float(tile.right) &&
            std::max({c[0].y, c[1].y, c[2].y}) + 1 >= float(tile.top) &&
            std::min({c[0].y, c[1].y, c[2].y}) - 1 <= float(tile.bottom))
            return true;
    }
    return false;
}

// A tile no triangle reaches shows nothing drawn, which needs neither clearing nor resolving.
void fill_tile(const band& work, const pixel_rect& tile) {
    const int32_t grid = work.request.grid;
    const uint32_t empty = work.flat ? work.backdrop : 0;
    for (int32_t row = tile.top / grid; row < tile.bottom / grid; ++row)
        std::fill(output_row(work, row) + tile.left / grid, output_row(work, row) + tile.right / grid, empty);
}

// Each thread takes the band's next tile and draws and resolves it start to end, while its
// samples are still in the cache; the tiles with the box in them cost more than the rest,
// so they are taken as the threads come free rather than shared out beforehand.
void draw_band(void* data, int32_t) {
    auto* work = static_cast<band*>(data);
    const int32_t tile_width = tile_pixels * work->request.grid;
    for (int32_t left; (left = work->next_tile++ * tile_width) < work->frame.width;) {
        const pixel_rect tile{left, 0, std::min(left + tile_width, work->frame.width), work->frame.height};
        if (!tile_reached(work->jobs, tile)) {
            fill_tile(*work, tile);
            continue;
        }
        draw_tile(work->frame, work->jobs, tile);
        resolve_tile(*work, tile);
    }
}

}  // namespace

bool export_rows(context& engine, const export_request& request) {
    auto* eye = find_number(engine.cameras, request.camera);
    auto side_fits = [](int32_t side) { return side > 0 && side <= largest_side; };
    if (!eye || !side_fits(request.width) || !side_fits(request.height) || request.grid < 1 ||
        request.rows <= 0 || request.first_row < 0 || request.rows > request.height - request.first_row ||
        !request.pixels)
        return false;
    const int32_t grid = request.grid;
    studio_prepare(engine);
    export_scene scene;
    gather(engine, scene);
    std::vector<raster_job> all;
    const view whole = make_view(*eye, request.width * grid, request.height * grid);
    collect_view(engine, window_view(engine.exports, whole), scene.drawn, all);

    band work{request, {}, {}};
    work.flat = engine.exports.flat_backdrop;
    work.backdrop = engine.exports.backdrop | 0xFF000000u;
    const int32_t band_pixel_rows = std::max(1, band_sub_rows / grid);
    for (int32_t first = request.first_row; first < request.first_row + request.rows; first += band_pixel_rows) {
        int32_t rows = std::min(band_pixel_rows, request.first_row + request.rows - first);
        frame_resize(work.frame, request.width * grid, rows * grid);
        work.first_pixel_row = first;
        work.next_tile = 0;
        place_jobs(all, first * grid, work);
        run_in_parts(draw_band, &work);
    }
    return true;
}

}  // namespace engine3d
