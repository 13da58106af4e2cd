// The files ATTACHURL writes: the system's temporary-files directory, fixed
// when the library starts, a placeholder file with a unique name made by the
// system's own service, writing a file, the rename that replaces a target,
// and deleting. Every call reports failure as false; none throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet::platform {

// The temporary-files directory as it was when the library started, ending
// in a path delimiter: GetTempPathA on Windows; natively $TMPDIR, else /tmp.
const std::string& TemporaryDirectory();

// Creates an empty file whose name begins with prefix and is unique in
// directory (GetTempFileNameA; natively mkstemp), and gives its full path.
bool CreateUniqueFile(const std::string& directory, const std::string& prefix, std::string& path);

// An open file, written from its start.
using FileHandle = intptr_t;
inline constexpr FileHandle kNoFile = -1;

// Opens an existing or new file for writing and empties it.
bool OpenForWriting(const std::string& path, FileHandle& file);
// Writes all size bytes.
bool WriteAll(FileHandle file, const void* data, size_t size);
// Closes the file; false when what was written could not be kept.
bool CloseFile(FileHandle file);

// Renames from to to, replacing a file that is there already.
bool MoveReplacing(const std::string& from, const std::string& to);

bool RemoveFile(const std::string& path);

}  // namespace quillet::platform
