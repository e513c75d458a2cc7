// The print template: the box's net (or a book's or case's cover) at its real size in
// millimetres, 300 pixels per inch, with the bleed tinted around, the panels outlined, the
// folds dashed and each panel named with its size. A designer paints into it and hands it
// back as a print sheet.
#pragma once

#include <string>

#include "app/export/stills/box_export.h"
#include "app/faces/print_net.h"

// `names`: the box's faces' names by face index, as the window's face buttons show them; a
// cover names its panels itself. The PNG is written a band of rows at a time with its
// density tagged.
export_failure print_template_write(const char* path, box_shape shape, const box_size& box,
                                    const char* const (&names)[face_count], export_progress progress = nullptr,
                                    void* context = nullptr);

// "50" or "13,5": millimetres as the template writes them.
std::string mm_text(double mm);
// "200 x 150 mm", decimals with a comma where a side is not whole.
std::string net_size_text(double width_mm, double height_mm);
