// Picture paths as a project keeps them: relative to the project's folder when the picture
// lies inside it, so that the folder can be moved or zipped whole; and the checks a path read
// from a file must pass before anything is opened under it.
#pragma once

#include <string>

// The name as a full path, from the working folder; the name itself when that would not fit.
std::string full_path(const std::string& name);
// The folder part of a path with its closing backslash; empty without one.
std::string folder_of(const std::string& path);
// `picture` relative to `folder` when it lies inside it, else as it is.
std::string path_for_project(const std::string& picture, const std::string& folder);
// A kept path made whole again: a relative one is joined to the project's folder. Empty when
// the result would not fit a path.
std::string path_from_project(const std::string& kept, const std::string& folder);

// network: a path on another computer (\\server\share\...), not yet looked at.
enum class path_problem { none, too_long, device, folder, missing, network };
// A path that makes the host contact another computer, possibly with the user's credentials.
bool is_network_path(const std::string& path);
// Why no file should be opened under this path: a device (CON, NUL, COM1, \\.\...) answers
// reads of its own, a folder is no file, and too long a path would be cut.
path_problem check_file_path(const std::string& path);
