// "3D-Modell exportieren (glb)..." in "Datei", and the command line's /export-glb.
#pragma once

// Asks for the file in a save requester, then writes the model.
void ask_and_save_glb();
// The model of the box as the window shows it; the typed name gets ".glb" when it has
// another ending. A failure is told and answers false.
bool save_glb(const char* typed_path);
