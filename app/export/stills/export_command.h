// "Bild Speichern" with one of the large file types: the export with the wait cursor, its
// progress in the status bar and a message when it fails.
#pragma once

#include <cstdint>
#include <string>

#include "app/export/stills/box_export.h"

// The large file types the save requester offers after the snapshot's own: their pattern
// pairs, or nothing when the engine cannot export.
const char* export_patterns();
// `type` counts the large types from 0; the typed name gets the type's extension. A failure
// is told and answers false; with `every_picture` so is a chosen picture that cannot be read.
bool save_export(const char* typed_path, const export_type& type, bool every_picture = false);

// The name answered in a save requester that starts in the working folder at `name`; empty
// when cancelled. The preview is hidden while it is open: its surface would paint over it.
std::string ask_export_name(const char* title, const char* name, const char* patterns, int32_t preset = 0);

// "Ansichtenserie exportieren...": asks for a base name and a large type, then writes the set.
void ask_and_save_view_set();
// The seven views of the composed box under the typed base name as large type `type`,
// progress in the status bar; Esc stops after the current file. The view is the same
// afterwards. A failure is told once and answers false, as does a set stopped early.
bool save_view_set(const char* typed_path, const export_type& type, bool every_picture = false);

// "Rundumansicht exportieren...": asks for a base name, a large type and the frame count
// (one choice in the requester's file types), then writes the spin set, the box filling it.
void ask_and_save_spin_set();
// The spin set of the composed box under the typed base name: `frames` frames of large type
// `type`, their zip, animation and page (only the zip with `zip_only`); progress in the
// status bar, Esc stops after the current frame and leaves out the rest. The view is the same
// afterwards. A failure is told once and answers false, as does a set stopped early.
bool save_spin_set(const char* typed_path, const export_type& type, int32_t frames, bool fill,
                   bool every_picture = false, bool zip_only = false);
// "Druckvorlage speichern...": asks for a name and writes the print template there.
void ask_and_save_print_template();
// The print template of the box at its real size; a failure is told and answers false.
bool save_print_template(const char* typed_path);
