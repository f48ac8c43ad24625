#include "platform/system_error.h"

#include <cerrno>
#include <cstring>

namespace propdesk {

const int kOutOfMemoryError = ENOMEM;
const int kNotRegularFileError = ENOTSUP;

std::string SystemErrorText(int error) { return std::strerror(error); }

}  // namespace propdesk
