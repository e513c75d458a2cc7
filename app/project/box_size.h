// The box's real size in millimetres: the one place the preview's proportions, print
// templates and 3D models take it from. The size bars' steps are derived from it.
#pragma once

#include <cstdint>
#include <string>

struct box_size {
    double width_mm, height_mm, depth_mm;
};

// Millimetres of one size-bar step for a box known only by its steps.
constexpr double default_step_mm = 20.0;
// The size bars run from step 1 to this one.
constexpr int32_t largest_size_step = 9;
// What the user may give: each side within these millimetres, any two at most 1 : 100.
constexpr double smallest_side_mm = 1.0;
constexpr double largest_side_mm = 2000.0;
constexpr double largest_side_ratio = 100.0;
// A size keeps millionths of a millimetre: what a project file writes and what the dialog and
// a project file read, so that a size saved is the size read back, allowed as it was.
constexpr double kept_fractions_per_mm = 1e6;

constexpr box_size box_size_of_steps(int32_t depth, int32_t width, int32_t height) {
    return {width * default_step_mm, height * default_step_mm, depth * default_step_mm};
}

bool operator==(const box_size& a, const box_size& b);
inline bool operator!=(const box_size& a, const box_size& b) { return !(a == b); }

// Millimetres of one step: 20 while the largest side lies within the bars' 1 to 9 steps of
// 20 mm, as boxes known only by their steps always were; a larger box's largest side is 9
// steps, a smaller one's 1. The preview draws a step as one unit, so every box shows there
// between 1 and 9 units large.
double size_step_mm(const box_size& box);
// The step a bar shows for a side, within the bars' range.
int32_t nearest_size_step(double side_mm, double step_mm);
// The side of `side_mm` once its bar is moved to `step`: whole steps of the step the box has
// afterwards, so that the bar shows the step it was moved to. At the bars' ends, where a
// range of sides shows the same step, the side keeps what it can of its millimetres.
double side_of_size_step(int32_t step, double side_mm, double other_mm, double third_mm);
// Each side within its millimetres and any two within the ratio; nan never is.
bool box_size_allowed(const box_size& box);
// A side of `side_mm` moved into what the other two sides allow beside it, kept.
double side_allowed_beside(double side_mm, double other_mm, double third_mm);
// Rounded to what a size keeps; check a size once it is kept.
double kept_mm(double mm);
box_size kept_box_size(const box_size& box);

// Digits with at most one decimal sign and nothing else (no sign, no exponent); a comma
// counts as the decimal sign only where `comma` is allowed, as in what the user types.
bool mm_of_text(const std::string& text, bool comma, double& mm);
// With a decimal point and no trailing zeros, to a thousandth of a millimetre.
std::string text_of_mm(double mm);
// The same with every decimal a size keeps, for what is read back.
std::string text_of_kept_mm(double mm);
// That with a decimal comma, as a size's field shows it.
std::string field_text_of_kept_mm(double mm);
// "135 x 190 x 14 mm" (width x height x depth), with a decimal comma as German readers expect.
std::string box_size_text(const box_size& box);
