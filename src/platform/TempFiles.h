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

// An open file, written from its start.
using FileHandle = intptr_t;
inline constexpr FileHandle kNoFile = -1;

// Creates an empty file whose name begins with prefix and is unique in
// directory (a name from GetTempFileNameA; natively mkstemp), gives its full
// path and keeps it open for writing: what is written goes to the file that
// was created, whatever another program puts at its path meanwhile.
bool CreateUniqueFile(const std::string& directory, const std::string& prefix, std::string& path,
                      FileHandle& file);
// Writes all size bytes.
bool WriteAll(FileHandle file, const void* data, size_t size);
// Closes the file; false when what was written could not be kept.
bool CloseFile(FileHandle file);

// Renames from to to, replacing a file that is there already.
bool MoveReplacing(const std::string& from, const std::string& to);

bool RemoveFile(const std::string& path);

}  // namespace quillet::platform
