// The engine's one context object.
#include "engine3d/scene.h"

namespace engine3d {

context& engine() {
    static context instance;
    return instance;
}

}  // namespace engine3d
