// Failures of the user's actions, told in a message box in the program's language, naming
// the file and what became of it. The program goes on as before once it is closed.
#pragma once

#include "app/face_atlas.h"

// The cause is the one the image library gives for its last save.
void tell_snapshot_not_saved(const char* path);
// Without a preview screen there is no picture to save; the file is not to blame.
void tell_snapshot_without_preview(const char* path);
// An export that could not be written, or that found no memory for its picture.
void tell_export_not_saved(const char* path, bool for_lack_of_memory);
// `picture` is the file the user chose; an atlas failure names the atlas instead.
void tell_face_not_composed(face_failure failure, const char* picture);
