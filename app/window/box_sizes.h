// The box's millimetres in the window: app.box, the size bars that show it in steps, the
// engine's box drawn from it and the status bar that tells a change.
#pragma once

#include <cstdint>

#include "app/project/box_shape.h"
#include "app/project/box_size.h"

// Takes an allowed, kept size: the bars show its nearest steps, the preview its proportions;
// the status bar tells it, while a bar is dragged at most ten times a second.
void set_box_size(const box_size& box);
// The same for a size the user chose: told when the faces' print sheet no longer fits it.
void choose_box_size(const box_size& box);
// A size bar moved: its side becomes whole steps, the other sides keep their millimetres.
void take_size_bar(int32_t bar);
// What the box stands for: the face buttons' names, the painted edges and the engine's shape
// follow; the size is then set as set_box_size sets it.
void set_box_shape(box_shape shape, const book_setup& book, const box_size& box);
// Once a frame: the size a drag left untold is told once its time has come.
void box_size_text_follow();
