#include "base/system_error_text.h"

#include "string_table.h"

#include <cerrno>
#include <cstring>

namespace keldro {

std::string SystemErrorReason(int error)
{
    switch (error) {
    case 0:
        return {};
    case ENOSPC:
    case EDQUOT:
        return std::string(LoadString(StringId::ReasonNoSpace));
    case EACCES:
    case EPERM:
        return std::string(LoadString(StringId::ReasonPermission));
    case EROFS:
        return std::string(LoadString(StringId::ReasonReadOnly));
    case ENOENT:
        return std::string(LoadString(StringId::ReasonNoFolder));
    case ENOTDIR:
        return std::string(LoadString(StringId::ReasonNotAFolder));
    case ENAMETOOLONG:
        return std::string(LoadString(StringId::ReasonNameTooLong));
    case EFBIG:
        return std::string(LoadString(StringId::ReasonFileTooBig));
    case EIO:
        return std::string(LoadString(StringId::ReasonInputOutput));
    default:
        return FormatString(StringId::ReasonOther, error, std::strerror(error));
    }
}

} // namespace keldro
