// "Maße aus Bildern": the box's sizes in the proportions of its pictures.
#pragma once

// Width to height from the front picture, depth from a side picture (or the top's), exactly,
// so that none of them is stretched; a picture that carries its density gives its real
// millimetres, otherwise the box keeps its height. Faces not chosen in this run are measured
// from the project's pictures; with nothing to measure the status bar says so.
void size_box_from_pictures();
