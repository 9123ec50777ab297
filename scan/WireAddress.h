// Addresses as they go on the wire and as the per-host limits count them.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// The address as it goes to libcurl. Spaces, control bytes and bytes outside
// ASCII are not valid in an address on the wire: in the path, the query and
// the user name they go as %XX, as a browser sends them. A host name outside
// ASCII (bücher.example) goes to libcurl as UTF-8, which turns it into its
// IDNA form (xn--bcher-kva.example): stored text is Windows-1252 unless its
// bytes are UTF-8 throughout (a profile written by a UTF-8 editor).
std::string encodeForWire(const std::string& address);

// The host an address names, lowered, without user name and port: the unit
// the per-host limits count in. Empty when there is none.
std::string hostOf(const std::string& address);

// Whether the address is one we open: http, https or ftp, in any case.
bool isFetchable(std::string_view address);

}  // namespace tarnwick
