// "Rückgängig" and "Wiederholen": every change of what a project keeps is one step, taken once
// the user lets go (a drag, a held arrow key, a scroll bar pulled), so a gesture is one step.
#pragma once

#include "app/project/project_file.h"

// A new history starting from what the window shows now: at start and when a project opens.
void history_restart();
// Called once a frame with what the window shows (project_of_window): a settled change becomes
// a step, and the steps ahead are dropped.
void history_follow(const project& shown);
bool history_can_undo();
bool history_can_redo();
void history_undo();
void history_redo();
