// Numbered object tables: slots for the small numbers a library's caller chooses, plus a
// list of dynamic objects named by their record address. Slot arrays come from main_heap,
// dynamic nodes from list_heap; a record is live while its leading handle field is non-zero.
#include <algorithm>
#include <cstring>
#include <limits>

#include "runtime/core/core.h"

// A dynamic object: the node's links, then its record.
struct object_node {
    object_node* next;  // the next older node
    object_node* prev;  // the next newer node
};

namespace {

// Every record starts with the object's host handle.
constexpr int32_t handle_field_size = 4;
constexpr int32_t smallest_grow_by = 1;

uint8_t* record_of(object_node* node) { return reinterpret_cast<uint8_t*>(node + 1); }

object_number identity_of(object_node* node) {
    return reinterpret_cast<object_number>(record_of(node));
}

bool is_slot(const object_table* table, object_number number) {
    return number >= 0 && number < table->capacity;
}

uint8_t* slot_at(const object_table* table, object_number number) {
    return table->slots + size_t(number) * size_t(table->record_size);
}

// The handle is 32 bits on the target and pointer-sized on 64-bit native builds.
bool is_live(const object_table* table, const uint8_t* record) {
    size_t width = std::min(sizeof(void*), size_t(table->record_size));
    return std::any_of(record, record + width, [](uint8_t byte) { return byte != 0; });
}

// Identities are only trusted when they name a node of this table: stale or made-up
// numbers are never dereferenced.
object_node* find_node(const object_table* table, object_number identity) {
    for (object_node* node = table->dynamic_head; node; node = node->next)
        if (identity_of(node) == identity) return node;
    return nullptr;
}

object_node* oldest_node(const object_table* table) {
    object_node* node = table->dynamic_head;
    while (node && node->next) node = node->next;
    return node;
}

void* new_dynamic(object_table* table) {
    size_t size = sizeof(object_node) + size_t(table->record_size);
    auto* node = static_cast<object_node*>(heap_alloc(list_heap(), size));
    if (!node) return nullptr;
    node->next = table->dynamic_head;
    if (node->next) node->next->prev = node;
    table->dynamic_head = node;
    return record_of(node);
}

// Growth is by a fixed step past the number, not a doubling.
bool grow_to(object_table* table, object_number number) {
    if (number > std::numeric_limits<int32_t>::max() - table->grow_by) return false;
    int32_t capacity = int32_t(number) + table->grow_by;
    uint64_t bytes = uint64_t(capacity) * uint64_t(table->record_size);
    if (size_t(bytes) != bytes) return false;
    void* slots = heap_resize(main_heap(), table->slots, size_t(bytes));
    if (!slots) return false;
    table->slots = static_cast<uint8_t*>(slots);
    table->capacity = capacity;
    return true;
}

void unlink_node(object_table* table, object_node* node) {
    if (node->prev)
        node->prev->next = node->next;
    else
        table->dynamic_head = node->next;
    if (node->next) node->next->prev = node->prev;
}

// Advances the cursor before handing an object out, so that the caller may free it.
uint8_t* cursor_next(const object_table* table, int32_t& index, object_node*& node,
                     object_number* number) {
    while (index < table->capacity) {
        int32_t at = index++;
        uint8_t* slot = slot_at(table, at);
        if (!is_live(table, slot)) continue;
        if (number) *number = at;
        return slot;
    }
    while (node) {
        object_node* current = node;
        node = current->prev;
        if (!is_live(table, record_of(current))) continue;
        if (number) *number = identity_of(current);
        return record_of(current);
    }
    return nullptr;
}

}  // namespace

object_table* object_table_create(int32_t record_size, int32_t grow_by,
                                  object_replace_op on_replace) {
    auto* table = static_cast<object_table*>(heap_alloc(main_heap(), sizeof(object_table)));
    if (!table) return nullptr;
    table->record_size = std::max(record_size, handle_field_size);
    table->grow_by = std::max(grow_by, smallest_grow_by);
    table->capacity = table->grow_by;
    table->on_replace = on_replace;
    size_t bytes = size_t(table->capacity) * size_t(table->record_size);
    table->slots = static_cast<uint8_t*>(heap_alloc(main_heap(), bytes));
    if (!table->slots) {
        heap_free(main_heap(), table);
        return nullptr;
    }
    return table;
}

// A live identity is refused: growing the slots up to an address would exhaust the heap.
void* object_new(object_table* table, object_number number) {
    if (number == object_any) return new_dynamic(table);
    if (number < 0) return nullptr;
    if (number >= table->capacity && (find_node(table, number) || !grow_to(table, number)))
        return nullptr;
    if (table->on_replace) table->on_replace(number);
    uint8_t* slot = slot_at(table, number);
    std::memset(slot, 0, size_t(table->record_size));
    return slot;
}

void* object_get(object_table* table, object_number number) {
    uint8_t* record = nullptr;
    if (is_slot(table, number)) {
        record = slot_at(table, number);
    } else if (object_node* node = find_node(table, number)) {
        record = record_of(node);
    }
    return record && is_live(table, record) ? record : nullptr;
}

void object_release(object_table* table, object_number number) {
    if (is_slot(table, number)) {
        std::memset(slot_at(table, number), 0, size_t(table->record_size));
        return;
    }
    object_node* node = find_node(table, number);
    if (!node) return;
    // a free operation may release other objects too, among them the cursor's next one
    if (table->enum_node == node) table->enum_node = node->prev;
    unlink_node(table, node);
    heap_free(list_heap(), node);
}

void object_enum_reset(object_table* table) {
    table->enum_index = 0;
    table->enum_node = oldest_node(table);
}

void* object_enum_next(object_table* table, object_number* number) {
    return cursor_next(table, table->enum_index, table->enum_node, number);
}

// A cursor of its own, so that a walk does not disturb an enumeration in progress.
int32_t object_for_each(object_table* table, object_visitor visitor, void* user) {
    if (!visitor) return 0;
    int32_t index = 0;
    object_node* node = oldest_node(table);
    object_number number = 0;
    while (uint8_t* record = cursor_next(table, index, node, &number))
        if (visitor(number, record, user) == 0) return 0;
    return 1;
}
