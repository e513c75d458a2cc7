// Failures of the user's actions, told in a message box in the program's language, naming
// the file and what became of it. The program goes on as before once it is closed.
#pragma once

#include "app/export/stills/box_export.h"
#include "app/export/write_failure.h"
#include "app/faces/face_atlas.h"

// The cause is the one the image library gives for its last save.
void tell_snapshot_not_saved(const char* path);
// Without a preview screen there is no picture to save; the file is not to blame.
void tell_snapshot_without_preview(const char* path);
// An export that could not be written, that found no memory for its picture or its
// encoder, or that had no preview to draw from; `cause` is what the writer of `path` found
// where failure is not_written.
void tell_export_not_saved(const char* path, export_failure failure, write_failure cause);
// A folder of the export's path that was not there and could not be made.
void tell_folder_not_made(const char* path, const folders_made& made);
// A 3D model that could not be written, or whose atlas could not be read.
void tell_model_not_saved(const char* path, export_failure failure);
// `picture` is the file the user chose; an atlas failure names the atlas instead.
void tell_face_not_composed(face_failure failure, const char* picture);
