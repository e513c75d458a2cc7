// The file is the 12-byte header, the JSON chunk padded with spaces and the binary chunk,
// in which every face has its interleaved vertices (position, normal, texture coordinate),
// its 16-bit triangle indices and its picture, each starting on a four-byte boundary. The
// numbers are stored as the host holds them: little-endian, as the format wants.
#include "app/export/model/glb_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr uint32_t glb_magic = 0x46546C67;  // "glTF"
constexpr uint32_t glb_version = 2;
constexpr uint32_t json_chunk = 0x4E4F534A;  // "JSON"
constexpr uint32_t binary_chunk = 0x004E4942;  // "BIN"
constexpr int array_buffer = 34962, element_array_buffer = 34963;
constexpr int float_component = 5126, unsigned_short_component = 5123;
constexpr int linear = 9729, linear_mipmap_linear = 9987, clamp_to_edge = 33071;
constexpr size_t vertex_bytes = sizeof(model_vertex);
// A folding box's printed card: no metal, a dull surface.
constexpr const char* card_surface = "\"metallicFactor\":0,\"roughnessFactor\":0.8";

void append_u32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(value >> shift));
}

void pad(std::vector<uint8_t>& out, uint8_t filler) {
    while (out.size() % 4) out.push_back(filler);
}

// Exactly the float's value, so that the bounds equal the stored positions.
std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", double(value));
    return text;
}

std::string bounds(const model_face& face, bool highest) {
    float edge[3];
    for (int k = 0; k < 3; ++k) {
        edge[k] = face.vertices[0].position[k];
        for (const model_vertex& vertex : face.vertices)
            edge[k] = highest ? std::max(edge[k], vertex.position[k]) : std::min(edge[k], vertex.position[k]);
    }
    return "[" + number(edge[0]) + "," + number(edge[1]) + "," + number(edge[2]) + "]";
}

struct json_lists {
    size_t view_count = 0;
    std::string views, accessors, primitives, materials, textures, images;

    static void add(std::string& list, const std::string& item) { list += (list.empty() ? "" : ",") + item; }
    std::string document(size_t binary_length) const {
        return "{\"asset\":{\"version\":\"2.0\",\"generator\":\"Tessaryn\"},\"scene\":0,\"scenes\":[{\"nodes\":[0]}],"
               "\"nodes\":[{\"mesh\":0,\"name\":\"Box\"}],\"meshes\":[{\"name\":\"Box\",\"primitives\":[" + primitives +
               "]}],\"materials\":[" + materials + "],\"textures\":[" + textures + "],\"images\":[" + images +
               "],\"samplers\":[{\"magFilter\":" + std::to_string(linear) + ",\"minFilter\":" +
               std::to_string(linear_mipmap_linear) + ",\"wrapS\":" + std::to_string(clamp_to_edge) + ",\"wrapT\":" +
               std::to_string(clamp_to_edge) + "}],\"accessors\":[" + accessors + "],\"bufferViews\":[" + views +
               "],\"buffers\":[{\"byteLength\":" + std::to_string(binary_length) + "}]}";
    }
};

// A buffer view over bytes appended to `binary`; its number.
size_t add_view(json_lists& json, std::vector<uint8_t>& binary, const void* bytes, size_t length, const std::string& rest) {
    const size_t offset = binary.size();
    binary.insert(binary.end(), static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + length);
    pad(binary, 0);
    json_lists::add(json.views, "{\"buffer\":0,\"byteOffset\":" + std::to_string(offset) + ",\"byteLength\":" +
                                    std::to_string(length) + rest + "}");
    return json.view_count++;
}

}  // namespace

std::vector<uint8_t> glb_file(const std::vector<model_face>& faces, const std::vector<glb_picture>& pictures) {
    json_lists json;
    std::vector<uint8_t> binary;
    size_t accessor = 0;
    for (size_t i = 0; i < faces.size(); ++i) {
        const model_face& face = faces[i];
        const size_t vertices = add_view(json, binary, face.vertices.data(), face.vertices.size() * vertex_bytes,
                                         ",\"byteStride\":" + std::to_string(vertex_bytes) + ",\"target\":" +
                                             std::to_string(array_buffer));
        const size_t triangles = add_view(json, binary, face.triangles.data(), face.triangles.size() * sizeof(uint16_t),
                                          ",\"target\":" + std::to_string(element_array_buffer));
        const size_t picture = add_view(json, binary, pictures[i].bytes.data(), pictures[i].bytes.size(), "");
        const std::string count = std::to_string(face.vertices.size());
        const auto attribute = [&](size_t offset, const char* type, const std::string& extra) {
            json_lists::add(json.accessors, "{\"bufferView\":" + std::to_string(vertices) + ",\"byteOffset\":" +
                                                std::to_string(offset) + ",\"componentType\":" +
                                                std::to_string(float_component) + ",\"count\":" + count +
                                                ",\"type\":\"" + type + "\"" + extra + "}");
        };
        attribute(offsetof(model_vertex, position), "VEC3", ",\"min\":" + bounds(face, false) + ",\"max\":" + bounds(face, true));
        attribute(offsetof(model_vertex, normal), "VEC3", "");
        attribute(offsetof(model_vertex, uv), "VEC2", "");
        json_lists::add(json.accessors, "{\"bufferView\":" + std::to_string(triangles) + ",\"componentType\":" +
                                            std::to_string(unsigned_short_component) + ",\"count\":" +
                                            std::to_string(face.triangles.size()) + ",\"type\":\"SCALAR\"}");
        json_lists::add(json.primitives, "{\"attributes\":{\"POSITION\":" + std::to_string(accessor) + ",\"NORMAL\":" +
                                             std::to_string(accessor + 1) + ",\"TEXCOORD_0\":" + std::to_string(accessor + 2) +
                                             "},\"indices\":" + std::to_string(accessor + 3) + ",\"material\":" +
                                             std::to_string(i) + "}");
        accessor += 4;
        json_lists::add(json.materials, "{\"name\":\"" + std::string(face.name) +
                                            "\",\"pbrMetallicRoughness\":{\"baseColorTexture\":{\"index\":" +
                                            std::to_string(i) + "}," + card_surface + "}}");
        json_lists::add(json.textures, "{\"sampler\":0,\"source\":" + std::to_string(i) + "}");
        json_lists::add(json.images, "{\"bufferView\":" + std::to_string(picture) + ",\"mimeType\":\"image/" +
                                         (pictures[i].jpeg ? "jpeg" : "png") + "\"}");
    }
    std::string text = json.document(binary.size());
    while (text.size() % 4) text += ' ';
    std::vector<uint8_t> file;
    append_u32(file, glb_magic);
    append_u32(file, glb_version);
    append_u32(file, uint32_t(12 + 8 + text.size() + 8 + binary.size()));
    append_u32(file, uint32_t(text.size()));
    append_u32(file, json_chunk);
    file.insert(file.end(), text.begin(), text.end());
    append_u32(file, uint32_t(binary.size()));
    append_u32(file, binary_chunk);
    file.insert(file.end(), binary.begin(), binary.end());
    return file;
}
