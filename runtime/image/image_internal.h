// What the image library's own files share: the image table, record filling and the
// registry's probe/decode steps. Windows-only; codecs do not include it.
#pragma once

#include "runtime/core/windows_host.h"

#include "runtime/image/image.h"

object_table* image_table();

// Fills a record from a bitmap's own description and answers what creating or loading
// operations return: the bitmap for a numbered image, the identity for a dynamic one.
// A null bitmap is a create or load that failed: the record is given back and 0 returned.
object_number image_keep_bitmap(object_number number, image_record* record, HBITMAP bitmap,
                                int32_t flags);
// The same for an icon, described by its colour bitmap; 0 when the icon can't be described.
object_number image_keep_icon(object_number number, image_record* record, HICON icon,
                              int32_t flags);
// A create or load that failed: the record made for it is given back; answers 0.
object_number image_abandon(object_number number, image_record* record);

// A picture file opened for reading so that other programs (viewers, indexers, virus
// scanners, the engine) may read, write, rename and delete it meanwhile, and so that the
// open goes through while they hold it; null when it cannot be opened.
FILE* image_open_for_reading(const char* name);

// Finds the decoder that accepts a file (name) or memory block (address, size).
int32_t decoder_probe(const char* name, const uint8_t* address, size_t size);
// Tells every decoder that takes it the size the next picture will be drawn at.
void decoder_want_size(const wanted_size& wanted);
// Who is told the rows of the next bitmaps decoded on this thread as they come (null: nobody).
void decoder_follow_rows(const decode_progress* progress);
// Tells every decoder that takes it whether the next pictures are turned upright.
void decoder_turn_upright(bool upright);
// The upright size of the picture a decoder accepts, from its header alone.
bool decoder_picture_size(const char* name, int32_t* width, int32_t* height);
// Makes a bitmap from the accepted picture; the probe result tells its pixel layout.
HBITMAP decoder_decode_bitmap(int32_t probe_result, int32_t flags);

HICON icon_from_memory(const uint8_t* address, size_t size);

// Scales a whole 24- or 32-bit DIB section smoothly into a rectangle of the DIB section
// selected into target_dc; false (nothing drawn) when either is not such a bitmap.
bool stretch_between_dibs(HDC target_dc, HBITMAP source, int32_t x, int32_t y, int32_t width,
                          int32_t height);

// A device context of our own (on the display, or a memory one), deleted when it goes
// out of scope.
class owned_dc {
public:
    explicit owned_dc(HDC dc) : dc_(dc) {}
    ~owned_dc() {
        if (dc_) DeleteDC(dc_);
    }
    owned_dc(const owned_dc&) = delete;
    owned_dc& operator=(const owned_dc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

inline HDC display_dc() { return CreateDCA("DISPLAY", nullptr, nullptr, nullptr); }
