// What the box stands for: a folding box, a book or a media case. A book's width and height
// are its trim (the face of its page block) and its depth the spine, worked out from its
// pages and paper when these are given; a case's sizes are its own, a standard case's unless
// changed. Host-neutral.
#pragma once

#include <cstdint>
#include <string>

#include "app/project/box_size.h"

enum class box_shape : int32_t { box, paperback, hardcover, dvd, bluray };
constexpr int32_t box_shape_count = 5;

enum class book_paper : int32_t { white, cream, colour };
constexpr int32_t book_paper_count = 3;

struct book_setup {
    int32_t pages = 0;  // 0: not given; the depth is then the user's own
    book_paper paper = book_paper::white;
};

bool operator==(const book_setup& a, const book_setup& b);
inline bool operator!=(const book_setup& a, const book_setup& b) { return !(a == b); }

// The project file's words ("box", "paperback", "hardcover", "dvd", "bluray"; "white",
// "cream", "colour") and the window's ("Schachtel", "Taschenbuch", ...; "wei\xDF", ...).
const char* shape_key(box_shape shape);
bool shape_of_key(const std::string& key, box_shape& shape);
const char* shape_caption(box_shape shape);
const char* paper_key(book_paper paper);
bool paper_of_key(const std::string& key, book_paper& paper);
const char* paper_caption(book_paper paper);

constexpr bool shape_is_book(box_shape shape) { return shape == box_shape::paperback || shape == box_shape::hardcover; }
constexpr bool shape_is_case(box_shape shape) { return shape == box_shape::dvd || shape == box_shape::bluray; }

// The page counts a book may be given (print-on-demand services bind about 24 to 900).
constexpr int32_t fewest_pages = 2;
constexpr int32_t most_pages = 2000;
// A page count from fewest_pages to most_pages, or 0 for an empty text; -1 for anything else.
int32_t pages_of_text(const std::string& text);

// A hardcover's boards: each this thick, standing this far over the page block at the head,
// the tail and the fore-edge.
constexpr double hardcover_board_mm = 2.5;
constexpr double hardcover_overhang_mm = 3.0;

// One page's share of the spine (two pages a leaf) as print-on-demand services publish it:
// 0.002252 in on white paper, 0.0025 in on cream, 0.002347 in on colour paper.
double page_thickness_mm(book_paper paper);
// Pages times their thickness; a hardcover adds its two boards. 0 without pages.
double spine_mm(box_shape shape, const book_setup& book);

// A standard case, width x height x depth: DVD 135 x 190 x 14 mm, Blu-ray 135 x 171.5 x 13 mm.
box_size standard_case_size(box_shape shape);

// The space the shape fills: a hardcover's boards stand over its trim at the head, the tail
// and the fore-edge; every other shape fills its size.
box_size shape_extent(box_shape shape, const box_size& size);

// Common print-on-demand trims, width x height.
struct trim_preset {
    const char* caption;
    double width_mm, height_mm;
};
extern const trim_preset trim_presets[];
extern const int32_t trim_preset_count;
