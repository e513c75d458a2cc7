// "Form...": what the box stands for (a box, a book or a media case), a book's pages, paper
// and trim, with the spine its pages make shown as they are typed.
#pragma once

// Opens the dialog over the main window and waits for OK or Abbrechen; OK with an allowed
// choice sets shape, book and size in one step, anything else changes nothing.
void ask_box_shape();
