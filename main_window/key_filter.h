// The order field (Text3) takes digits, the space and backspace; any other key
// comes back as 0, which drops it.
#pragma once

namespace quenlo {

constexpr int FilterOrderKey(int code) {
    const bool passes = code == 8 || code == ' ' || (code >= '0' && code <= '9');
    return passes ? code : 0;
}

}  // namespace quenlo
