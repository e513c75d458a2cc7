// The face atlas drawn again at a multiple of its size for an export: faces whose picture
// was chosen in this run come from that picture, the others from the atlas file, each
// stretched into its rectangle as the atlas got it.
#pragma once

#include <cstdint>

#include "app/export/stills/box_export.h"

// The atlas `scale` times as large as a texture of the engine under `number`: its handle,
// or 0 when there was no memory for it or the atlas could not be read. `unread` is told how
// many chosen pictures could not be read, whose faces then come from the atlas file.
int export_atlas_texture(const engine_export_calls& engine, int number, int32_t scale,
                         int32_t* unread = nullptr);
// The stored atlas with a book's page edges or a case's open edges painted, as the preview
// shows a shape other than the box: its handle, or 0 when it could not be made.
int shaped_atlas_texture(const engine_export_calls& engine, int number);
