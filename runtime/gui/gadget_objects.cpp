// Gadgets as numbered controls: the gadgets table, the creation path all kinds share,
// the subclassed procedure that frees a gadget with its control and takes files dropped on
// it, and kind look-up.
#include "runtime/gui/host_extras.h"

namespace {

constexpr int32_t gadget_table_step = 50;
constexpr DWORD common_control_classes = 0xB08;
constexpr LONG_PTR unregistered_id = -1;

object_table* table = nullptr;

LONG_PTR control_id(HWND control) { return GetWindowLongPtrA(control, GWLP_ID); }

void register_control(gadget_record* record, HWND control, const gadget_kind* kind,
                      object_number number) {
    record->handle = control;
    record->kind = kind;
    record->old_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gadget_procedure)));
    SetWindowLongPtrA(control, GWLP_ID, number);
    SetPropA(control, gadget_id_property, reinterpret_cast<HANDLE>(number));
}

void release_control(HWND control, gadget_record* record, object_number number) {
    if (record->kind->free) record->kind->free(record);
    RemovePropA(control, gadget_id_property);
    SetWindowLongPtrA(control, GWLP_ID, unregistered_id);
    object_release(table, number);
}

}  // namespace

void gadget_table_init() {
    table = object_table_create(sizeof(gadget_record), gadget_table_step,
                                [](object_number number) { gadget_free(number); });
    INITCOMMONCONTROLSEX classes = {sizeof classes, common_control_classes};
    InitCommonControlsEx(&classes);
}

gadget_kind gadget_kind_base(int32_t kind_id) {
    gadget_kind kind = {};
    kind.kind_id = kind_id;
    kind.descriptor_size = gadget_kind_size;
    return kind;
}

gadget_record* gadget_get(object_number number) {
    return table ? static_cast<gadget_record*>(object_get(table, number)) : nullptr;
}

// A control is trusted as a gadget only when its identifier, its "QV_ID" and the record
// of that number all name it.
gadget_record* gadget_of_control(HWND control) {
    if (!control) return nullptr;
    LONG_PTR id = control_id(control);
    if (id != reinterpret_cast<LONG_PTR>(GetPropA(control, gadget_id_property))) return nullptr;
    gadget_record* record = gadget_get(id);
    return record && record->handle == control ? record : nullptr;
}

object_number gadget_create(const gadget_place& place, const gadget_class& host,
                            gadget_record** created) {
    HWND control =
        CreateWindowExA(host.ex_style, host.host_class, host.text ? host.text : "", host.style,
                        place.x, place.y, place.width, place.height, gadget_parent(),
                        reinterpret_cast<HMENU>(unregistered_id), program_instance(), nullptr);
    if (!control) return 0;
    auto* record = static_cast<gadget_record*>(object_new(table, place.number));
    if (!record) {
        DestroyWindow(control);
        return 0;
    }
    bool dynamic = place.number == object_any;
    object_number number = dynamic ? reinterpret_cast<object_number>(record) : place.number;
    if (host.defaults) host.defaults(record);
    register_control(record, control, host.kind, number);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(gadget_default_font()), TRUE);
    if (created) *created = record;
    return dynamic ? number : reinterpret_cast<object_number>(control);
}

LRESULT CALLBACK gadget_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    LONG_PTR id = control_id(control);
    gadget_record* record = id == unregistered_id ? nullptr : gadget_get(id);
    if (!record || record->handle != control)
        return DefWindowProcA(control, message, wparam, lparam);
    if (message == WM_DROPFILES) {
        gadget_take_drop(id, wparam);
        return 0;
    }
    LRESULT result = CallWindowProcA(record->old_proc, control, message, wparam, lparam);
    if (message == WM_NCDESTROY) release_control(control, record, id);
    return result;
}

LRESULT gadget_offer(HWND control, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    gadget_record* record = gadget_of_control(control);
    if (!record || !record->kind->notify) return not_handled_result;
    return record->kind->notify(record, window, message, wparam, lparam);
}

void gadget_redraw(HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_INTERNALPAINT);
}

void gadget_post_event(HWND control, int32_t type) {
    if (HWND window = owning_window(control, nullptr))
        PostMessageA(window, msg_gadget_event, WPARAM(control_id(control)), LPARAM(type));
}

platform_handle gadget_id(object_number number) {
    gadget_record* record = gadget_get(number);
    return record ? record->handle : nullptr;
}

int32_t gadget_free(object_number number) {
    gadget_record* record = gadget_get(number);
    if (!record) return 0;
    DestroyWindow(record->handle);
    return 1;
}
