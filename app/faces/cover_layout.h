// A book's or a media case's cover as the printer takes it: back | spine | front in one row,
// each panel its face's picture upright, with bleed (a hardcover's case: its wrap and the
// hinges beside the spine) around. The edges (pages, the case's open sides) are not on it.
// Host-neutral.
#pragma once

#include <cstdint>
#include <string>

#include "app/faces/print_net.h"
#include "app/project/box_shape.h"

// 0.125 in all round, as print-on-demand services and disc printers ask.
constexpr double cover_bleed_mm = 3.175;
// A hardcover's case wrap: 0.591 in folded over the boards all round, and 0.197 in of hinge
// either side of the spine.
constexpr double hardcover_wrap_mm = 15.0;
constexpr double hardcover_hinge_mm = 5.0;
// A case's insert lies under the clear sleeve, inside the case's rim: a DVD case of
// 135 x 190 mm takes 129.5 x 183 mm a side, 273 x 183 mm unfolded; a Blu-ray case of
// 135 x 171.5 mm 128 x 149 mm, below the band across the case's top.
struct case_insert_rim {
    double narrower_mm, lower_mm;
};
constexpr case_insert_rim dvd_insert_rim{5.5, 7.0}, bluray_insert_rim{7.0, 22.5};

// `box`: a book's trim and spine, a case's own size.
print_net cover_net_of(box_shape shape, const box_size& box);

// The panels' names as the template writes them ("R\xFCckseite", "Buchr\xFCcken", ...), nullptr for
// the faces not on the cover; and the margin with its width ("Anschnitt 3,175 mm").
const char* cover_panel_name(box_shape shape, int32_t face);
std::string cover_margin_text(box_shape shape);

// What a sheet of width x height pixels would be as a cover at this trim: its spine, with the
// bleed as print services ask for (or without it, where that leaves no spine), and for a book
// the pages that spine means on its paper; 0 where there are none.
struct sheet_as_cover {
    double spine_mm;
    int32_t pages;
};
sheet_as_cover cover_of_sheet(box_shape shape, const book_setup& book, const box_size& box, int32_t sheet_width,
                              int32_t sheet_height);

// Why a sheet is not this cover, in the window's words: the cover that would fit at this trim
// (its size and spine), and what the sheet's spine would mean.
std::string cover_misfit_text(box_shape shape, const book_setup& book, const box_size& box, int32_t sheet_width,
                              int32_t sheet_height);
