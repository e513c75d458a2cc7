// "Bild Speichern" with one of the large file types: the export with the wait cursor, its
// progress in the status bar and a message when it fails.
#pragma once

#include <cstdint>

// The large file types the save requester offers after the snapshot's own: their pattern
// pairs, or nothing when the engine cannot export.
const char* export_patterns();
// `type` counts the large types from 0; the typed name gets the type's extension. A failure
// is told and answers false; with `every_picture` so is a chosen picture that cannot be read.
bool save_export(const char* typed_path, int32_t type, bool every_picture = false);
