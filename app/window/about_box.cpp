// The name and version come from the program's version resource, so that the box and the
// file's properties never disagree. The box is owned by the main window, like the failure
// messages, and says in German what the program is.
#include "app/window/about_box.h"

#include "app/app_state.h"
#include "runtime/core/windows_host.h"
#include "runtime/gui/gui.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

class version_resource {
public:
    version_resource() {
        char program[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, program, MAX_PATH);
        DWORD ignored = 0;
        block_.resize(GetFileVersionInfoSizeA(program, &ignored));
        if (block_.empty() ||
            !GetFileVersionInfoA(program, 0, DWORD(block_.size()), block_.data()))
            block_.clear();
    }

    // A text in the resource's first language; empty when there is none.
    std::string text(const char* name) const {
        WORD* language = nullptr;
        if (!query("\\VarFileInfo\\Translation", reinterpret_cast<void**>(&language))) return "";
        char path[80];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", language[0],
                      language[1], name);
        char* found = nullptr;
        return query(path, reinterpret_cast<void**>(&found)) ? found : "";
    }

private:
    bool query(const char* path, void** value) const {
        UINT length = 0;
        return !block_.empty() &&
               VerQueryValueA(const_cast<char*>(block_.data()), path, value, &length) &&
               length > 0;
    }

    std::vector<char> block_;
};

std::string about_text() {
    const version_resource version;
    return version.text("ProductName") + " " + version.text("FileVersion") +
           "\n\nGestaltet Verpackungsboxen: ein Bild f\xFCr jede Seite der Box, live in der "
           "3D-Vorschau, als Bild zu speichern.\n\n"
           "Maus: In der Vorschau ziehen dreht und neigt die Box, das Mausrad zoomt, ein "
           "Doppelklick zeigt wieder die Startansicht.\n\n"
           "Enth\xE4lt libjpeg-turbo, libpng, libtiff, libwebp und zlib; ihre Lizenzen stehen in "
           "THIRD-PARTY-NOTICES.txt.";
}

}  // namespace

void show_about_box() {
    MessageBoxA(static_cast<HWND>(window_id(main_window)), about_text().c_str(), "Tessaryn",
                MB_OK | MB_ICONINFORMATION);
}
