// Runtime heaps for hosts without private heaps, so that tables and strings build natively
// for sanitizers. Each heap rings its blocks so that destroying it frees them all, and a
// resize always moves the block, so that a pointer kept across a resize shows up at once.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

#include "runtime/core/core.h"
#include "runtime/core/heap_host.h"

struct runtime_heap {
    struct alignas(std::max_align_t) block {
        block* prev;
        block* next;
        size_t size;
    };

    explicit runtime_heap(bool serialised_heap) : serialised(serialised_heap) {
        ring.prev = ring.next = &ring;
    }

    bool serialised;
    std::mutex lock;
    block ring{};
};

namespace {

using block = runtime_heap::block;

std::unique_lock<std::mutex> hold(runtime_heap* heap) {
    std::unique_lock<std::mutex> guard(heap->lock, std::defer_lock);
    if (heap->serialised) guard.lock();
    return guard;
}

void link(runtime_heap* heap, block* added) {
    added->next = &heap->ring;
    added->prev = heap->ring.prev;
    heap->ring.prev->next = added;
    heap->ring.prev = added;
}

void unlink(block* removed) {
    removed->prev->next = removed->next;
    removed->next->prev = removed->prev;
}

block* header_of(void* payload) { return static_cast<block*>(payload) - 1; }
void* payload_of(block* header) { return header + 1; }

block* new_block(size_t size) {
    auto* header = static_cast<block*>(std::calloc(1, sizeof(block) + size));
    if (header) header->size = size;
    return header;
}

}  // namespace

// The initial size is only a hint to a host heap; here blocks come straight from calloc.
runtime_heap* host_heap_create(size_t, bool serialised) {
    return new (std::nothrow) runtime_heap(serialised);
}

void host_heap_destroy(runtime_heap* heap) {
    if (!heap) return;
    for (block* header = heap->ring.next; header != &heap->ring;) {
        block* next = header->next;
        std::free(header);
        header = next;
    }
    delete heap;
}

void* heap_alloc(runtime_heap* heap, size_t size) {
    block* header = new_block(size);
    if (!header) return nullptr;
    auto guard = hold(heap);
    link(heap, header);
    return payload_of(header);
}

void* heap_resize(runtime_heap* heap, void* payload, size_t size) {
    if (!payload) return heap_alloc(heap, size);
    block* moved = new_block(size);
    if (!moved) return nullptr;
    block* old = header_of(payload);
    std::memcpy(payload_of(moved), payload, std::min(old->size, size));
    {
        auto guard = hold(heap);
        unlink(old);
        link(heap, moved);
    }
    std::free(old);
    return payload_of(moved);
}

void heap_free(runtime_heap* heap, void* payload) {
    if (!payload) return;
    block* header = header_of(payload);
    {
        auto guard = hold(heap);
        unlink(header);
    }
    std::free(header);
}
