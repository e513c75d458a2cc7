// Everything is inline (style, script), so the page works opened from disk with nothing
// fetched from elsewhere. The names come in the program's code page and are written as
// escapes, the page itself in plain ASCII.
#include "app/export/sets/spin_page.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "app/export/sets/spin_animation.h"
#include "runtime/core/windows_host.h"

namespace {

std::wstring wide(const std::string& text) {
    std::wstring out(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &out[0], int(out.size()));
    out.resize(size_t(std::max(0, length)));
    return out;
}

// Each character as it stands where it is plain ASCII and none of `specials`, else as
// `escape` writes its code.
std::string escaped(const std::string& text, const wchar_t* specials, std::string (*escape)(unsigned)) {
    std::string out;
    for (wchar_t c : wide(text))
        out += c >= 0x20 && c < 0x7F && !std::wcschr(specials, c) ? std::string(1, char(c)) : escape(unsigned(c));
    return out;
}

std::string script_escape(unsigned code) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04X", code);
    return escape;
}

std::string html_escape(unsigned code) { return "&#" + std::to_string(code) + ";"; }

// Inside a double-quoted script string.
std::string script_text(const std::string& text) { return escaped(text, L"\"\\<>", script_escape); }

// Between tags and inside double-quoted attributes.
std::string html_text(const std::string& text) { return escaped(text, L"\"&<>", html_escape); }

const char* const page_start = R"(<!DOCTYPE html>
<html lang="de">
<head>
<meta charset="us-ascii">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>)";

const char* const page_style = R"(</title>
<style>
html, body { margin: 0; height: 100%; background: #fff; }
body { display: flex; align-items: center; justify-content: center; }
#spin { width: min(96vw, 96vh); height: min(96vw, 96vh); touch-action: none; cursor: grab;
        user-select: none; -webkit-user-select: none; }
#spin.held { cursor: grabbing; }
#spin img { width: 100%; height: 100%; display: block; pointer-events: none; }
</style>
</head>
<body>
<div id="spin"><img alt=")";

// Dragging across the whole picture turns the box once; to the right it turns as the
// frames do, counter-clockwise seen from above.
const char* const page_script = R"(" draggable="false"></div>
<script>
(function () {
  var spin = document.getElementById("spin"), shown = spin.querySelector("img");
  var pictures = files.map(function (name) {
    var picture = new Image();
    picture.src = encodeURIComponent(name);
    return picture;
  });
  var frame = 0, touched = false, held = null;
  function show(index) {
    frame = ((index % files.length) + files.length) % files.length;
    shown.src = pictures[frame].src;
  }
  function turnByItself(time) {
    if (touched) return;
    show(Math.floor(time / (turnMs / files.length)));
    requestAnimationFrame(turnByItself);
  }
  spin.addEventListener("pointerdown", function (event) {
    touched = true;
    held = { x: event.clientX, frame: frame };
    spin.setPointerCapture(event.pointerId);
    spin.classList.add("held");
    event.preventDefault();
  });
  spin.addEventListener("pointermove", function (event) {
    if (!held) return;
    var step = spin.clientWidth / files.length;
    show(held.frame + Math.round((event.clientX - held.x) / step));
  });
  function release() { held = null; spin.classList.remove("held"); }
  spin.addEventListener("pointerup", release);
  spin.addEventListener("pointercancel", release);
  show(0);
  requestAnimationFrame(turnByItself);
})();
</script>
</body>
</html>
)";

std::string bare_name(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

}  // namespace

write_failure write_spin_page(const std::string& path, const std::string& title, const std::vector<std::string>& frames) {
    std::string page = page_start + html_text(title) + page_style + html_text(title) + page_script;
    std::string names = "<script>\nvar turnMs = " + std::to_string(spin_turn_ms) + ", files = [";
    for (size_t i = 0; i < frames.size(); ++i) names += (i ? ", \"" : "\"") + script_text(bare_name(frames[i])) + "\"";
    names += "];\n</script>\n";
    page.insert(page.find("<script>"), names);
    return write_file_bytes(path.c_str(), reinterpret_cast<const uint8_t*>(page.data()), page.size());
}
