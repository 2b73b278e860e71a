// The catalog settings, and the system object: the data source and this computer's identity.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace dv {

// The catalog settings read from tMRCatalog.ini. Only Server and Directory are used later.
struct cEpcInfo {
    std::string Server;
    std::string DataShare;
    std::string CatalogShare;
    std::string Directory;
    std::string TerminalID;
    int32_t CustomerNumber = 0;
};

struct cSystem {
    std::string mUNCDrive;   // the data server
    std::string mDirectory;  // the data directory on the share
    std::string TerminalID = "";
    std::string ComputerName;
    std::string IP;

    // \\server\TMARLNK\directory: the data directory on the link share.
    std::string TMARLNK() const { return "\\\\" + mUNCDrive + "\\TMARLNK\\" + mDirectory; }
    // \\server\CATCON\: the catalog-content share (nothing reads it).
    std::string CATCON() const { return "\\\\" + mUNCDrive + "\\CATCON\\"; }
};

// Program-wide: created by the reading of the catalog settings, dropped by an engine release.
extern std::shared_ptr<cEpcInfo> mEpcInfo;
extern std::shared_ptr<cSystem> mSystem;

}  // namespace dv
