// "Maße aus Bildern": the box's sizes in the proportions of its pictures.
#pragma once

// Width and height from the front picture, depth from a side picture, each to the nearest
// steps of its scroll bar; a size without a picture keeps its value.
void size_box_from_pictures();
