// The box faces the camera, which looks along -z, with the face whose normal the turn brings
// to +z: the front (-x) at 90 degrees, the right side (+z) at 0. Square views are taken a
// little from above, as product photos are; the top is seen from 60 degrees above, the box
// tipped towards the camera, which stands a little higher too.
#include "app/export/sets/view_set.h"

namespace {

constexpr float product_photo_elevation = 8;

}  // namespace

const set_view set_views[set_view_count] = {
    {"-ansicht", true, 0, 0, -1},
    {"-vorne", false, 90, 0, product_photo_elevation},
    {"-hinten", false, 270, 0, product_photo_elevation},
    {"-links", false, 180, 0, product_photo_elevation},
    {"-rechts", false, 0, 0, product_photo_elevation},
    {"-oben", false, 90, 60 - product_photo_elevation, product_photo_elevation},
    {"-rechts-vorne", false, 60, 0, -1},
};

std::string set_file_name(const std::string& typed, const export_type& type, const set_view& view) {
    const std::string file = export_file_name(typed, type);
    const size_t dot = file.find_last_of('.');
    return file.substr(0, dot) + view.suffix + file.substr(dot);
}
