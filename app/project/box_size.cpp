// The box's millimetres as text and the rules every way of setting them shares: the dialog,
// project files, the pictures and the size bars.
#include "app/project/box_size.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

bool operator==(const box_size& a, const box_size& b) {
    return a.width_mm == b.width_mm && a.height_mm == b.height_mm && a.depth_mm == b.depth_mm;
}

namespace {

double step_of_largest_side(double largest) {
    // No size yet (the scene is made before the bars are read): drawn as nothing.
    if (!(largest > 0)) return default_step_mm;
    return std::max(std::min(default_step_mm, largest), largest / largest_size_step);
}

std::string decimal_text(double mm, int32_t decimals) {
    long long scale = 1;
    for (int32_t i = 0; i < decimals; ++i) scale *= 10;
    const long long fractions = std::llround(mm * double(scale));
    std::string text = std::to_string(fractions / scale);
    const long long rest = fractions % scale;
    if (rest == 0) return text;
    char fraction[24];
    std::snprintf(fraction, sizeof fraction, ".%0*lld", int(decimals), rest);
    text += fraction;
    while (text.back() == '0') text.pop_back();
    return text;
}

}  // namespace

double size_step_mm(const box_size& box) {
    return step_of_largest_side(std::max({box.width_mm, box.height_mm, box.depth_mm}));
}

int32_t nearest_size_step(double side_mm, double step_mm) {
    const double step = std::round(side_mm / step_mm);
    return step < 1 ? 1 : step > largest_size_step ? largest_size_step : int32_t(step);
}

double side_of_size_step(int32_t step, double side_mm, double other_mm, double third_mm) {
    const double largest_other = std::max(other_mm, third_mm);
    // Beyond the other sides the side is the largest, whose step is 20 mm up to 9 of them;
    // within them the step is theirs. Whole millimetres compared: exactly one of the two holds.
    const double as_largest = step * default_step_mm;
    const double side = as_largest > largest_other ? as_largest : step * step_of_largest_side(largest_other);
    // From 180 mm and the others' largest up, the largest side is always the last step.
    if (step >= largest_size_step) return std::max(side_mm, std::max(as_largest, largest_other));
    // Every side from the others' largest up to 20 mm is one step of itself.
    if (step <= 1 && largest_other < default_step_mm) return std::min(std::max(side_mm, largest_other), default_step_mm);
    return side;
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
    const double side = kept_mm(std::min(std::max(side_mm, low), high));
    // Kept, a side on a limit may lie a millionth beyond it.
    if (box_size_allowed({side, other_mm, third_mm})) return side;
    return kept_mm(side + (side < (low + high) / 2 ? 1 : -1) / kept_fractions_per_mm);
}

double kept_mm(double mm) { return double(std::llround(mm * kept_fractions_per_mm)) / kept_fractions_per_mm; }

box_size kept_box_size(const box_size& box) { return {kept_mm(box.width_mm), kept_mm(box.height_mm), kept_mm(box.depth_mm)}; }

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
            if (decimal && divisor >= kept_fractions_per_mm) continue;  // beyond what a size keeps
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

std::string text_of_mm(double mm) { return decimal_text(mm, 3); }

std::string text_of_kept_mm(double mm) { return decimal_text(mm, 6); }

std::string field_text_of_kept_mm(double mm) {
    std::string text = text_of_kept_mm(mm);
    std::replace(text.begin(), text.end(), '.', ',');
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
