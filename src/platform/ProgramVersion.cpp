#include "platform/ProgramVersion.h"

std::string versionNumberText(unsigned number) {
    return std::to_string(number).substr(0, 2);
}

std::string versionText(unsigned major, unsigned minor, unsigned release, unsigned build) {
    return versionNumberText(major) + "." + versionNumberText(minor) + "." + versionNumberText(release) + "." +
           versionNumberText(build);
}
