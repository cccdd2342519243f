#include "platform/Error.h"

namespace {

std::string reasonOf(const std::error_code& code, const std::string& detail) {
    return detail.empty() ? code.message() : detail;
}

} // namespace

PlaceError::PlaceError(std::string place, std::error_code reason, std::string detail)
    : Error(place + ": " + reasonOf(reason, detail)), place_(std::move(place)), code_(reason),
      detail_(std::move(detail)) {}

std::string PlaceError::reason() const {
    return reasonOf(code_, detail_);
}
