// Files dropped on gadgets that accept them become a drop event of the gadget's window. The
// names are copied at once and the host's drop handle given back; they stay readable until
// the next drop.
#include <cstring>
#include <string>

#include "runtime/gui/gui_internal.h"

#include <shellapi.h>

namespace {

// The names of the last drop, one a line: no file name holds a line break.
char* dropped_names = nullptr;
constexpr char name_separator = '\n';

std::string names_of(HDROP drop) {
    std::string names;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        std::string name(DragQueryFileA(drop, index, nullptr, 0) + 1, '\0');
        name.resize(DragQueryFileA(drop, index, &name[0], UINT(name.size())));
        if (index > 0) names += name_separator;
        names += name;
    }
    return names;
}

}  // namespace

int32_t gadget_accept_files(object_number number, int32_t accept) {
    gadget_record* record = gadget_get(number);
    if (!record) return 0;
    DragAcceptFiles(record->handle, accept != 0);
    return 1;
}

void gadget_take_drop(object_number gadget, WPARAM drop) {
    const auto handle = reinterpret_cast<HDROP>(drop);
    string_assign(&dropped_names, names_of(handle).c_str());
    DragFinish(handle);
    window_report_event(event_code_drop, gadget, 0, outside_poll::drop);
}

char* event_dropped_file(int32_t index, int32_t offset) {
    const char* name = dropped_names ? dropped_names : "";
    for (; index > 0 && *name; --index) {
        const char* end = std::strchr(name, name_separator);
        name = end ? end + 1 : "";
    }
    const char* end = std::strchr(name, name_separator);
    const int32_t length = int32_t(end ? end - name : std::strlen(name));
    char* result = temp_reserve(length + 1, offset);
    if (!result) return nullptr;
    std::memcpy(result, name, size_t(length));
    result[length] = 0;
    temp_drop(1);
    return result;
}
