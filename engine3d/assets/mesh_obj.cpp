// Wavefront OBJ meshes: v, vt and f lines (vn and everything else skipped), polygons split
// into fans, one engine vertex per distinct position and texture-coordinate pair.
#include "engine3d/assets/mesh_obj.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <utility>

namespace engine3d {
namespace {

struct obj_lists {
    std::vector<vec3> positions;
    std::vector<std::pair<float, float>> coordinates;
    std::map<std::pair<long, long>, uint32_t> made;
};

// An OBJ index (1-based, or negative from the end) as a 0-based index, or -1.
long resolve(long index, size_t count) {
    long resolved = index > 0 ? index - 1 : long(count) + index;
    return resolved >= 0 && size_t(resolved) < count ? resolved : -1;
}

// "p", "p/t", "p//n" or "p/t/n"; false for a corner naming no position.
bool corner(obj_lists& lists, mesh& shape, const std::string& word, uint32_t& index) {
    char* rest = nullptr;
    long position = resolve(std::strtol(word.c_str(), &rest, 10), lists.positions.size());
    long coordinate = -1;
    if (*rest == '/' && rest[1] != '/')
        coordinate = resolve(std::strtol(rest + 1, nullptr, 10), lists.coordinates.size());
    if (position < 0) return false;
    auto key = std::make_pair(position, coordinate);
    auto found = lists.made.find(key);
    if (found != lists.made.end()) {
        index = found->second;
        return true;
    }
    // OBJ counts v upwards from the bottom row; the engine counts from the top row.
    float u = coordinate < 0 ? 0 : lists.coordinates[coordinate].first;
    float v = coordinate < 0 ? 0 : 1 - lists.coordinates[coordinate].second;
    index = uint32_t(shape.vertices.size());
    shape.vertices.push_back({lists.positions[position], u, v});
    lists.made.emplace(key, index);
    return true;
}

bool face(obj_lists& lists, mesh& shape, std::istringstream& words) {
    std::vector<uint32_t> corners;
    std::string word;
    while (words >> word) {
        uint32_t index;
        if (!corner(lists, shape, word, index)) return false;
        corners.push_back(index);
    }
    for (size_t i = 2; i < corners.size(); ++i)
        shape.triangles.insert(shape.triangles.end(), {corners[0], corners[i - 1], corners[i]});
    return true;
}

}  // namespace

bool parse_obj(const std::vector<uint8_t>& bytes, mesh& shape) {
    obj_lists lists;
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::string line;
    while (std::getline(text, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "v") {
            vec3 p{0, 0, 0};
            words >> p.x >> p.y >> p.z;
            lists.positions.push_back(p);
        } else if (kind == "vt") {
            float u = 0, v = 0;
            words >> u >> v;
            lists.coordinates.emplace_back(u, v);
        } else if (kind == "f" && !face(lists, shape, words)) {
            return false;
        }
    }
    return !shape.triangles.empty();
}

}  // namespace engine3d
