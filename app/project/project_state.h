// The window and a project, both ways: the project that the window shows now, and the window
// brought to a project as if its user had set every control by hand.
#pragma once

#include <string>

#include "app/faces/face_atlas.h"
#include "app/project/project_file.h"

// Pictures the last project named are its own paths until the user chooses others, whether or
// not they could be drawn.
project project_of_window();

// The large exports draw faces from the pictures alone; the preview needs them in the atlas.
enum class face_drawing { into_atlas, for_exports_only };

struct project_outcome {
    // Why a face's picture was not taken, in the program's language; empty when it was or
    // when the project chose none for the face.
    std::string picture_failures[project_face_count];
    face_failure atlas_failure = face_failure::none;
    int32_t values_adjusted = 0;  // set beyond a scroll bar's range
    std::string sizes_refused;    // the box's millimetres the file gave, when not taken

    bool complete() const;
};

// Faces whose pictures cannot be used keep what the atlas shows; everything else is applied.
project_outcome project_apply(const project& opened, const project_reading& reading, face_drawing drawing);
// The window brought back to what project_of_window gave earlier, pictures as named (the
// atlas and the composed pictures are the caller's), nothing told.
void project_restore(const project& shown);
