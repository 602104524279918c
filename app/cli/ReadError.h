#pragma once

namespace tvl {

struct FileError;

// Writes a failed design read to standard error: the message the window shows (without its closing full
// stop), then the file name as it was given and what was wrong ("Error 153 - Step: 7: jewel.tvl: the file
// ends inside an item record").
void PrintReadError(const char* path, const FileError& error);

} // namespace tvl
