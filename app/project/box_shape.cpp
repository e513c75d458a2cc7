// The figures behind books and cases, in one table per kind of word.
#include "app/project/box_shape.h"

#include <cstddef>
#include <cstdlib>

namespace {

constexpr double mm_per_inch = 25.4;

struct shape_words {
    const char* key;
    const char* caption;
};

const shape_words shapes[box_shape_count] = {
    {"box", "Schachtel"},
    {"paperback", "Taschenbuch"},
    {"hardcover", "Gebundenes Buch"},
    {"dvd", "DVD-H\xFClle"},
    {"bluray", "Blu-ray-H\xFClle"},
};

struct paper_words {
    const char* key;
    const char* caption;
    double page_inches;
};

const paper_words papers[book_paper_count] = {
    {"white", "wei\xDF", 0.002252},
    {"cream", "creme", 0.0025},
    {"colour", "farbig", 0.002347},
};

// The row of `table` whose key is `key`, or -1.
template <typename Words, size_t count>
int32_t row_of_key(const Words (&table)[count], const std::string& key) {
    for (size_t i = 0; i < count; ++i)
        if (key == table[i].key) return int32_t(i);
    return -1;
}

}  // namespace

const trim_preset trim_presets[] = {
    {"5 x 8 in (127 x 203,2 mm)", 127.0, 203.2},
    {"5,25 x 8 in (133,35 x 203,2 mm)", 133.35, 203.2},
    {"5,5 x 8,5 in (139,7 x 215,9 mm)", 139.7, 215.9},
    {"6 x 9 in (152,4 x 228,6 mm)", 152.4, 228.6},
    {"6,14 x 9,21 in (155,96 x 233,93 mm)", 155.956, 233.934},
    {"7 x 10 in (177,8 x 254 mm)", 177.8, 254.0},
    {"8,25 x 11 in (209,55 x 279,4 mm)", 209.55, 279.4},
    {"8,5 x 11 in (215,9 x 279,4 mm)", 215.9, 279.4},
    {"A5 (148 x 210 mm)", 148.0, 210.0},
    {"A4 (210 x 297 mm)", 210.0, 297.0},
    {"12 x 19 cm", 120.0, 190.0},
    {"13,5 x 21,5 cm", 135.0, 215.0},
};
const int32_t trim_preset_count = int32_t(sizeof trim_presets / sizeof trim_presets[0]);

bool operator==(const book_setup& a, const book_setup& b) { return a.pages == b.pages && a.paper == b.paper; }

const char* shape_key(box_shape shape) { return shapes[int32_t(shape)].key; }
const char* shape_caption(box_shape shape) { return shapes[int32_t(shape)].caption; }
const char* paper_key(book_paper paper) { return papers[int32_t(paper)].key; }
const char* paper_caption(book_paper paper) { return papers[int32_t(paper)].caption; }

bool shape_of_key(const std::string& key, box_shape& shape) {
    const int32_t row = row_of_key(shapes, key);
    if (row >= 0) shape = box_shape(row);
    return row >= 0;
}

bool paper_of_key(const std::string& key, book_paper& paper) {
    const int32_t row = row_of_key(papers, key);
    if (row >= 0) paper = book_paper(row);
    return row >= 0;
}

int32_t pages_of_text(const std::string& text) {
    if (text.empty()) return 0;
    char* end = nullptr;
    const long pages = std::strtol(text.c_str(), &end, 10);
    return *end == 0 && pages >= fewest_pages && pages <= most_pages ? int32_t(pages) : -1;
}

double page_thickness_mm(book_paper paper) { return papers[int32_t(paper)].page_inches * mm_per_inch; }

double spine_mm(box_shape shape, const book_setup& book) {
    if (!shape_is_book(shape) || book.pages <= 0) return 0;
    const double pages = book.pages * page_thickness_mm(book.paper);
    return shape == box_shape::hardcover ? pages + 2 * hardcover_board_mm : pages;
}

box_size standard_case_size(box_shape shape) {
    return shape == box_shape::bluray ? box_size{135.0, 171.5, 13.0} : box_size{135.0, 190.0, 14.0};
}

box_size shape_extent(box_shape shape, const box_size& size) {
    if (shape != box_shape::hardcover) return size;
    return {size.width_mm + hardcover_overhang_mm, size.height_mm + 2 * hardcover_overhang_mm, size.depth_mm};
}
