// Choosing the picture of a box face: in the face button's requester, or by dropping picture
// files on the button or on its path field. Both end the same way.
#pragma once

#include <cstdint>

void choose_face_picture(int32_t face_button);
// Face buttons and path fields take dropped files from now on.
void accept_dropped_pictures();
// A drop on a face button or a path field: the first picture file of it is chosen for that
// face; a drop without one does nothing.
void take_dropped_picture(int32_t gadget_number);
// The atlas face (0..5) the face button's picture fills.
int32_t face_index_of_button(int32_t face_button);
// The requester's pattern of picture files, which also decides which dropped files are pictures.
const char* picture_file_pattern();
