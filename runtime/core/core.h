// Runtime core: numbered object tables, the runtime's heaps, the string model with its
// temporary string area, and two small helpers (colour packing, folder part of a path).
// Host-neutral: no platform header is needed to use it.
#pragma once

#include <cstddef>
#include <cstdint>

// A window, bitmap, device context or other host object, opaque to host-neutral code.
using platform_handle = void*;

// ---- heaps -------------------------------------------------------------------------------

struct runtime_heap;

// Blocks come back zero-filled; a resize zero-fills the part it adds.
void* heap_alloc(runtime_heap* heap, size_t size);
void* heap_resize(runtime_heap* heap, void* block, size_t size);
void heap_free(runtime_heap* heap, void* block);

void main_heap_create();
void main_heap_destroy();
runtime_heap* main_heap();
runtime_heap* list_heap();
runtime_heap* string_heap();

// A block from main_heap, freed when it goes out of scope.
class heap_block {
public:
    explicit heap_block(size_t size) : data_(static_cast<uint8_t*>(heap_alloc(main_heap(), size))) {}
    ~heap_block() {
        if (data_) heap_free(main_heap(), data_);
    }
    heap_block(const heap_block&) = delete;
    heap_block& operator=(const heap_block&) = delete;
    uint8_t* get() const { return data_; }

private:
    uint8_t* data_;
};

// ---- numbered object tables --------------------------------------------------------------

// A small number chosen by the application, or the identity (record address) of a dynamic
// object. Pointer-sized so that identities survive on any host.
using object_number = intptr_t;
constexpr object_number object_any = -1;

using object_replace_op = void (*)(object_number number);
using object_visitor = int32_t (*)(object_number number, void* record, void* user);

struct object_node;

struct object_table {
    int32_t record_size;
    int32_t grow_by;
    int32_t capacity;
    object_node* dynamic_head;
    object_replace_op on_replace;
    int32_t enum_index;
    object_node* enum_node;
    uint8_t* slots;
};

void object_heap_init();
object_table* object_table_create(int32_t record_size, int32_t grow_by, object_replace_op on_replace);
void* object_new(object_table* table, object_number number);
void* object_get(object_table* table, object_number number);
void object_release(object_table* table, object_number number);
void object_enum_reset(object_table* table);
void* object_enum_next(object_table* table, object_number* number);
int32_t object_for_each(object_table* table, object_visitor visitor, void* user);

// One zero-filled block of library state from main_heap; init (optional) runs on it.
void* state_block_alloc(size_t size, void (*init)(void* block));

// ---- strings -----------------------------------------------------------------------------

// A string variable is a char* to a block on string_heap, or null for the empty text.
struct temp_string_area {
    char* start;
    int32_t temp_length;
    int32_t temp_capacity;
};

void string_library_init();
temp_string_area& temp_string();

int32_t string_assign_temp(char** variable, int32_t offset);
void string_set(char** variable, const char* text);
int32_t string_assign(char** variable, const char* text);
void string_free(char* block);
int32_t string_equal(const char* a, const char* b);

void temp_append(const char* text);
char* temp_reserve(int32_t length, int32_t offset);
void temp_drop(int32_t count);
int32_t temp_offset_of(const char* pointer);
char* temp_pointer_at(int32_t offset);

char* file_path_part(const char* path, int32_t offset);
uint32_t color_rgb(int32_t r, int32_t g, int32_t b);
