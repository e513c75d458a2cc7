// Loading a picture for the size it will be drawn at: the wanted size is handed to the
// decoders for this one load only.
#include "runtime/image/image_internal.h"

object_number image_load_sized(object_number number, const char* name, int32_t width,
                               int32_t height) {
    decoder_want_size({width, height, picture_cover::either_way});
    object_number loaded = image_load(number, name);
    decoder_want_size(own_size);
    return loaded;
}
