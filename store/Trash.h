// The desktop's trash (freedesktop.org trash, the home trash): a deleted
// profile file is moved there with a note of where it came from, so the file
// manager can put it back.
#pragma once

#include <string>

namespace tarnwick {

// ${XDG_DATA_HOME:-$HOME/.local/share}/Trash.
std::string homeTrashFolder();

// Moves the file into the home trash: files/<name> (a free name, "name 2"
// and so on when taken) and info/<name>.trashinfo with its original path and
// the time. The trash folders are created when missing. A file on another
// file system than the trash cannot be moved and is left where it is. Throws
// FileError naming the file.
void moveToTrash(const std::string& path);

}  // namespace tarnwick
