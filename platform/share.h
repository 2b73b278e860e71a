// The share check: whether a share root such as \\SERVER\TMARLNK\ can be reached.
#pragma once

#include <string>
#include <string_view>

namespace dv::platform {

struct ShareCheck {
    bool ok = false;
    bool over_smb = false;  // the share has no local folder and was asked of its server
    std::string place;      // the local folder, or the share's address smb://SERVER/SHARE
    std::string reason;     // the system's reason when the check failed; empty for a missing
                            // local folder
};

// Whether the share root can be read: its local folder is a directory that this process can
// read and enter, or, with no local folder for it, its server lets us list the share over SMB.
ShareCheck CheckShare(std::string_view share_root);

// True when CheckShare finds the share readable.
bool ShareIsValid(std::string_view share_root);

}  // namespace dv::platform
