// The box's millimetres as text and the rules every way of setting them shares: the dialog,
// project files, the pictures and the size bars.
#include "app/project/box_size.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

bool operator==(const box_size& a, const box_size& b) {
    return a.width_mm == b.width_mm && a.height_mm == b.height_mm && a.depth_mm == b.depth_mm;
}

double size_step_mm(const box_size& box) {
    const double largest = std::max({box.width_mm, box.height_mm, box.depth_mm});
    // No size yet (the scene is made before the bars are read): drawn as nothing.
    if (!(largest > 0)) return default_step_mm;
    return std::max(std::min(default_step_mm, largest), largest / largest_size_step);
}

int32_t nearest_size_step(double side_mm, double step_mm) {
    const double step = std::round(side_mm / step_mm);
    return step < 1 ? 1 : step > largest_size_step ? largest_size_step : int32_t(step);
}

bool box_size_allowed(const box_size& box) {
    const double sides[] = {box.width_mm, box.height_mm, box.depth_mm};
    for (double side : sides)
        if (!(side >= smallest_side_mm && side <= largest_side_mm)) return false;
    const auto [smallest, largest] = std::minmax({box.width_mm, box.height_mm, box.depth_mm});
    return largest <= smallest * largest_side_ratio;
}

double side_allowed_beside(double side_mm, double other_mm, double third_mm) {
    const double low =
        std::max({smallest_side_mm, other_mm / largest_side_ratio, third_mm / largest_side_ratio});
    const double high =
        std::min({largest_side_mm, other_mm * largest_side_ratio, third_mm * largest_side_ratio});
    return std::min(std::max(side_mm, low), high);
}

bool mm_of_text(const std::string& text, bool comma, double& mm) {
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos) return false;
    // The digits as one whole number over a power of ten: a size read back is the one written.
    double digits = 0, divisor = 1;
    bool decimal = false, any_digit = false;
    for (size_t i = first; i <= last; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            any_digit = true;
            if (decimal && divisor >= 1e6) continue;  // beyond a millionth of a millimetre
            digits = digits * 10 + (c - '0');
            if (decimal) divisor *= 10;
        } else if ((c == '.' || (comma && c == ',')) && !decimal) {
            decimal = true;
        } else {
            return false;
        }
        // Far beyond any size allowed: refused before the number grows without bound.
        if (digits / divisor > 1e9) return false;
    }
    if (!any_digit) return false;
    mm = digits / divisor;
    return true;
}

std::string text_of_mm(double mm) {
    const long long thousandths = std::llround(mm * 1000);
    std::string text = std::to_string(thousandths / 1000);
    const int rest = int(thousandths % 1000);
    if (rest == 0) return text;
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03d", rest);
    text += fraction;
    while (text.back() == '0') text.pop_back();
    return text;
}

namespace {

std::string shown_mm(double mm) {
    std::string text = text_of_mm(std::round(mm * 10) / 10);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

}  // namespace

std::string box_size_text(const box_size& box) {
    return shown_mm(box.width_mm) + " x " + shown_mm(box.height_mm) + " x " +
           shown_mm(box.depth_mm) + " mm";
}
