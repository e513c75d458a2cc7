// The density a picture file carries: JFIF's in a JPEG, pHYs in a PNG, the resolution tags of
// a TIFF. Files whose density has no unit (an aspect ratio only) carry none.
#pragma once

struct picture_density {
    double x_per_mm, y_per_mm;  // pixels per millimetre
};

// False when the file names no density in inches, centimetres or metres, or cannot be read.
bool read_picture_density(const char* path, picture_density& density);
