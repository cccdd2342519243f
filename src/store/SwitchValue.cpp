#include "store/SwitchValue.h"

#include "platform/AsciiCase.h"

namespace SwitchValue {

bool isOn(std::string_view value) {
    return value == "1" || AsciiCase::equalIgnoringCase(value, "TRUE");
}

} // namespace SwitchValue
