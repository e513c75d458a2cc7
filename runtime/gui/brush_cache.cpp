// Solid brushes shared by colour: one per colour in use, counted by the gadgets holding
// it and deleted with its last user. The one structure guarded by a lock.
#include "runtime/gui/gui_internal.h"

namespace {

struct brush_node {
    brush_node* next;
    uint32_t colour;
    HBRUSH brush;
    int32_t users;
};

CRITICAL_SECTION lock;
brush_node* brushes = nullptr;

class held_lock {
  public:
    held_lock() { EnterCriticalSection(&lock); }
    ~held_lock() { LeaveCriticalSection(&lock); }
    held_lock(const held_lock&) = delete;
    held_lock& operator=(const held_lock&) = delete;
};

}  // namespace

void brush_cache_init() { InitializeCriticalSection(&lock); }

HBRUSH brush_acquire(uint32_t colour) {
    held_lock held;
    for (brush_node* node = brushes; node; node = node->next) {
        if (node->colour != colour) continue;
        ++node->users;
        return node->brush;
    }
    auto* node = static_cast<brush_node*>(heap_alloc(list_heap(), sizeof(brush_node)));
    if (!node) return nullptr;
    node->brush = CreateSolidBrush(colour);
    if (!node->brush) {
        heap_free(list_heap(), node);
        return nullptr;
    }
    node->colour = colour;
    node->users = 1;
    node->next = brushes;
    brushes = node;
    return node->brush;
}

void brush_release(HBRUSH brush) {
    held_lock held;
    for (brush_node** link = &brushes; *link; link = &(*link)->next) {
        brush_node* node = *link;
        if (node->brush != brush) continue;
        if (--node->users == 0) {
            DeleteObject(node->brush);
            *link = node->next;
            heap_free(list_heap(), node);
        }
        return;
    }
}
