// ReplacementFile: a file written aside and put in place of its target only
// when complete, so a failed, cancelled or concurrent copy never leaves a
// torn file under the target's name. The data goes to an unnamed file
// (O_TMPFILE) where the file system allows, otherwise to a file with a
// unique random name beside the target; such a name is never chosen twice,
// so two runs writing the same target never meet, and nothing but this
// object ever deletes what it made.
#pragma once

#include "classlib/files/UniqueFd.h"

#include <sys/types.h>

#include <string>

namespace quorvantell {

class ReplacementFile {
public:
    ReplacementFile() = default;
    // Discards a file that was not committed.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Starts the new file in the open folder dirFd (which must stay open
    // until Commit or Discard). False, with errno, when none can be made.
    bool Create(int dirFd, mode_t mode);
    // Where the data goes.
    int Fd() const { return m_fd.Get(); }
    // Closes the file and puts it under `name` in the folder, replacing what
    // is there. False, with errno, when it cannot: the new file is gone then
    // and whatever had the name is untouched.
    bool Commit(const std::string& name);
    // Throws the new file away.
    void Discard();

private:
    // Gives the unnamed file the unique name m_tempName.
    bool LinkUnique();

    int m_dirFd = -1;
    UniqueFd m_fd;
    std::string m_tempName;  // empty while the file has no name
};

}  // namespace quorvantell
