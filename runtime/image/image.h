// Image library: numbered image objects on platform bitmaps, the codec registry with
// loading and saving, drawing onto images, and the decoders and encoders behind it.
// Host-neutral declarations: platform handles travel as opaque pointers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "runtime/core/core.h"

// ---- image objects -----------------------------------------------------------------------

struct image_record {
    platform_handle handle;  // HBITMAP, or HICON for pictures loaded from icon files
    uint16_t width;
    uint16_t height;
    uint8_t depth;
    uint8_t flags;
};

constexpr int32_t image_display_compatible = 128;  // depth and flag bit alike
// Load flag: pixels as the file stores them, not turned upright by an Exif orientation.
constexpr int32_t image_load_as_stored = 0x100;

void image_library_init();
object_number image_create(object_number number, int32_t width, int32_t height,
                           int32_t depth = image_display_compatible);
int32_t image_free(object_number number);
void image_free_all();
platform_handle image_handle(object_number number);
const image_record* image_get(object_number number);
platform_handle image_make_bitmap(int32_t width, int32_t height, int32_t flags, int32_t depth);
// The pixels of an image that lives in a DIB section: the top row's address and, in `pitch`,
// the signed distance in bytes to the row below it. Null for any other image.
uint8_t* image_top_row(object_number number, int32_t* pitch);

struct draw_output;
draw_output* image_output(object_number number);
void image_output_release();

// ---- codecs ------------------------------------------------------------------------------

// Probe results, also the pixel layout that decode will write.
constexpr int32_t probe_refused = 0;
constexpr int32_t probe_bgr24 = 1;
constexpr int32_t probe_bgra32 = 2;

// How a picture decoded for a wanted size must cover it: a face picture may stand either
// way up, so its short side covers the rectangle's long one; a print sheet's sides each
// cover the rectangle's side of the same direction. 0 x 0 wants the picture's own size.
enum class picture_cover : int32_t { either_way, side_by_side };
struct wanted_size {
    int32_t width, height;
    picture_cover cover;
};
constexpr wanted_size own_size = {0, 0, picture_cover::either_way};

// A decoder looks at a picture either as a file (stream at offset 0 plus its name) or as a
// memory block (address plus the block's real size); the other pair is null/0. Decode
// writes get_height() rows top row first, rows `stride` bytes apart, and then frees what
// its probe kept; with a null buffer it only frees.
struct image_decoder {
    int32_t (*probe)(FILE* file, const char* name, const uint8_t* address, size_t size);
    int32_t (*decode)(uint8_t* buffer, int32_t stride);
    int32_t (*get_width)();
    int32_t (*get_height)();
    // Optional: the size the next probes' picture will be drawn at, for a decoder that can
    // deliver a smaller picture that still covers it, or else the largest it can deliver
    // whole where its own size is too large to decode.
    void (*want_size)(const wanted_size& wanted) = nullptr;
    // Optional: whether the next probes' pictures are turned upright as their own orientation
    // tag says (the default) or left as stored.
    void (*turn_upright)(bool upright) = nullptr;
    // Optional: the picture's own size, upright, from its header alone and whatever size
    // it is; false when the file is not this decoder's. Decoders without it are measured
    // by their probe.
    bool (*measure)(FILE* file, const char* name, int32_t* width, int32_t* height) = nullptr;
};

// Plugin id: four ASCII characters, the first in the lowest byte; 0 means BMP.
constexpr uint32_t plugin_id(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}
constexpr uint32_t plugin_bmp = 0;
constexpr uint32_t plugin_jpeg = plugin_id('J', 'P', 'E', 'G');
constexpr uint32_t plugin_png = plugin_id('P', 'N', 'G', ' ');

// Encoders receive 24-bit B, G, R rows, bottom row first, stride = 3 x width rounded up to
// a multiple of 4, and return non-zero when the whole file was written.
struct image_encoder {
    uint32_t id;
    int32_t (*encode)(const char* name, const uint8_t* buffer, int32_t width, int32_t height,
                      int32_t stride, int32_t flags);
};

extern const image_decoder jpeg_decoder;
extern const image_decoder png_decoder;
extern const image_decoder tga_decoder;
extern const image_decoder tiff_decoder;
extern const image_encoder jpeg_encoder;

// Bytes in one BMP pixel row: width x bits per pixel, padded to whole 32-bit words. Encoders'
// rows and 24-bit decoder rows are laid out the same way.
constexpr int64_t bmp_row_stride(int64_t width, int32_t bits_per_pixel) {
    return (width * bits_per_pixel + 31) / 32 * 4;
}
// Decoders tell, now and then, how many of the picture's top rows they completed, for a
// caller of image_decode_sized that uses rows while later ones are decoded.
void decoder_rows_done(int32_t rows);

// Row stride of decoder output: 24-bit rows padded to 4 bytes, 32-bit rows unpadded.
int32_t decoder_row_stride(int32_t probe_result, int32_t width);
// Largest picture a decoder may announce: both sides 1..65535, and the pixel buffer
// (stride x (height + 1)) together with what the decoder holds meanwhile (its file copy
// and working memory, `held_bytes`) within what one load may take.
bool picture_size_acceptable(int64_t width, int64_t height, int32_t bytes_per_pixel, int64_t held_bytes = 0);
// Largest side of a picture that is read reduced while its rows come in (PNG, TIFF): above
// the largest print sheet, a template of a 2000 x 2000 x 2000 mm box (94,559 x 70,937).
constexpr int64_t largest_reduced_side = int64_t(1) << 17;
// Whether a picture of width x height covers the wanted size; any picture covers 0 x 0.
bool picture_covers(int64_t width, int64_t height, const wanted_size& wanted);
// The whole number each side of a width x height picture is divided by (rounding up) for
// the smallest picture that covers `wanted`, or more where that is still too large to
// decode (as picture_size_acceptable says); 0 when none is small enough. Without a wanted
// size only the picture's own size (1) is taken.
int32_t picture_reduction(int64_t width, int64_t height, const wanted_size& wanted, int32_t bytes_per_pixel,
                          int64_t held_bytes);
// Working memory the JPEG library may take for one picture (progressive pictures keep all
// their coefficients); a picture that needs more is refused.
constexpr int64_t jpeg_decoder_memory = int64_t(1) << 29;

// ---- codec registry, loading and saving ----------------------------------------------------

void codec_registry_reset();
void decoder_register(const image_decoder* decoder);
void encoder_register(const image_encoder* encoder);
void jpeg_decoder_register();
void jpeg_encoder_register();
void png_decoder_register();
void tga_decoder_register();
void tiff_decoder_register();

object_number image_load(object_number number, const char* name, int32_t flags = 0);
// As image_load, for a picture that will be drawn at width x height: a decoder that can
// scale while decoding (JPEG in eighths, PNG and TIFF by whole numbers as their rows are
// read) delivers the smallest size that still covers that rectangle whichever way the
// picture stands upright; every other picture loads at its own size.
object_number image_load_sized(object_number number, const char* name, int32_t width,
                               int32_t height);
// As image_load_sized, outside the numbered images, so that several threads may decode at
// once, each its own picture: the picture's bitmap for draw_image, given back with
// image_decoded_free. Null for BMP and icon files, which only image_load_sized reads, and
// for pictures that cannot be read. A picture too large to decode whole comes out at the
// largest size that can be decoded.
// With `progress`, the decoding thread tells now and then how many of the picture's top rows
// are complete, with the picture they are in (the one given back at the end); a picture
// turned upright as it is decoded tells only its end.
struct decode_progress {
    void (*rows_done)(void* context, platform_handle picture, int32_t rows, int32_t height);
    void* context;
};
platform_handle image_decode_sized(const char* name, int32_t width, int32_t height,
                                   picture_cover cover = picture_cover::either_way,
                                   const decode_progress* progress = nullptr);
void image_decoded_free(platform_handle picture);
// A picture's own size, upright, read from its header where its format has one (so also
// that of a picture too large to load whole); false when it cannot be read.
bool image_picture_size(const char* name, int32_t* width, int32_t* height);
// The 32-bit pixels of an image, as image_top_row gives them.
struct pixel_target {
    static constexpr int32_t bytes_per_pixel = 4;
    uint8_t* top_row;
    int32_t pitch;
    int32_t width;
    int32_t height;
};
// A part of a picture in fractions of its width and height, the same whatever size the
// picture was decoded at: a panel of a print sheet.
struct picture_part {
    double left, top, right, bottom;
};
constexpr picture_part whole_picture = {0, 0, 1, 1};
bool is_whole_picture(const picture_part& part);
// Draws a picture from image_decode_sized into a
// rectangle of `target` with exactly the pixels draw_image would give, without the drawing
// state, so that any thread may draw into a rectangle of its own; false (nothing drawn) where
// draw_image would not stretch it. Only `part` of the picture is drawn when it is given.
bool image_stretch_decoded(platform_handle picture, const pixel_target& target, int32_t x, int32_t y,
                           int32_t width, int32_t height, const picture_part& part = whole_picture);
object_number image_load_memory(object_number number, const uint8_t* address, size_t size);
int32_t image_save(object_number number, const char* name, uint32_t plugin, int32_t flags);
// Why the last image or sprite save that answered 0 failed, for a caller that tells its user.
enum class image_save_failure : int32_t {
    none,            // nothing found: no image, no encoder, or no file touched yet
    refused,         // the target or its folder is read-only, or the folder is missing
    in_use,          // another program held the target for longer than the save waits
    not_written,     // the write broke off (full disk, lost network folder); target as it was
    target_damaged,  // the same while writing in place, and the old content not put back
    no_memory,       // the encoder found no memory for its work; target as it was
};
image_save_failure image_last_save_failure();
int32_t encoder_save(const char* name, const uint8_t* buffer, uint32_t plugin, int32_t width,
                     int32_t height, int32_t stride, int32_t flags);
// Writes 24-bit bottom-up rows as a BMP file, with `image_size` in the header's image size
// field as given (0 is allowed for uncompressed rows). The target is replaced only when the
// whole file was written.
int32_t bmp_write(const char* name, const uint8_t* rows, int32_t width, int32_t height,
                  int32_t stride, uint32_t image_size);
// Writes `size` bytes as the file `name`, replacing it only once all were written; 0 with
// the cause in image_last_save_failure otherwise.
int32_t file_save_bytes(const char* name, const uint8_t* bytes, size_t size);

// ---- pictures written a band of rows at a time -----------------------------------------------

// For pictures too large to hold whole: rows are 32-bit B, G, R, A with straight alpha, top
// row first, handed over in bands. plugin_png keeps the alpha; plugin_jpeg writes quality
// 100 with full-resolution colour and drops it. Null when the file or encoder cannot start
// (image_last_save_failure says no_memory where memory was the cause). With pixels_per_inch
// the file says what it is: sRGB and that density (pHYs in a PNG, the JFIF header's density
// in a JPEG); without, it carries neither.
struct image_writer;
image_writer* image_writer_open(const char* name, uint32_t plugin, int32_t width, int32_t height,
                                int32_t pixels_per_inch = 0);
// 1 while no row failed so far. The rows are encoded on another thread behind the caller, so
// a failure shows a little later, at the latest when the writer is closed.
int32_t image_writer_rows(image_writer* writer, const uint8_t* rows, int32_t stride, int32_t count);
// Ends the writer. With keep = 1 and every row written, the file replaces the target and 1
// is returned; otherwise the target stays as it was and 0 is returned.
int32_t image_writer_close(image_writer* writer, int32_t keep);

// ---- drawing -------------------------------------------------------------------------------

enum draw_output_kind : int32_t {
    draw_kind_window = 1,
    draw_kind_image = 2,
    draw_kind_dib_target = 5,
    draw_kind_surface = 7,
};

struct draw_output {
    int32_t kind;
    platform_handle window;
    platform_handle dc;
    void (*release)();
    uint32_t extra[8];
};

constexpr int32_t draw_mode_transparent = 1;
constexpr int32_t draw_mode_invert = 2;
constexpr int32_t draw_mode_outline = 4;

void draw_library_init();
platform_handle draw_begin(const draw_output* output);
void draw_end();
void draw_box(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour);
void draw_image(platform_handle handle, int32_t x, int32_t y, int32_t width, int32_t height);
void draw_mode(int32_t mode);
// One line of text in Arial `text_height` pixels high, centred in the rectangle, background
// left as it is.
void draw_text(int32_t x, int32_t y, int32_t width, int32_t height, const char* text, int32_t text_height,
               uint32_t colour);
