// Where a path leads: the file a symbolic link names, in a directory without links or dots.
#pragma once

#include <string>

// The path of the file that path names once every symbolic link of its last component is
// followed (also a link to a file not yet there), with its directory made absolute and free of
// links, "." and "..". A directory that does not exist is left as written. Ends through bye()
// for a chain of more than 40 links.
std::string resolved_path(const std::string& path);
